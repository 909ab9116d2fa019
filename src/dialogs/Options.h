#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace kym {

// The lists of the Options dialog: time-outs "1" to "60", capture times "0" to "240", network
// IDs "1" to "63", and the byte lists of the codes, "" then "00" to "FF".
inline constexpr int kTimeoutEntries = 60;
inline constexpr int kCaptureEntries = 241;
inline constexpr int kNetworkIdEntries = 63;
inline constexpr int kCodeByteEntries = 257;
std::string codeByteEntry(int index);

// The entries a stored code selects in its two byte lists: the bytes its last four hexadecimal
// digits spell, one past the empty entry.
struct CodeSelection {
    int msb;
    int lsb;
};
CodeSelection codeSelection(std::string_view code);

// Why a capture time or time-out cannot go to the unit; empty when it can. A capture time is a
// number from 0 to 255, a time-out a whole number of minutes from 1 to 255.
std::optional<std::string> captureProblem(std::string_view text);
std::optional<std::string> timeoutProblem(std::string_view text);

} // namespace kym
