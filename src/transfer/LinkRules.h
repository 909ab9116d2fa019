#pragma once

#include <chrono>
#include <cstdint>
#include <span>
#include <string_view>

namespace kym {

inline constexpr std::uint8_t kAck = 0x06;
inline constexpr std::uint8_t kNak = 0x15;

// The line settings every port is opened with: 19200 baud, no parity, 8 data bits, 1 stop bit.
inline constexpr std::string_view kLineSettings = "19200,N,8,1";

// How long a unit has to acknowledge a frame, and the pause before the two-output receiver's
// follow-up command.
inline constexpr std::chrono::milliseconds kAcknowledgeTimeout{2000};
inline constexpr std::chrono::milliseconds kFollowUpPause{1000};

// How a unit acknowledges: the two-output receiver and the two-control unit answer with ESC,
// every other type with six bytes whose fourth is ACK.
enum class ReplyRule { EscFirst, SixBytesAckFourth };

ReplyRule replyRuleFor(std::string_view deviceType);

// Whether the bytes received so far acknowledge the frame. Six-byte replies count only at
// exactly six bytes, so one that grew past six never passes.
bool acknowledges(ReplyRule rule, std::span<const std::uint8_t> reply);

// Only the two-output receiver gets the follow-up command after an acknowledged frame.
bool takesFollowUp(std::string_view deviceType);

} // namespace kym
