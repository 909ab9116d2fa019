#include "SendSequence.h"

#include "Frames.h"

namespace kym {

SendSequence::SendSequence(std::string_view deviceType,
                           std::optional<std::vector<std::uint8_t>> frame)
    : rule_(replyRuleFor(deviceType)), takesFollowUp_(takesFollowUp(deviceType)),
      frame_(std::move(frame)) {}

SendSequence::Step SendSequence::start(TimePoint now) {
    if (phase_ != Phase::Ready)
        return settle({});
    return write(frame_.value_or(std::vector<std::uint8_t>{}), now);
}

SendSequence::Step SendSequence::write(std::vector<std::uint8_t> frame, TimePoint now) {
    WaitForAcknowledge(now);
    frameInFlight_ = !frame.empty();
    Step step;
    step.discardReceived = true;
    step.frame = std::move(frame);
    return settle(std::move(step));
}

void SendSequence::WaitForAcknowledge(TimePoint now) {
    phase_ = Phase::WaitForAcknowledge;
    due_ = now + kAcknowledgeTimeout;
    reply_.clear();
}

SendSequence::Step SendSequence::frameLeft(TimePoint now) {
    if (phase_ == Phase::WaitForAcknowledge && frameInFlight_) {
        frameInFlight_ = false;
        due_ = now + kAcknowledgeTimeout;
    }
    return settle({});
}

SendSequence::Step SendSequence::received(std::span<const std::uint8_t> bytes, TimePoint now) {
    if (phase_ != Phase::WaitForAcknowledge)
        return settle({});
    reply_.insert(reply_.end(), bytes.begin(), bytes.end());
    if (!acknowledges(rule_, reply_))
        return settle({});

    reply_.clear();
    Step step;
    step.verdict = Verdict::Acknowledged;
    // An ESC reply may trail further bytes; they must not meet the next frame.
    step.discardReceived = rule_ == ReplyRule::EscFirst;
    if (takesFollowUp_ && !followUpSent_) {
        phase_ = Phase::Pausing;
        due_ = now + kFollowUpPause;
    } else {
        phase_ = Phase::Done;
    }
    return settle(std::move(step));
}

SendSequence::Step SendSequence::wake(TimePoint now) {
    if (phase_ == Phase::Done || phase_ == Phase::Ready || now < due_)
        return settle({});
    if (phase_ == Phase::Pausing) {
        followUpSent_ = true;
        return write(followUpFrame(), now);
    }
    phase_ = Phase::Done;
    Step step;
    step.verdict = Verdict::TimedOut;
    return settle(std::move(step));
}

SendSequence::Step SendSequence::settle(Step step) const {
    if (phase_ == Phase::WaitForAcknowledge || phase_ == Phase::Pausing)
        step.wakeAt = due_;
    step.finished = phase_ == Phase::Done;
    return step;
}

} // namespace kym
