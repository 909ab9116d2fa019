#include "CodePage.h"

#include <algorithm>
#include <array>
#include <cstdint>
#include <optional>

namespace kym {
namespace {

// Bytes 0x80 to 0x9F; every other byte is the character of the same number.
constexpr std::array<char32_t, 32> kHighControls = {
    0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160,
    0x2039, 0x0152, 0x008D, 0x017D, 0x008F, 0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022,
    0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178};

char32_t characterOf(unsigned char byte) {
    return byte >= 0x80 && byte <= 0x9F ? kHighControls[byte - 0x80] : char32_t(byte);
}

std::optional<unsigned char> byteOf(char32_t c) {
    if (c < 0x80 || (c >= 0xA0 && c <= 0xFF))
        return static_cast<unsigned char>(c);
    const auto found = std::ranges::find(kHighControls, c);
    if (found == kHighControls.end())
        return std::nullopt;
    return static_cast<unsigned char>(0x80 + (found - kHighControls.begin()));
}

void appendUtf8(std::string& out, char32_t c) {
    if (c < 0x80) {
        out += static_cast<char>(c);
    } else if (c < 0x800) {
        out += static_cast<char>(0xC0 | (c >> 6));
        out += static_cast<char>(0x80 | (c & 0x3F));
    } else {
        out += static_cast<char>(0xE0 | (c >> 12));
        out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (c & 0x3F));
    }
}

// The code point that starts at text[i] and how many bytes it takes; none for a byte that does
// not start a well-formed sequence (overlong forms and surrogates included).
std::optional<std::pair<char32_t, std::size_t>> decodeAt(std::string_view text, std::size_t i) {
    const auto byte = [&](std::size_t k) { return static_cast<unsigned char>(text[i + k]); };
    const unsigned char lead = byte(0);
    if (lead < 0x80)
        return std::pair{char32_t(lead), std::size_t{1}};
    const std::size_t length = lead >= 0xF0 ? 4 : lead >= 0xE0 ? 3 : lead >= 0xC0 ? 2 : 0;
    if (length == 0 || lead > 0xF4 || i + length > text.size())
        return std::nullopt;
    char32_t c = lead & (0x7F >> length);
    for (std::size_t k = 1; k < length; ++k) {
        if ((byte(k) & 0xC0) != 0x80)
            return std::nullopt;
        c = (c << 6) | (byte(k) & 0x3F);
    }
    constexpr char32_t kSmallest[] = {0, 0, 0x80, 0x800, 0x10000};
    if (c < kSmallest[length] || c > 0x10FFFF || (c >= 0xD800 && c <= 0xDFFF))
        return std::nullopt;
    return std::pair{c, length};
}

} // namespace

std::string utf8FromCp1252(std::string_view bytes) {
    std::string text;
    text.reserve(bytes.size());
    for (const char b : bytes)
        appendUtf8(text, characterOf(static_cast<unsigned char>(b)));
    return text;
}

std::string cp1252FromUtf8(std::string_view text) {
    std::string bytes;
    bytes.reserve(text.size());
    for (std::size_t i = 0; i < text.size();) {
        const auto decoded = decodeAt(text, i);
        const auto byte = decoded ? byteOf(decoded->first) : std::nullopt;
        bytes += byte ? static_cast<char>(*byte) : '?';
        i += decoded ? decoded->second : 1;
    }
    return bytes;
}

} // namespace kym
