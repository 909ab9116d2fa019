#include "transfer/SerialLink.h"

#include "transfer/QtSerialPort.h"

#include <QSignalSpy>
#include <gtest/gtest.h>
#include <pty.h>
#include <termios.h>
#include <unistd.h>

namespace kym {
namespace {

using Bytes = std::vector<std::uint8_t>;
using Verdict = SendSequence::Verdict;

// The link on a pseudo-terminal's slave side, the test the unit on the master side (kymtool's
// tests send end to end to a simulated unit).
class Link : public testing::Test {
protected:
    Link() {
        EXPECT_EQ(::openpty(&master, &slave, nullptr, nullptr, nullptr), 0);
        termios raw{};
        ::tcgetattr(slave, &raw);
        ::cfmakeraw(&raw);
        ::tcsetattr(slave, TCSANOW, &raw);
        EXPECT_TRUE(link.open({0, ::ttyname(slave)})) << link.errorString();
        QObject::connect(&link, &SerialLink::waitEnded,
                         [this](Verdict verdict) { verdicts.push_back(verdict); });
    }
    ~Link() override { unplug(); }

    void unitWrites(const Bytes& bytes) {
        ASSERT_EQ(::write(master, bytes.data(), bytes.size()), std::ssize(bytes));
    }
    void unplug() {
        for (int* fd : {&slave, &master})
            if (*fd >= 0)
                ::close(std::exchange(*fd, -1));
    }
    void send() { link.send(SendSequence("KYM3815", Bytes{0x1B, 0x47, 0x4A, 0x00, 0x01})); }

    int master = -1, slave = -1;
    SerialLink link{std::make_unique<QtSerialPort>()};
    std::vector<Verdict> verdicts;
};

// The unit listens at 19200 baud, no parity, 8 data bits, 1 stop bit, without flow control.
TEST_F(Link, ThePortIsSetAsTheUnitUsesIt) {
    termios line{};
    ASSERT_EQ(::tcgetattr(slave, &line), 0);
    EXPECT_EQ(::cfgetospeed(&line), speed_t(B19200));
    EXPECT_EQ(line.c_cflag & (CSIZE | PARENB | CSTOPB | CRTSCTS), tcflag_t(CS8));
    EXPECT_EQ(line.c_iflag & (IXON | IXOFF), tcflag_t(0));
}

// Late bytes of an earlier attempt wait in the port; they must not spoil the acknowledgement.
TEST_F(Link, BytesWaitingBeforeASendAreDiscarded) {
    unitWrites({0x1B, 0x47, 0x4A, kAck});
    QSignalSpy ended(&link, &SerialLink::sendEnded);
    send();
    unitWrites({0x1B, 0x47, 0x4A, kAck, 0x39, 0xAB});
    ASSERT_TRUE(ended.wait(5000));
    EXPECT_EQ(verdicts, std::vector{Verdict::Acknowledged});
}

TEST_F(Link, AVanishedPortEndsTheSendAndIsClosed) {
    QSignalSpy lost(&link, &SerialLink::portLost);
    send();
    unplug();
    ASSERT_TRUE(lost.wait(5000));
    EXPECT_FALSE(link.isOpen());
    EXPECT_FALSE(link.sending());
    EXPECT_TRUE(verdicts.empty());
    EXPECT_FALSE(lost.front().front().toString().isEmpty());
}

// The kind of failure reaches the user's hint; a port another link holds is busy, not forbidden.
TEST_F(Link, AFailedOpenSaysWhatKindOfFailureItIs) {
    SerialLink other(std::make_unique<QtSerialPort>());
    EXPECT_FALSE(other.open({0, "/dev/no-such-port"}));
    EXPECT_EQ(other.openFailure(), OpenFailure::NotFound) << other.errorString();
    EXPECT_FALSE(other.open({}));
    EXPECT_EQ(other.openFailure(), OpenFailure::NotFound) << other.errorString();
    EXPECT_FALSE(other.open({0, ::ttyname(slave)}));
    EXPECT_EQ(other.openFailure(), OpenFailure::Busy) << other.errorString();
}

} // namespace
} // namespace kym
