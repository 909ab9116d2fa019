#include "Conversions.h"

namespace kym {

std::uint8_t HexDigitValue(char digit) {
    if (digit >= '0' && digit <= '9')
        return static_cast<std::uint8_t>(digit - '0');
    if (digit >= 'A' && digit <= 'F')
        return static_cast<std::uint8_t>(digit - 'A' + 10);
    return 0;
}

std::uint8_t DecimalDigitValue(char digit) {
    return digit >= '0' && digit <= '9' ? static_cast<std::uint8_t>(digit - '0') : 0;
}

namespace {

std::uint8_t hexPair(char high, char low) {
    return static_cast<std::uint8_t>(16 * HexDigitValue(high) + HexDigitValue(low));
}

} // namespace

std::uint8_t HexHighByte(std::string_view text) {
    const std::size_t length = text.size();
    if (length <= 2)
        return 0;
    if (length == 3)
        return HexDigitValue(text[0]);
    return hexPair(text[length - 4], text[length - 3]);
}

std::uint8_t HexLowByte(std::string_view text) {
    const std::size_t length = text.size();
    if (length == 0)
        return 1;
    if (length == 1)
        return HexDigitValue(text[0]);
    return hexPair(text[length - 2], text[length - 1]);
}

std::optional<std::uint8_t> DecimalByte(std::string_view text) {
    if (text.empty() || text.size() > 3)
        return 0;
    int value = 0;
    for (char digit : text)
        value = 10 * value + DecimalDigitValue(digit);
    if (value > 0xFF)
        return std::nullopt;
    return static_cast<std::uint8_t>(value);
}

std::uint16_t FrameCrc(std::span<const std::uint8_t> bytes) {
    std::uint16_t crc = 0xFFFF;
    for (std::uint8_t byte : bytes) {
        for (int bit = 0; bit < 8; ++bit, byte >>= 1) {
            const bool differs = ((crc ^ byte) & 1) != 0;
            crc >>= 1;
            if (differs)
                crc ^= 0x8408;
        }
    }
    return static_cast<std::uint16_t>(~crc);
}

void appendCrc(std::vector<std::uint8_t>& bytes) {
    const std::uint16_t crc = FrameCrc(bytes);
    bytes.push_back(static_cast<std::uint8_t>(crc & 0xFF));
    bytes.push_back(static_cast<std::uint8_t>(crc >> 8));
}

std::string hexText(std::span<const std::uint8_t> bytes) {
    static constexpr char kDigits[] = "0123456789ABCDEF";
    std::string text;
    text.reserve(bytes.size() * 3);
    for (std::uint8_t byte : bytes) {
        if (!text.empty())
            text += ' ';
        text += kDigits[byte >> 4];
        text += kDigits[byte & 0x0F];
    }
    return text;
}

} // namespace kym
