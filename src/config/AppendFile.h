#pragma once

#include "Result.h"

#include <filesystem>
#include <string_view>

namespace kym {

// Appends bytes to the end of path in one write and flushes them to the disk before returning;
// a missing or empty file gets firstLine before them. The error carries the system's
// description. One platform file holds it (AppendFile_posix.cpp, AppendFile_windows.cpp).
Result<void> appendDurably(const std::filesystem::path& path, std::string_view firstLine,
                           std::string_view bytes);

} // namespace kym
