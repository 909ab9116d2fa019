#include "Numbers.h"

#include <algorithm>
#include <cmath>
#include <cstddef>
#include <cstdlib>
#include <string>

namespace kym {
namespace {

bool isDigit(char c) {
    return c >= '0' && c <= '9';
}
bool isBlank(char c) {
    return c == ' ';
}

// Length of the number at the start of text (sign, digits, decimal part), 0 if there is none.
std::size_t numberLength(std::string_view text) {
    std::size_t i = 0;
    if (i < text.size() && (text[i] == '+' || text[i] == '-'))
        ++i;
    std::size_t digits = 0;
    while (i < text.size() && isDigit(text[i])) {
        ++i;
        ++digits;
    }
    if (i < text.size() && text[i] == '.') {
        std::size_t j = i + 1;
        std::size_t fraction = 0;
        while (j < text.size() && isDigit(text[j])) {
            ++j;
            ++fraction;
        }
        if (fraction > 0 || digits > 0) {
            i = j;
            digits += fraction;
        }
    }
    return digits > 0 ? i : 0;
}

std::string_view skipBlanks(std::string_view text) {
    while (!text.empty() && isBlank(text.front()))
        text.remove_prefix(1);
    return text;
}

double toDouble(std::string_view number) {
    // strtod with a copy: the view is not NUL-terminated, and the C locale keeps '.' the point.
    return std::strtod(std::string(number).c_str(), nullptr);
}

} // namespace

double leadingNumber(std::string_view text) {
    text = skipBlanks(text);
    const std::size_t length = numberLength(text);
    return length == 0 ? 0.0 : toDouble(text.substr(0, length));
}

std::optional<std::int64_t> strictWholeNumber(std::string_view text) {
    text = skipBlanks(text);
    const std::size_t length = numberLength(text);
    if (length == 0 || !skipBlanks(text.substr(length)).empty())
        return std::nullopt;
    std::string_view number = text.substr(0, length);
    const bool negative = number.front() == '-';
    if (number.front() == '-' || number.front() == '+')
        number.remove_prefix(1);
    const std::size_t point = number.find('.');
    const std::string_view whole = number.substr(0, point);
    const std::string_view fraction =
        point == std::string_view::npos ? std::string_view{} : number.substr(point + 1);

    constexpr std::int64_t kSaturated = 100'000'000'000'000'000;
    std::int64_t magnitude = 0;
    for (const char c : whole)
        magnitude = std::min(magnitude * 10 + (c - '0'), kSaturated);

    const int firstDecimal = fraction.empty() ? 0 : fraction.front() - '0';
    const bool aboveHalf =
        fraction.size() > 1 && fraction.find_first_not_of('0', 1) != std::string_view::npos;
    const bool roundUp =
        firstDecimal > 5 || (firstDecimal == 5 && (aboveHalf || magnitude % 2 == 1));
    if (roundUp && magnitude < kSaturated)
        ++magnitude;
    return negative ? -magnitude : magnitude;
}

double roundHalfEven(double value) {
    return std::nearbyint(value);
}

} // namespace kym
