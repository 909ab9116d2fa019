#include "SimulatedUnit.h"

#include "Frames.h"
#include "config/Conversions.h"

#include <algorithm>
#include <utility>

namespace kym {
namespace {

const FrameKind* kindOf(std::span<const std::uint8_t> frame) {
    for (const FrameKind& kind : frameKinds())
        if (frame.size() >= kind.command.size() &&
            std::ranges::equal(frame.first(kind.command.size()), kind.command))
            return &kind;
    return nullptr;
}

// Whether more bytes could still make the start of the buffer a known frame's command.
bool mayStartFrame(std::span<const std::uint8_t> start) {
    return std::ranges::any_of(frameKinds(), [&](const FrameKind& kind) {
        return start.size() < kind.command.size() &&
               std::ranges::equal(start, std::span(kind.command).first(start.size()));
    });
}

} // namespace

const std::vector<FrameKind>& frameKinds() {
    static const std::vector<FrameKind> kinds{
        {{kEsc, 'G', 'J'}, 79, ReplyRule::SixBytesAckFourth},
        {{kEsc, 'G', 'j'}, 111, ReplyRule::SixBytesAckFourth},
        {{kEsc, '\\', 'J'}, 79, ReplyRule::EscFirst},
        {{kEsc, 'G', 0x11}, 22, ReplyRule::EscFirst},
        {{kEsc, 'N'}, 6, ReplyRule::EscFirst},
    };
    return kinds;
}

std::vector<FrameAssembler::Piece> FrameAssembler::add(std::span<const std::uint8_t> bytes) {
    buffer_.insert(buffer_.end(), bytes.begin(), bytes.end());
    std::vector<Piece> pieces;
    const auto stray = [&pieces](std::uint8_t byte) {
        if (pieces.empty() || pieces.back().isFrame)
            pieces.push_back({false, {}});
        pieces.back().bytes.push_back(byte);
    };
    while (!buffer_.empty()) {
        const FrameKind* kind = kindOf(buffer_);
        if (!kind && mayStartFrame(buffer_))
            break;
        if (!kind) {
            stray(buffer_.front());
            buffer_.erase(buffer_.begin());
            continue;
        }
        if (buffer_.size() < kind->length)
            break;
        const auto end = buffer_.begin() + static_cast<std::ptrdiff_t>(kind->length);
        pieces.push_back({true, {buffer_.begin(), end}});
        buffer_.erase(buffer_.begin(), end);
    }
    return pieces;
}

std::vector<std::uint8_t> FrameAssembler::abandon() {
    return std::exchange(buffer_, {});
}

bool checksumRight(std::span<const std::uint8_t> frame) {
    if (frame.size() < 2)
        return false;
    const std::uint16_t crc = FrameCrc(frame.first(frame.size() - 2));
    return frame[frame.size() - 2] == (crc & 0xFF) && frame.back() == (crc >> 8);
}

std::vector<std::vector<std::uint8_t>> unitReply(std::span<const std::uint8_t> frame,
                                                 ReplyMode mode) {
    const FrameKind* kind = kindOf(frame);
    if (!kind || frame.size() != kind->length || !checksumRight(frame) || mode == ReplyMode::Silent)
        return {};
    if (kind->rule == ReplyRule::EscFirst)
        return {{mode == ReplyMode::Wrong ? kNak : kEsc}};

    std::vector<std::uint8_t> reply{kEsc, frame[1], frame[2],
                                    mode == ReplyMode::Wrong ? kNak : kAck};
    appendCrc(reply);
    if (mode != ReplyMode::Pieces)
        return {reply};
    return {{reply[0], reply[1]}, {reply[2], reply[3]}, {reply[4], reply[5]}};
}

} // namespace kym
