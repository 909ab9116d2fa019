#include "LinkRules.h"

#include "Frames.h"
#include "config/DeviceTypes.h"

namespace kym {

ReplyRule replyRuleFor(std::string_view deviceType) {
    return isTwoOutput(deviceType) ? ReplyRule::EscFirst : ReplyRule::SixBytesAckFourth;
}

bool acknowledges(ReplyRule rule, std::span<const std::uint8_t> reply) {
    switch (rule) {
    case ReplyRule::EscFirst:
        return !reply.empty() && reply.front() == kEsc;
    case ReplyRule::SixBytesAckFourth:
        return reply.size() == 6 && reply[3] == kAck;
    }
    return false;
}

bool takesFollowUp(std::string_view deviceType) {
    return deviceType == kQr4805;
}

} // namespace kym
