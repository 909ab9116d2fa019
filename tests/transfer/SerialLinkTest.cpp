#include "transfer/SerialLink.h"

#include "PtyUnit.h"
#include "support/ConfigLines.h"
#include "transfer/Frames.h"
#include "transfer/QtSerialPort.h"

#include <QSignalSpy>
#include <gtest/gtest.h>

namespace kym {
namespace {

using test::PtyUnit;
using Bytes = std::vector<std::uint8_t>;
using Verdict = SendSequence::Verdict;

// Every record differs, so a frame that carries a wrong byte shows it.
DeviceImage imageFor(const std::string& deviceType) {
    std::vector<std::string> rows;
    for (int r = 1; r <= 24; ++r)
        rows.push_back(std::to_string(100 + r) + "," + std::to_string(1 + r % 4) + ",COUNT," +
                       std::to_string(-r) + "," + std::to_string(1000 + r) + ",;");
    const Compilation compiled = CompileConfiguration(test::ConfigLines(deviceType, rows).lines());
    EXPECT_TRUE(compiled.fileReady);
    return compiled.image;
}

class Link : public testing::Test {
protected:
    explicit Link(ReplyMode mode = ReplyMode::Acknowledge)
        : unit(mode), link(std::make_unique<QtSerialPort>()) {
        QObject::connect(&link, &SerialLink::waitEnded,
                         [this](Verdict verdict) { verdicts.push_back(verdict); });
    }

    void open() { ASSERT_TRUE(link.open({0, unit.path()})) << link.errorString(); }

    // Sends the frame of the device type and unit and waits for the send to end.
    Bytes send(const std::string& deviceType, int selectedUnit = kMainUnit) {
        const auto frame = BuildFrame(imageFor(deviceType), deviceType, selectedUnit);
        QSignalSpy ended(&link, &SerialLink::sendEnded);
        link.send(SendSequence(deviceType, frame));
        EXPECT_TRUE(ended.wait(5000));
        return frame.value_or(Bytes{});
    }

    PtyUnit unit;
    SerialLink link;
    std::vector<Verdict> verdicts;
};

TEST_F(Link, EachDeviceTypesFrameArrivesByteForByteAndIsAcknowledged) {
    struct Case {
        std::string deviceType;
        int unit;
        std::size_t length;
    };
    const Case cases[] = {
        {"KYM3815", kMainUnit, 79},     {"QD4815", kMainUnit, 79},      {"QX4815", kMainUnit, 111},
        {"QX4815", kExtendedUnit1, 79}, {"QX4815", kExtendedUnit2, 79}, {"QD4805", kMainUnit, 22},
    };
    open();
    for (const auto& c : cases) {
        unit.received.clear();
        verdicts.clear();
        const Bytes frame = send(c.deviceType, c.unit);
        EXPECT_EQ(frame.size(), c.length) << c.deviceType << " " << c.unit;
        EXPECT_EQ(unit.received, frame) << c.deviceType << " " << c.unit;
        EXPECT_EQ(verdicts, std::vector{Verdict::Acknowledged}) << c.deviceType << " " << c.unit;
    }
}

TEST_F(Link, TwoOutputReceiverGetsTheFollowUpOneSecondAfterItsAcknowledgement) {
    open();
    Bytes expected = send("QR4805");
    const Bytes followUp = FollowUpFrame();
    expected.insert(expected.end(), followUp.begin(), followUp.end());
    EXPECT_EQ(unit.received, expected);
    EXPECT_EQ(verdicts, (std::vector{Verdict::Acknowledged, Verdict::Acknowledged}));
    ASSERT_EQ(unit.frameTimes.size(), 2u);
    ASSERT_EQ(unit.replyTimes.size(), 2u);
    EXPECT_GE(unit.frameTimes[1] - unit.replyTimes[0], std::chrono::milliseconds(1000));
}

// Late bytes of an earlier attempt wait in the port; they must not spoil the acknowledgement.
TEST_F(Link, BytesWaitingBeforeASendAreDiscarded) {
    open();
    unit.write({0x1B, 0x47, 0x4A, kAck});
    send("KYM3815");
    EXPECT_EQ(verdicts, std::vector{Verdict::Acknowledged});
}

TEST_F(Link, AVanishedPortEndsTheSendAndIsClosed) {
    open();
    unit.vanishOnFrame();
    QSignalSpy lost(&link, &SerialLink::portLost);
    link.send(SendSequence("KYM3815", BuildFrame(imageFor("KYM3815"), "KYM3815", kMainUnit)));
    ASSERT_TRUE(lost.wait(5000));
    EXPECT_FALSE(link.isOpen());
    EXPECT_FALSE(link.sending());
    EXPECT_TRUE(verdicts.empty());
    EXPECT_FALSE(lost.front().front().toString().isEmpty());
}

class SilentLink : public Link {
protected:
    SilentLink() : Link(ReplyMode::Silent) {}
};

// The one real time-out of this suite: the two-output receiver that never answers gets no
// follow-up.
TEST_F(SilentLink, NoAcknowledgementTimesOutWithoutFollowUp) {
    open();
    const Bytes frame = send("QR4805");
    EXPECT_EQ(verdicts, std::vector{Verdict::TimedOut});
    EXPECT_EQ(unit.received, frame);
    EXPECT_EQ(unit.frames.size(), 1u);
}

} // namespace
} // namespace kym
