#pragma once

#include "ProgramState.h"
#include "Result.h"
#include "TextLines.h"

#include <filesystem>
#include <string>

namespace kym {

inline constexpr std::string_view kCrLf = "\r\n";

// The whole configuration text: the header keys, the column names and one line per register
// row, every line ended by CR LF. A saved file holds this text followed by one more CR LF.
std::string ConvertFlexGridToString(const HeaderSettings& header, const RegisterGrid& grid);

// The bytes Save and Save As put on disk.
std::string configurationFileBytes(const HeaderSettings& header, const RegisterGrid& grid);

// Applies the lines of a configuration file (entry 0 empty) to the state: the settings whose
// keys are present, the menus they drive, the grid's shape, labels and cells. On a malformed
// count or a missing line, reading stops there and the error names the line; what was applied
// before stays.
Result<void> LoadConfiguration(ProgramState& state, const LineList& configLines);

// Writes bytes to a temporary file beside path and renames it over path, so a failed write
// leaves an earlier file intact. The error carries the system's description.
Result<void> writeFileAtomically(const std::filesystem::path& path, const std::string& bytes);

} // namespace kym
