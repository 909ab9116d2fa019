#pragma once

#include "ImageCompiler.h"

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

// The frame Send File writes for the device type and, for an extender system, the selected unit:
// ESC, the command bytes, the data cut from the image and the checksum, low byte first. Empty for
// an unknown device type and for an extender system without a unit 1 to 3.
std::optional<std::vector<std::uint8_t>> BuildFrame(const DeviceImage& image,
                                                    std::string_view deviceType, int selectedUnit);

// The command the two-output receiver gets after it acknowledged its frame.
std::vector<std::uint8_t> FollowUpFrame();

} // namespace kym
