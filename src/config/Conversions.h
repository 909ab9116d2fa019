#pragma once

#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace kym {

// The value of one digit character; anything else, lower-case hexadecimal included, is 0.
std::uint8_t HexDigitValue(char digit);
std::uint8_t DecimalDigitValue(char digit);

// The two bytes of the number that the last four hexadecimal digits of the text spell. An empty
// text gives high byte 0 and low byte 1.
std::uint8_t HexHighByte(std::string_view text);
std::uint8_t HexLowByte(std::string_view text);

// The value of a decimal text of one to three digits; 0 for an empty text or one of four or more
// characters. Empty when three digits spell more than a byte holds.
std::optional<std::uint8_t> DecimalByte(std::string_view text);

// CRC-16/X-25 of the bytes, sent low byte first after every frame.
std::uint16_t FrameCrc(std::span<const std::uint8_t> bytes);
// Ends a frame or a reply with the checksum of its bytes.
void appendCrc(std::vector<std::uint8_t>& bytes);

// Bytes as kymtool, the traffic view and the simulator show them: two upper-case hexadecimal
// digits each, blank separated.
std::string hexText(std::span<const std::uint8_t> bytes);

} // namespace kym
