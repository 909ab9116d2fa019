#pragma once

#include "Result.h"

#include <cstdint>
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

// The largest register configuration file a reader takes; real ones are a few kilobytes.
inline constexpr std::uintmax_t kMaxConfigurationFileBytes = 1024 * 1024;

// Reads a whole register configuration file as lines; the error carries the system's
// description. A file over kMaxConfigurationFileBytes is refused before it is read, so that a
// wrong pick costs neither time nor memory.
Result<LineList> readLineFile(const std::filesystem::path& path);
// The same file's bytes, under the same limit.
Result<std::string> readConfigurationBytes(const std::filesystem::path& path);

// The text with its line breaks (CR and LF) taken out: a value typed into a box must stay on its
// one line of the configuration file, or every line after it would shift.
std::string withoutLineBreaks(std::string_view text);

// The text as a message may show it: a long value is cut after 40 characters (UTF-8 code
// points, never inside one) and followed by "…", so a huge line cannot make a huge message.
std::string shortened(std::string_view text);

// A file value (Windows-1252 bytes) shortened between double quotes, in UTF-8 as messages are;
// a cut value is followed by its length, e.g. "ABC…" (52428800 characters).
std::string inQuotes(std::string_view fileText);
// The same for a text that is UTF-8 already: a typed argument, the program's own settings.
std::string utf8InQuotes(std::string_view text);

} // namespace kym
