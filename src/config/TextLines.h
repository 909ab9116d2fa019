#pragma once

#include "Result.h"

#include <filesystem>
#include <string>
#include <string_view>
#include <vector>

namespace kym {

// The lines of a text, numbered from 1: entry 0 is always empty so that an index is a line number.
// Lines end at LF; one CR before the LF is dropped, so CR LF and bare LF files read alike.
// A final empty piece after the last line end is not a line.
using LineList = std::vector<std::string>;

LineList splitLines(std::string_view text);

// Reads a whole file as lines; the error carries the system's description.
Result<LineList> readLineFile(const std::filesystem::path& path);

// The text with its line breaks (CR and LF) taken out: a value typed into a box must stay on its
// one line of the configuration file, or every line after it would shift.
std::string withoutLineBreaks(std::string_view text);

// The text between double quotes, as messages name a value.
std::string inQuotes(std::string_view text);

} // namespace kym
