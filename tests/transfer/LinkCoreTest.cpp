#include "transfer/Frames.h"
#include "transfer/PortNames.h"
#include "transfer/SendSequence.h"

#include <gtest/gtest.h>

namespace kym {
namespace {

// The typed or chosen text and what opens.
TEST(PortNames, EntriesTypedTextsAndWhatTheyOpen) {
    const std::pair<std::string, std::string> cases[] = {
        {"COM1", "/dev/ttyS0"}, {"COM8", "/dev/ttyS7"}, {"/dev/pts/4", "/dev/pts/4"},
        {"COM9", ""},           {"com1", ""},
    };
    for (const auto& [text, location] : cases)
        EXPECT_EQ(resolvePort(text, {}).location(), location) << text;
}

using Bytes = std::vector<std::uint8_t>;
using Verdict = SendSequence::Verdict;
using Verdicts = std::vector<Verdict>;
using namespace std::chrono_literals;

const Bytes kAckReply{0x1B, 0x47, 0x4A, kAck, 0x39, 0xAB};

// Drives a sequence with events at milliseconds after its start and records what it asks for.
class Script {
public:
    explicit Script(std::string deviceType, std::optional<Bytes> frame = Bytes{0x1B, 0x47, 0x4A})
        : sequence_(deviceType, std::move(frame)) {
        record(sequence_.start(at(0)));
    }

    Script& left(int ms) { return record(sequence_.frameLeft(at(ms))); }
    Script& bytes(int ms, Bytes bytes) { return record(sequence_.received(bytes, at(ms))); }
    Script& wake(int ms) { return record(sequence_.wake(at(ms))); }
    Script& wakeWhenDue() { return record(sequence_.wake(*last_.wakeAt)); }
    int dueInMs() const { return static_cast<int>((*last_.wakeAt - at(0)) / 1ms); }

    std::vector<Bytes> frames;
    Verdicts verdicts;
    bool finished = false;

private:
    static SendSequence::TimePoint at(int ms) {
        return SendSequence::TimePoint{} + 1h + std::chrono::milliseconds(ms);
    }
    Script& record(SendSequence::Step step) {
        if (!step.frame.empty())
            frames.push_back(step.frame);
        if (step.verdict)
            verdicts.push_back(*step.verdict);
        finished = step.finished;
        EXPECT_NE(step.finished, step.wakeAt.has_value());
        last_ = std::move(step);
        return *this;
    }

    SendSequence sequence_;
    SendSequence::Step last_;
};

TEST(SendSequence, RepliesByDeviceType) {
    const std::tuple<std::string, std::vector<Bytes>, bool> cases[] = {
        {"KYM3815", {kAckReply}, true},
        {"QX4815", {{0x1B}, {0x47, 0x4A}, {kAck}, {0x39, 0xAB}, {0x00}}, true},
        {"KYM3815", {{0x1B, 0x47, 0x4A, kAck}, {0x39, 0xAB, 0x00}}, false},
        {"KYM3815", {{0x1B, 0x47, 0x4A, kAck, 0x39, 0xAB, 0x00}}, false},
        {"KYM3815", {{0x1B, 0x47, 0x4A, kNak, 0x39, 0xAB}}, false},
        {"KYM3815", {{kEsc}}, false},
        {"QD4805", {{kEsc}}, true},
        {"QD4805", {{kEsc, kNak, 0x00}}, true},
        {"QD4805", {{kAck}, {kEsc}}, false},
        {"qd4805", {{kEsc}}, false},
        // The two-output receiver gets no follow-up without the first acknowledgement.
        {"QR4805", {{kAck}}, false},
        // An unknown type has no frame; six bytes that pass the test acknowledge all the same.
        {"XYZ", {kAckReply}, true},
    };
    for (const auto& [deviceType, pieces, acknowledged] : cases) {
        Script run(deviceType);
        run.left(5);
        for (const Bytes& piece : pieces)
            run.bytes(10, piece);
        if (!acknowledged)
            run.wakeWhenDue();
        EXPECT_EQ(run.verdicts, Verdicts{acknowledged ? Verdict::Acknowledged : Verdict::TimedOut})
            << deviceType << " " << pieces.size();
        EXPECT_TRUE(run.finished);
        EXPECT_EQ(run.frames.size(), 1u);
    }
}

TEST(SendSequence, TheTimeOutCountsFromTheLastFrameByteAndNothingIsResent) {
    Script run("KYM3815");
    EXPECT_EQ(run.dueInMs(), 2000);
    run.left(40).bytes(100, {0x1B, 0x47});
    EXPECT_EQ(run.dueInMs(), 2040);
    run.wake(2039);
    EXPECT_TRUE(run.verdicts.empty());
    run.wake(2040).bytes(2100, {0x4A, kAck, 0x39, 0xAB}).wake(5000);
    EXPECT_EQ(run.verdicts, Verdicts{Verdict::TimedOut});
    EXPECT_EQ(run.frames.size(), 1u);

    Script nothing("XYZ", std::nullopt);
    EXPECT_TRUE(nothing.frames.empty());
}

TEST(SendSequence, TwoOutputReceiverPausesOneSecondBeforeTheFollowUp) {
    Script run("QR4805");
    run.left(41).bytes(60, {kEsc});
    EXPECT_EQ(run.verdicts, Verdicts{Verdict::Acknowledged});
    EXPECT_EQ(run.dueInMs(), 1060);
    // What trails into the pause answers nothing.
    run.bytes(500, {kEsc}).wake(1059);
    EXPECT_EQ(run.frames.size(), 1u);
    run.wake(1060);
    ASSERT_EQ(run.frames.size(), 2u);
    EXPECT_EQ(run.frames[1], followUpFrame());
    run.left(1063);
    EXPECT_EQ(run.dueInMs(), 3063);
    run.bytes(1070, {kEsc});
    EXPECT_EQ(run.verdicts, (Verdicts{Verdict::Acknowledged, Verdict::Acknowledged}));
    EXPECT_TRUE(run.finished);

    Script unanswered("QR4805");
    unanswered.left(41).bytes(60, {kEsc}).wakeWhenDue().wakeWhenDue();
    EXPECT_EQ(unanswered.verdicts, (Verdicts{Verdict::Acknowledged, Verdict::TimedOut}));
}

} // namespace
} // namespace kym
