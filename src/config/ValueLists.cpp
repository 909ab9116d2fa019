#include "config/ValueLists.h"

#include "config/DataFormats.h"
#include "config/DeviceTypes.h"
#include "config/Numbers.h"

#include <cstdio>

namespace kym {

std::string transmitterIdEntry(int index) {
    if (index <= 0 || index >= kTransmitterIdEntries)
        return {};
    char text[8];
    std::snprintf(text, sizeof text, "%X", static_cast<unsigned>(index - 1));
    return text;
}

int transmitterIdIndex(std::string_view text) {
    if (text.empty())
        return 0;
    if (text.size() > 4 || (text.size() > 1 && text.front() == '0'))
        return -1;
    int value = 0;
    for (char c : text) {
        const int digit =
            c >= '0' && c <= '9' ? c - '0' : (c >= 'A' && c <= 'F' ? c - 'A' + 10 : -1);
        if (digit < 0)
            return -1;
        value = value * 16 + digit;
    }
    return value + 1 < kTransmitterIdEntries ? value + 1 : -1;
}

const std::vector<std::string>& channelEntries() {
    static const std::vector<std::string> entries{"", "1", "2", "3", "4"};
    return entries;
}

namespace {
std::vector<std::string> formatEntries(OfferedOn rows) {
    std::vector<std::string> entries{""};
    for (const auto& format : kDataFormats)
        if (format.offeredOn == rows)
            entries.emplace_back(format.name);
    return entries;
}
} // namespace

const std::vector<std::string>& digitalFormatEntries() {
    static const std::vector<std::string> entries = formatEntries(OfferedOn::Digital);
    return entries;
}

const std::vector<std::string>& analogFormatEntries() {
    static const std::vector<std::string> entries = formatEntries(OfferedOn::Analog);
    return entries;
}

RangeList rangeEntries(std::string_view dataFormat, int row, RangeEnd end) {
    RangeList list{{""}, {}};
    const DataFormat* format = findDataFormat(dataFormat);
    if (format && format->range) {
        const RangeSpan& span = *format->range;
        const int last = end == RangeEnd::Start ? span.lastStart : span.lastEnd;
        for (int value = span.first; value <= last; ++value)
            list.entries.push_back(std::to_string(value));
        return list;
    }
    list.message = isDigitalRow(row) ? kDigitalRowsMessage : kSelectDataFormatMessage;
    return list;
}

RangeVerdict checkRangePick(RangeEnd end, std::string_view newText, std::string_view otherText) {
    if (otherText.empty() || newText.empty())
        return {true, {}};
    const double value = leadingNumber(newText);
    const double other = leadingNumber(otherText);
    if (end == RangeEnd::Start)
        return value <= other ? RangeVerdict{true, {}}
                              : RangeVerdict{false, std::string(kStartAfterEndMessage)};
    return value >= other ? RangeVerdict{true, {}}
                          : RangeVerdict{false, std::string(kEndBeforeStartMessage)};
}

} // namespace kym
