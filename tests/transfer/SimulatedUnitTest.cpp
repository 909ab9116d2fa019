#include "transfer/SimulatedUnit.h"

#include "transfer/Conversions.h"
#include "transfer/Frames.h"

#include <gtest/gtest.h>

namespace kym {
namespace {

using Bytes = std::vector<std::uint8_t>;
using Pieces = std::vector<Bytes>;

// The command bytes, data bytes up to the frame's length, and the checksum.
Bytes frame(Bytes command, std::size_t length) {
    command.resize(length - 2, 0x5A);
    const std::uint16_t crc = FrameCrc(command);
    command.push_back(static_cast<std::uint8_t>(crc & 0xFF));
    command.push_back(static_cast<std::uint8_t>(crc >> 8));
    return command;
}

TEST(SimulatedUnit, CutsFramesFromTheStreamAndSetsStrayBytesApart) {
    const Bytes main = frame({0x1B, 0x47, 0x6A}, 111);
    const Bytes followUp = FollowUpFrame();
    Bytes stream{0x00, 0x7F};
    stream.insert(stream.end(), main.begin(), main.end());
    stream.insert(stream.end(), followUp.begin(), followUp.end());
    stream.insert(stream.end(), {0x1B, 0x47, 0x00, 0x1B, 0x47});

    FrameAssembler assembler;
    std::vector<FrameAssembler::Piece> pieces;
    for (std::size_t at = 0; at < stream.size(); at += 5) {
        const auto got = assembler.add(
            std::span(stream).subspan(at, std::min<std::size_t>(5, stream.size() - at)));
        pieces.insert(pieces.end(), got.begin(), got.end());
    }
    ASSERT_EQ(pieces.size(), 4u);
    EXPECT_EQ(pieces[0].bytes, (Bytes{0x00, 0x7F}));
    EXPECT_TRUE(pieces[1].isFrame);
    EXPECT_EQ(pieces[1].bytes, main);
    EXPECT_EQ(pieces[2].bytes, followUp);
    EXPECT_FALSE(pieces[3].isFrame);
    EXPECT_EQ(pieces[3].bytes, (Bytes{0x1B, 0x47, 0x00}));
    EXPECT_EQ(assembler.abandon(), (Bytes{0x1B, 0x47}));
}

TEST(SimulatedUnit, RepliesByModeAndFrameKind) {
    const Bytes sixByteFrame = frame({0x1B, 0x47, 0x4A}, 79);
    const Bytes escFrame = frame({0x1B, 0x47, 0x11}, 22);
    EXPECT_EQ(unitReply(sixByteFrame, ReplyMode::Acknowledge),
              (Pieces{{0x1B, 0x47, 0x4A, kAck, 0x39, 0xAB}}));
    EXPECT_EQ(unitReply(sixByteFrame, ReplyMode::Pieces),
              (Pieces{{0x1B, 0x47}, {0x4A, kAck}, {0x39, 0xAB}}));
    EXPECT_EQ(unitReply(sixByteFrame, ReplyMode::Wrong).at(0).at(3), kNak);
    EXPECT_EQ(unitReply(escFrame, ReplyMode::Acknowledge), Pieces{{kEsc}});
    EXPECT_EQ(unitReply(escFrame, ReplyMode::Wrong), Pieces{{kNak}});
    EXPECT_EQ(unitReply(FollowUpFrame(), ReplyMode::Pieces), Pieces{{kEsc}});
    EXPECT_TRUE(unitReply(escFrame, ReplyMode::Silent).empty());

    Bytes corrupt = sixByteFrame;
    corrupt[10] ^= 0x01;
    EXPECT_FALSE(checksumRight(corrupt));
    EXPECT_TRUE(unitReply(corrupt, ReplyMode::Acknowledge).empty());
}

} // namespace
} // namespace kym
