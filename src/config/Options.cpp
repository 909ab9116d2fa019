#include "config/Options.h"

#include "config/Conversions.h"
#include "config/Numbers.h"
#include "config/TextLines.h"

#include <algorithm>
#include <cstdio>
#include <optional>

namespace kym {
namespace {

std::vector<std::string> numberEntries(int first, int count) {
    std::vector<std::string> entries;
    for (int n = first; n < first + count; ++n)
        entries.push_back(std::to_string(n));
    return entries;
}

std::string codeByteEntry(int index) {
    if (index <= 0 || index >= kCodeByteEntries)
        return {};
    char text[4];
    std::snprintf(text, sizeof text, "%02X", static_cast<unsigned>(index - 1));
    return text;
}

ListChoice choiceOf(const std::vector<std::string>& entries, const std::string& text) {
    const auto found = std::find(entries.begin(), entries.end(), text);
    return {found == entries.end() ? -1 : static_cast<int>(found - entries.begin()), text};
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

} // namespace

std::vector<std::string> timeoutEntries() {
    return numberEntries(1, kTimeoutEntries);
}
std::vector<std::string> captureEntries() {
    return numberEntries(0, kCaptureEntries);
}
std::vector<std::string> networkIdEntries() {
    return numberEntries(1, kNetworkIdEntries);
}

std::vector<std::string> codeByteEntries() {
    std::vector<std::string> entries;
    for (int index = 0; index < kCodeByteEntries; ++index)
        entries.push_back(codeByteEntry(index));
    return entries;
}

OptionValues loadOptions(const HeaderSettings& header) {
    return {choiceOf(timeoutEntries(), header.timeout),
            choiceOf(captureEntries(), header.captureValue),
            header.captureInMinutes,
            header.lossState == kLastState,
            header.snifferState == kSniffer,
            codeSelection(header.vendorCode),
            codeSelection(header.propertyCode),
            {-1, header.networkID}};
}

Result<void> storeOptions(const OptionValues& values, HeaderSettings& header) {
    const std::string& capture = values.capture.text;
    const std::string& timeout = values.timeout.text;
    for (const auto& problem : {captureProblem(capture), timeoutProblem(timeout)})
        if (problem)
            return Error{*problem};
    header.captureInMinutes = values.captureInMinutes;
    header.lossState = values.lastState ? kLastState : kOffState;
    header.snifferState = values.monitor ? kSniffer : "";
    header.timeoutNumber = leadingNumber(timeout);
    header.captureNumber = leadingNumber(capture);
    header.captureValue = capture;
    header.timeout = timeout;
    header.propertyCode = codeByteEntry(values.property.msb) + codeByteEntry(values.property.lsb);
    header.vendorCode = codeByteEntry(values.vendor.msb) + codeByteEntry(values.vendor.lsb);
    header.networkID = withoutLineBreaks(values.networkID.text);
    return {};
}

} // namespace kym
