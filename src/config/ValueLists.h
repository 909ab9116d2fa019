#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace kym {

// The entries the editing boxes offer. Every list starts with the empty entry, which clears
// the cell when picked.

// "" then the hexadecimal texts of 0 to 65520 (upper case, no leading zeros).
inline constexpr int kTransmitterIdEntries = 65522;
std::string transmitterIdEntry(int index);
// The position of a text in the transmitter list, -1 when it is not an entry.
int transmitterIdIndex(std::string_view text);

const std::vector<std::string>& channelEntries();
const std::vector<std::string>& digitalFormatEntries();
const std::vector<std::string>& analogFormatEntries();

enum class RangeEnd { Start, End };

// The range list of a row follows its DATA FORMAT; a row without one gets only the empty entry
// and a message saying why.
struct RangeList {
    std::vector<std::string> entries;
    std::string message; // empty when the format has a range
};
RangeList rangeEntries(std::string_view dataFormat, int row, RangeEnd end);

// Whether a range pick keeps start <= end; the message says why a pick is refused.
struct RangeVerdict {
    bool accepted;
    std::string message;
};
RangeVerdict checkRangePick(RangeEnd end, std::string_view newText, std::string_view otherText);

inline constexpr std::string_view kDigitalRowsMessage = "Digital rows do not use this parameter.";
inline constexpr std::string_view kSelectDataFormatMessage =
    "Select Appropriate 'DATA FORMAT' Type!";
inline constexpr std::string_view kStartAfterEndMessage = "'Start' entry must be <= 'End' entry";
inline constexpr std::string_view kEndBeforeStartMessage = "'End' entry must be >= 'Start' entry";

} // namespace kym
