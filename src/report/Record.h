#pragma once

#include "config/ProgramState.h"

#include <chrono>
#include <string>
#include <utility>
#include <vector>

namespace kym {

// What a printed or exported record of the configuration holds, every text in UTF-8: where it
// comes from, when it was made, the Options settings in the dialog's words and the register table
// as the grid shows it (hidden rows left out, each row with its label).
struct ConfigurationRecord {
    std::string fileName; // "(not saved)" for a document without a file
    std::string filePath;
    std::string deviceType;
    std::string madeAt; // local time, "2026-03-01 14:05"
    std::vector<std::pair<std::string, std::string>> settings;
    std::vector<std::string> columns;           // the header row, label column first
    std::vector<std::vector<std::string>> rows; // label, then the five cells
};

ConfigurationRecord recordOf(const ProgramState& state, std::chrono::system_clock::time_point now);

// The table: the header row, then one line per row, CR LF after each line, fields quoted as
// RFC 4180 asks.
std::string recordCsv(const ConfigurationRecord& record);

// The whole record as one HTML page, every text escaped.
std::string recordHtml(const ConfigurationRecord& record);

} // namespace kym
