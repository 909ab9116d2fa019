#pragma once

#include <optional>
#include <string_view>

namespace kym {

// The value of the number a text starts with, after leading blanks (optional sign, digits,
// optional decimal part); 0 when the text does not start with a number. Used wherever a
// text is compared or mirrored as a number, never where a value must be exact.
double leadingNumber(std::string_view text);

// A text that is a number and nothing else: optional blanks, optional sign, digits with an
// optional decimal part (or a decimal part alone), optional blanks. Empty when it is not.
std::optional<double> strictNumber(std::string_view text);

// Round to the nearest whole number, halves to the even neighbour.
double roundHalfEven(double value);

} // namespace kym
