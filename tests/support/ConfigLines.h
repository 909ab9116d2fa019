#pragma once

#include "config/TextLines.h"

#include <algorithm>
#include <string>
#include <utility>
#include <vector>

namespace kym::test {

// A configuration file as the writer lays it out, which tests change as the writer never would.
struct ConfigLines {
    explicit ConfigLines(std::string deviceType, std::vector<std::string> rowLines = {})
        : rows(std::move(rowLines)) {
        set("DEVICE_TYPE", std::move(deviceType));
    }

    ConfigLines& set(const std::string& key, std::string value) {
        for (auto& [name, old] : header)
            if (name == key)
                old = std::move(value);
        return *this;
    }
    ConfigLines& drop(const std::string& key) {
        std::erase_if(header, [&](const auto& pair) { return pair.first == key; });
        return *this;
    }

    // As the reader takes them: an empty line stands before the file's first line.
    LineList lines() const {
        LineList lines{""};
        for (const auto& [key, value] : header)
            lines.insert(lines.end(), {key, value});
        lines.insert(lines.end(), {"COLUMN_NAMES", "5",
                                   "TRANSMITTER ID:TRANS CHAN:DATA FORMAT:RANGE START:RANGE END:",
                                   "ROW_DATA", std::to_string(rows.size())});
        lines.insert(lines.end(), rows.begin(), rows.end());
        lines.push_back("");
        return lines;
    }

    std::string text() const {
        std::string text;
        for (const auto& line : lines())
            text += line + "\r\n";
        return text.substr(2);
    }

    std::vector<std::pair<std::string, std::string>> header{
        {"CAPTURE", "0"},       {"DEVICE_TYPE", ""},
        {"FILE_TYPE", ""},      {"CAPTURE_SCALE", "SECONDS"},
        {"LOSS_STATE", "LAST"}, {"SNIFFER_STATE", ""},
        {"VENDOR CODE", "171"}, {"PROPERTY CODE", "0002"},
        {"TIMEOUT", "30"},      {"NETWORK_ID", "1"}};
    std::vector<std::string> rows;
};

} // namespace kym::test
