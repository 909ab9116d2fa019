#include "dialogs/Options.h"

#include "config/Numbers.h"
#include "config/TextLines.h"
#include "transfer/Conversions.h"

#include <algorithm>
#include <cstdio>

namespace kym {

std::string codeByteEntry(int index) {
    if (index <= 0 || index >= kCodeByteEntries)
        return {};
    char text[4];
    std::snprintf(text, sizeof text, "%02X", static_cast<unsigned>(index - 1));
    return text;
}

CodeSelection codeSelection(std::string_view code) {
    return {HexHighByte(code) + 1, HexLowByte(code) + 1};
}

std::optional<std::string> captureProblem(std::string_view text) {
    const auto number = strictWholeNumber(text);
    if (number && *number >= 0 && *number <= 255)
        return std::nullopt;
    return "The digital capture time must be a number from 0 to 255.";
}

std::optional<std::string> timeoutProblem(std::string_view text) {
    const bool digits =
        !text.empty() && text.size() <= 3 &&
        std::all_of(text.begin(), text.end(), [](char c) { return c >= '0' && c <= '9'; });
    if (digits) {
        const int minutes = std::stoi(std::string(text));
        if (minutes >= 1 && minutes <= 255)
            return std::nullopt;
    }
    return "The transmitter time-out must be a whole number of minutes from 1 to 255.";
}

OptionValues loadOptions(const HeaderSettings& header) {
    return {header.timeout,
            header.captureValue,
            header.captureInMinutes,
            header.lossState == "LAST",
            header.snifferState == "SNIFFER",
            codeSelection(header.vendorCode),
            codeSelection(header.propertyCode),
            header.networkID};
}

Result<void> storeOptions(const OptionValues& values, HeaderSettings& header) {
    for (const auto& problem : {captureProblem(values.capture), timeoutProblem(values.timeout)})
        if (problem)
            return Error{*problem};
    header.captureInMinutes = values.captureInMinutes;
    header.lossState = values.lastState ? "LAST" : "OFF";
    header.snifferState = values.monitor ? "SNIFFER" : "";
    header.timeoutNumber = leadingNumber(values.timeout);
    header.captureNumber = leadingNumber(values.capture);
    header.captureValue = values.capture;
    header.timeout = values.timeout;
    header.propertyCode = codeByteEntry(values.property.msb) + codeByteEntry(values.property.lsb);
    header.vendorCode = codeByteEntry(values.vendor.msb) + codeByteEntry(values.vendor.lsb);
    header.networkID = withoutLineBreaks(values.networkID);
    return {};
}

} // namespace kym
