#pragma once

#include "ProgramState.h"
#include "Result.h"
#include "TextLines.h"

#include <filesystem>
#include <functional>
#include <string>
#include <string_view>

namespace kym {

inline constexpr std::string_view kCrLf = "\r\n";

// The whole configuration text: the header keys, the column names and one line per register
// row, every line ended by CR LF. A saved file holds this text followed by one more CR LF.
std::string ConvertFlexGridToString(const HeaderSettings& header, const RegisterGrid& grid);

// The bytes Save and Save As put on disk.
std::string configurationFileBytes(const HeaderSettings& header, const RegisterGrid& grid);

// Applies the lines of a configuration file (entry 0 empty) to the state: the settings whose
// keys are present, the document history they make, the grid's shape, labels and cells. On a
// malformed count or a missing line, reading stops there and the error names the line; what was
// applied before stays.
Result<void> LoadConfiguration(ProgramState& state, const LineList& configLines);

// Appends bytes to the file being written; false once a write has failed.
using FileSink = std::function<bool(std::string_view bytes)>;

// Writes a temporary file beside path through fill, which says whether it succeeded, and only
// then renames it over path; on any failure the temporary file goes and an earlier file stays
// intact. On POSIX systems the file keeps the mode of the one it replaces. The error carries the
// system's description. One platform file holds it (AtomicFile_posix.cpp, AtomicFile_windows.cpp).
Result<void> writeFileAtomically(const std::filesystem::path& path,
                                 const std::function<bool(const FileSink&)>& fill);
Result<void> writeFileAtomically(const std::filesystem::path& path, const std::string& bytes);

} // namespace kym
