#pragma once

#include <filesystem>
#include <string>
#include <string_view>

namespace kym {

// Paths travel through the program as UTF-8 text. A path made from a plain std::string would
// read it in the ANSI code page on Windows, losing every letter outside it.
inline std::filesystem::path pathFromUtf8(std::string_view text) {
    return std::filesystem::path(std::u8string(text.begin(), text.end()));
}

inline std::string utf8Of(const std::filesystem::path& path) {
    const std::u8string text = path.u8string();
    return std::string(text.begin(), text.end());
}

// One spelling per file wherever it is shown or remembered, however it was named: absolute, with
// the system's own separators (Qt's dialogs answer "C:/a/b.vlt" on Windows).
inline std::filesystem::path documentPath(const std::filesystem::path& path) {
    std::error_code ignored;
    std::filesystem::path absolute = std::filesystem::absolute(path, ignored);
    if (absolute.empty())
        absolute = path;
    return absolute.make_preferred();
}

} // namespace kym
