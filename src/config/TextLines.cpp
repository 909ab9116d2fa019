#include "TextLines.h"

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <memory>

namespace kym {

LineList splitLines(std::string_view text) {
    LineList lines(1);
    while (!text.empty()) {
        const auto end = text.find('\n');
        std::string_view line = text.substr(0, end);
        if (!line.empty() && line.back() == '\r')
            line.remove_suffix(1);
        lines.emplace_back(line);
        if (end == std::string_view::npos)
            break;
        text.remove_prefix(end + 1);
    }
    return lines;
}

std::string withoutLineBreaks(std::string_view text) {
    std::string line(text);
    std::erase_if(line, [](char c) { return c == '\r' || c == '\n'; });
    return line;
}

Result<LineList> readLineFile(const std::filesystem::path& path) {
    std::unique_ptr<std::FILE, int (*)(std::FILE*)> file(std::fopen(path.c_str(), "rb"), std::fclose);
    if (!file)
        return Error{std::strerror(errno)};
    std::string text;
    char buffer[16384];
    std::size_t got = 0;
    while ((got = std::fread(buffer, 1, sizeof buffer, file.get())) > 0)
        text.append(buffer, got);
    if (std::ferror(file.get()))
        return Error{std::strerror(errno)};
    return splitLines(text);
}

std::string inQuotes(std::string_view text) {
    return "\"" + std::string(text) + "\"";
}

} // namespace kym
