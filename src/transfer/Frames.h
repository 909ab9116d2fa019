#pragma once

#include "ImageCompiler.h"
#include "config/DeviceTypes.h"

#include <array>
#include <cstdint>
#include <optional>
#include <string_view>
#include <vector>

namespace kym {

// Every frame the tool sends starts with ESC.
inline constexpr std::uint8_t kEsc = 0x1B;

// Units of an extender system, as the transfer window's unit choice sets them.
inline constexpr int kMainUnit = 1;
inline constexpr int kExtendedUnit1 = 2;
inline constexpr int kExtendedUnit2 = 3;

// Bytes 0..bytesPerRecord-1 of records first..last-1.
struct RecordSpan {
    std::size_t first;
    std::size_t last;
    std::size_t bytesPerRecord;
};

// A row of the frame table: a frame shape of the device types' traits and, for an extender system,
// a unit (0 for the other shapes, whose one frame goes whatever the unit). After the command bytes
// come the image header and the record spans; a frame without spans carries the two-control block
// instead.
struct FrameLayout {
    FrameShape shape;
    int unit;
    std::array<std::uint8_t, 3> command;
    std::vector<RecordSpan> records;
};

const std::vector<FrameLayout>& frameTable();

// The frame Send File writes for the device type and, for an extender system, the selected unit:
// the command bytes, the data cut from the image and the checksum, low byte first. Empty when no
// row of the frame table matches: an unknown device type, or an extender system without a unit 1
// to 3.
std::optional<std::vector<std::uint8_t>> buildFrame(const DeviceImage& image,
                                                    std::string_view deviceType, int selectedUnit);

// The command the two-output receiver gets after it acknowledged its frame.
std::vector<std::uint8_t> followUpFrame();

} // namespace kym
