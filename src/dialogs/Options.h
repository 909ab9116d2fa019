#pragma once

#include "config/ProgramState.h"
#include "config/Result.h"

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

// What the Options dialog's controls hold: the texts of the typed lists, the option buttons, and
// the entries selected in the byte lists of the codes.
struct OptionValues {
    std::string timeout;
    std::string capture;
    bool captureInMinutes = false;
    bool lastState = true;
    bool monitor = false;
    CodeSelection vendor{};
    CodeSelection property{};
    std::string networkID;
};

// The dialog's controls as the document's settings open them.
OptionValues loadOptions(const HeaderSettings& header);

// Stores the values as OK does, numeric mirrors included. A capture time or time-out the unit
// cannot take stores nothing and says why.
Result<void> storeOptions(const OptionValues& values, HeaderSettings& header);

} // namespace kym
