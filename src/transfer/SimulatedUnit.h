#pragma once

#include "LinkRules.h"

#include <array>
#include <cstdint>
#include <optional>
#include <span>
#include <string_view>
#include <vector>

namespace kym {

// How the simulated unit answers a frame whose checksum is right: as its type does, not at
// all, with a reply that must not pass, or with its reply split into pieces sent apart.
enum class ReplyMode { Acknowledge, Silent, Wrong, Pieces };

struct ReplyModeName {
    std::string_view name;
    ReplyMode mode;
};
inline constexpr std::array<ReplyModeName, 4> kReplyModes{{
    {"ack", ReplyMode::Acknowledge},
    {"silent", ReplyMode::Silent},
    {"wrong", ReplyMode::Wrong},
    {"pieces", ReplyMode::Pieces},
}};

// A frame the tool sends, known by its command bytes: its whole length, checksum included, and
// how the unit that takes it acknowledges.
struct FrameKind {
    std::vector<std::uint8_t> command;
    std::size_t length;
    ReplyRule rule;
};
const std::vector<FrameKind>& frameKinds();

// Cuts the byte stream a unit receives into frames. Bytes that start no known frame are stray.
class FrameAssembler {
public:
    struct Piece {
        bool isFrame;
        std::vector<std::uint8_t> bytes;
    };

    std::vector<Piece> add(std::span<const std::uint8_t> bytes);
    // A frame's bytes follow each other without a pause; an unfinished one is given up after one.
    std::vector<std::uint8_t> abandon();
    bool pending() const { return !buffer_.empty(); }

private:
    std::vector<std::uint8_t> buffer_;
};

// Whether the last two bytes are the checksum of the others, low byte first.
bool checksumRight(std::span<const std::uint8_t> frame);

// The reply to a whole frame, as the pieces to write one after another; none for a frame with a
// wrong checksum or in the silent mode. Six-byte replies carry ESC, the two command bytes, ACK
// (NAK when wrong) and a checksum.
std::vector<std::vector<std::uint8_t>> unitReply(std::span<const std::uint8_t> frame,
                                                 ReplyMode mode);

} // namespace kym
