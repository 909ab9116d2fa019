#pragma once

#include <cstdint>
#include <optional>
#include <string_view>

namespace kym {

// The value of the number a text starts with, after leading blanks (optional sign, digits,
// optional decimal part); 0 when the text does not start with a number. Used wherever a
// text is compared or mirrored as a number, never where a value must be exact.
double leadingNumber(std::string_view text);

// A text that is a number and nothing else (optional blanks, optional sign, digits with an
// optional decimal part or a decimal part alone, optional blanks), rounded to a whole number,
// halves to the even neighbour. Empty when the text is not such a number. The rounding works
// on the decimal digits, so a value is rounded as written, never as its nearest double; a
// magnitude of 10^17 or more comes out as +-10^17, beyond every range a caller accepts.
std::optional<std::int64_t> strictWholeNumber(std::string_view text);

// Round to the nearest whole number, halves to the even neighbour.
double roundHalfEven(double value);

} // namespace kym
