#pragma once

#include "LinkRules.h"

#include <chrono>
#include <cstdint>
#include <optional>
#include <span>
#include <string_view>
#include <vector>

namespace kym {

// One press of Send File as a state machine: write the frame, wait for the acknowledgement and,
// for the two-output receiver, pause and send the follow-up command with a second wait. Events
// and times come in, what to do comes out; the caller owns the port, the timer and the clock.
// Nothing is ever resent.
class SendSequence {
public:
    using Clock = std::chrono::steady_clock;
    using TimePoint = Clock::time_point;

    enum class Verdict { Acknowledged, TimedOut };

    // What to do after an event, in this order.
    struct Step {
        bool discardReceived = false;
        std::vector<std::uint8_t> frame; // to write byte by byte; empty for none
        std::optional<Verdict> verdict;  // an acknowledgement wait ended
        std::optional<TimePoint> wakeAt; // when wake() is due; none once the sequence is over
        bool finished = false;
    };

    // frame is empty when the device type (or the unit of an extender system) has none: nothing
    // is written, and the wait runs all the same.
    SendSequence(std::string_view deviceType, std::optional<std::vector<std::uint8_t>> frame);

    // Bytes waiting from an earlier attempt are discarded before the frame goes out.
    Step start(TimePoint now);
    // The port has handed the last byte of the frame to the line: the wait counts from here.
    Step frameLeft(TimePoint now);
    Step received(std::span<const std::uint8_t> bytes, TimePoint now);
    Step wake(TimePoint now);

private:
    enum class Phase { Ready, WaitForAcknowledge, Pausing, Done };

    Step write(std::vector<std::uint8_t> frame, TimePoint now);
    // Starts the wait for the unit's reply to the frame just written.
    void WaitForAcknowledge(TimePoint now);
    Step settle(Step step) const;

    ReplyRule rule_;
    bool takesFollowUp_;
    std::optional<std::vector<std::uint8_t>> frame_;
    Phase phase_ = Phase::Ready;
    TimePoint due_{};
    bool frameInFlight_ = false;
    bool followUpSent_ = false;
    std::vector<std::uint8_t> reply_;
};

} // namespace kym
