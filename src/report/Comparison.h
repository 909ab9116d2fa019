#pragma once

#include "config/ProgramState.h"
#include "config/Result.h"

#include <filesystem>
#include <string>
#include <vector>

namespace kym {

// A register configuration file as Open reads it into a fresh program state, its path recorded
// as the document's; for comparing and exporting without touching the open document.
Result<ProgramState> readConfiguration(const std::filesystem::path& path);

// "FILE:LINE: reason", or "FILE: reason" for an error that names no line.
std::string locatedError(const std::string& file, const Error& error);

// One header setting that differs, by its file key, values as the reader applied them.
struct SettingDifference {
    std::string key;
    std::string ours;
    std::string theirs;
};

// One cell that differs, by its grid row and column; a row that only one of the two has is one
// difference with col 0.
struct CellDifference {
    int row = 0;
    int col = 0;
    std::string ours;
    std::string theirs;
    std::string line; // as differenceLines() gives it
};

struct ConfigurationDiff {
    std::vector<SettingDifference> settings;
    std::vector<CellDifference> cells;
    bool empty() const { return settings.empty() && cells.empty(); }
};

// Header settings by key, then the register rows by position, cell by cell. Rows are named by
// their label ("row 3 ANALOG"), "ANALOG/ANALOG MAIN" where the two labels differ.
ConfigurationDiff compareConfigurations(const ProgramState& ours, const ProgramState& theirs);

// "KEY: ours -> theirs" per setting, then "row N LABEL  COLUMN: ours -> theirs" per cell and
// "row N LABEL: only in the first file" (or second) per row one of them lacks; an empty value
// shows as "".
std::string settingLine(const SettingDifference& difference);
std::vector<std::string> differenceLines(const ConfigurationDiff& diff);

} // namespace kym
