#include "transfer/NativeSerialPort.h"

#include "transfer/LinkRules.h"

#include <algorithm>
#include <cstdlib>
#include <gtest/gtest.h>

namespace kym {
namespace {

// scripts/test-windows maps a COM port to a pseudo-terminal whose other end echoes every byte,
// and names the port; nothing else is safe to open.
TEST(NativeSerialPort, BytesGoOutAndComeBackThroughAnEchoingLine) {
    const char* name = std::getenv("KYM_TEST_SERIAL_PORT");
    ASSERT_TRUE(name) << "scripts/test-windows maps the echoing port";
    EXPECT_TRUE(std::ranges::count(nativeSerialPortNames(), std::string(name)) == 1)
        << name << " is not listed";
    const auto line = parseLineSettings(kLineSettings);
    ASSERT_TRUE(line);

    auto port = makeNativeSerialPort();
    const auto failure = port->open(name, *line);
    ASSERT_FALSE(failure) << failure->text;
    // Nothing has been sent yet: the wait ends empty.
    const auto quiet = port->read(std::chrono::milliseconds(100));
    ASSERT_TRUE(quiet) << quiet.error().reason;
    EXPECT_TRUE(quiet->empty());

    // Control bytes a terminal would act on must pass untouched.
    const std::vector<std::uint8_t> sent{0x1B, 0x47, 0x4A, 0x00, 0x0D,
                                         0x0A, 0x11, 0x13, 0x03, 0xFF};
    for (const std::uint8_t byte : sent)
        ASSERT_TRUE(port->write(std::span(&byte, 1)));
    std::vector<std::uint8_t> received;
    for (int attempt = 0; attempt < 30 && received.size() < sent.size(); ++attempt) {
        const auto bytes = port->read(std::chrono::milliseconds(100));
        ASSERT_TRUE(bytes) << bytes.error().reason;
        received.insert(received.end(), bytes->begin(), bytes->end());
    }
    EXPECT_EQ(received, sent);

    port->close();
    EXPECT_FALSE(port->isOpen());
}

TEST(NativeSerialPort, AMissingPortIsNotFound) {
    const auto line = parseLineSettings(kLineSettings);
    const auto failure = makeNativeSerialPort()->open(R"(\\.\KYM-NO-SUCH-PORT)", *line);
    ASSERT_TRUE(failure);
    EXPECT_EQ(failure->kind, OpenFailure::NotFound) << failure->text;
    EXPECT_FALSE(failure->text.empty());
}

} // namespace
} // namespace kym
