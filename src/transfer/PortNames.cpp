#include "PortNames.h"

#include "LinkRules.h"

#include <algorithm>
#include <charconv>

namespace kym {
namespace {

std::string comName(int number) {
    return "COM" + std::to_string(number);
}

std::optional<int> wholeNumber(std::string_view text) {
    int value = 0;
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (text.empty() || error != std::errc() || end != text.data() + text.size())
        return std::nullopt;
    return value;
}

} // namespace

std::string PortAddress::location() const {
    if (!path.empty())
        return path;
    if (number < 1 || number > kComPorts)
        return {};
#ifdef _WIN32
    return comName(number);
#else
    return "/dev/ttyS" + std::to_string(number - 1);
#endif
}

std::string PortAddress::displayName() const {
    return path.empty() ? "COM " + std::to_string(number) : path;
}

std::vector<std::string> portEntries(const std::vector<std::string>& detected) {
    std::vector<std::string> entries;
    std::vector<std::string> comLocations;
    for (int number = 1; number <= kComPorts; ++number) {
        entries.push_back(comName(number));
        comLocations.push_back(PortAddress{number, {}}.location());
    }
    for (const auto& port : detected)
        if (std::ranges::find(comLocations, port) == comLocations.end())
            entries.push_back(port);
    return entries;
}

std::vector<std::string> portChangeNotes(const std::vector<std::string>& before,
                                         const std::vector<std::string>& after,
                                         std::string_view openLocation) {
    const auto missingFrom = [](const std::vector<std::string>& ports, const std::string& port) {
        return std::ranges::find(ports, port) == ports.end();
    };
    std::vector<std::string> notes;
    for (const auto& port : before)
        if (missingFrom(after, port))
            notes.push_back((port == openLocation ? "open port removed: " : "port removed: ") +
                            port);
    for (const auto& port : after)
        if (missingFrom(before, port))
            notes.push_back("new port: " + port);
    return notes;
}

PortAddress resolvePort(std::string_view text, const std::vector<std::string>& detected) {
    for (int number = 1; number <= kComPorts; ++number)
        if (text == comName(number))
            return {number, {}};
    if (text.starts_with('/') || text.starts_with(R"(\\.\)") ||
        std::ranges::find(detected, text) != detected.end())
        return {0, std::string(text)};
    return {};
}

std::string portOpenText(const PortAddress& port) {
    return port.displayName() + ": Open at " + std::string(kLineSettings);
}

std::string cannotOpenText(const PortAddress& port) {
    return "Cannot open:  " + port.displayName();
}

std::string cannotOpenReason(const PortAddress& port, OpenFailure failure,
                             std::string_view systemText) {
    const std::string location = port.location();
    std::string reason = (location.empty() ? port.displayName() : location) + ": ";
    reason += systemText.empty() ? "the port cannot be opened" : systemText;
    switch (failure) {
    case OpenFailure::NotFound:
        return reason +
               ". There is no such port: check the name and that the adapter is plugged in.";
    case OpenFailure::Busy:
        return reason +
               ". Another program is using the port: close it there or choose another port.";
    case OpenFailure::PermissionDenied:
#ifdef _WIN32
        return reason + ". You are not allowed to use the port.";
#else
        return reason + ". You are not allowed to use the port: your user must be in the dialout "
                        "group (sudo usermod -aG dialout $USER, then log in again).";
#endif
    case OpenFailure::Other:
        break;
    }
    return reason;
}

std::optional<LineSettings> parseLineSettings(std::string_view text) {
    std::vector<std::string_view> fields;
    for (auto comma = text.find(','); comma != std::string_view::npos; comma = text.find(',')) {
        fields.push_back(text.substr(0, comma));
        text.remove_prefix(comma + 1);
    }
    fields.push_back(text);
    if (fields.size() != 4 || fields[1].size() != 1 ||
        std::string_view("NEOMS").find(fields[1][0]) == std::string_view::npos)
        return std::nullopt;
    const auto baud = wholeNumber(fields[0]);
    const auto dataBits = wholeNumber(fields[2]);
    const auto stopBits = wholeNumber(fields[3]);
    if (!baud || *baud <= 0 || !dataBits || *dataBits < 5 || *dataBits > 8 || !stopBits ||
        (*stopBits != 1 && *stopBits != 2))
        return std::nullopt;
    return LineSettings{*baud, fields[1][0], *dataBits, *stopBits};
}

} // namespace kym
