#pragma once

#include "config/ProgramState.h"
#include "config/Result.h"

#include <string>
#include <vector>

namespace kym {

// The lists of the Options dialog: time-outs "1" to "60", capture times "0" to "240", network
// IDs "1" to "63", and the byte lists of the codes, "" then "00" to "FF".
inline constexpr int kTimeoutEntries = 60;
inline constexpr int kCaptureEntries = 241;
inline constexpr int kNetworkIdEntries = 63;
inline constexpr int kCodeByteEntries = 257;
std::vector<std::string> timeoutEntries();
std::vector<std::string> captureEntries();
std::vector<std::string> networkIdEntries();
std::vector<std::string> codeByteEntries();

// A drop-down box that takes typed text: its text, and the position of the entry it shows or -1
// when none is selected.
struct ListChoice {
    int position = -1;
    std::string text;
};

// The entries selected in the two byte lists of a code.
struct CodeSelection {
    int msb = 0;
    int lsb = 0;
};

// What the Options dialog's controls hold.
struct OptionValues {
    ListChoice timeout;
    ListChoice capture;
    bool captureInMinutes = false;
    bool lastState = true;
    bool monitor = false;
    CodeSelection vendor;
    CodeSelection property;
    ListChoice networkID;
};

// The dialog's controls as the document's settings open them: a stored time-out or capture time
// selects the entry of the same text, or none when no entry has it; a code selects the bytes its
// last four hexadecimal digits spell; the network ID is shown as text with no entry selected.
OptionValues loadOptions(const HeaderSettings& header);

// Stores the values as OK does, numeric mirrors included. A capture time or time-out the unit
// cannot take stores nothing and says why: a capture time is a number from 0 to 255, a time-out
// a whole number of minutes from 1 to 255.
Result<void> storeOptions(const OptionValues& values, HeaderSettings& header);

} // namespace kym
