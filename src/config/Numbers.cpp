#include "Numbers.h"

#include <cmath>
#include <cstddef>
#include <cstdlib>
#include <string>

namespace kym {
namespace {

bool isDigit(char c) { return c >= '0' && c <= '9'; }
bool isBlank(char c) { return c == ' ' || c == '\t'; }

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

std::optional<double> strictNumber(std::string_view text) {
    text = skipBlanks(text);
    const std::size_t length = numberLength(text);
    if (length == 0 || !skipBlanks(text.substr(length)).empty())
        return std::nullopt;
    return toDouble(text.substr(0, length));
}

double roundHalfEven(double value) { return std::nearbyint(value); }

} // namespace kym
