#include "LinkRules.h"

#include "Frames.h"
#include "config/DeviceTypes.h"

namespace kym {

ReplyRule replyRuleFor(std::string_view deviceType) {
    return traitsOf(deviceType).acknowledgesWithEsc ? ReplyRule::EscFirst
                                                    : ReplyRule::SixBytesAckFourth;
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
    return traitsOf(deviceType).takesFollowUp;
}

} // namespace kym
