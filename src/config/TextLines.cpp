#include "TextLines.h"

#include "CodePage.h"

#include <algorithm>
#include <cerrno>
#include <fstream>
#include <optional>

namespace kym {
namespace {

constexpr std::size_t kShownCodePoints = 40;

bool isContinuationByte(char c) {
    return (static_cast<unsigned char>(c) & 0xC0) == 0x80;
}

std::size_t codePoints(std::string_view text) {
    return static_cast<std::size_t>(
        std::ranges::count_if(text, [](char c) { return !isContinuationByte(c); }));
}

// Where a shown value is cut: before its code point number kShownCodePoints + 1, if it has one.
std::optional<std::size_t> cutPoint(std::string_view text) {
    std::size_t points = 0;
    for (std::size_t i = 0; i < text.size(); ++i)
        if (!isContinuationByte(text[i]) && points++ == kShownCodePoints)
            return i;
    return std::nullopt;
}

constexpr const char* kEllipsis = "\u2026";

// A shown value between double quotes; a cut one with its length.
std::string quoted(const std::string& shown, std::optional<std::size_t> cutLength) {
    std::string text = "\"" + shown + "\"";
    if (cutLength)
        text += " (" + std::to_string(*cutLength) + " characters)";
    return text;
}

std::string sizeText(std::uintmax_t bytes) {
    constexpr std::uintmax_t kMiB = 1024 * 1024;
    return bytes >= 10 * kMiB ? std::to_string(bytes / kMiB) + " MiB"
                              : std::to_string(bytes) + " bytes";
}

// The caller names the file: kymtool puts the path before the reason, the editor's Open
// follows the file dialog in which the user has just picked it.
Error tooLarge(const std::string& size) {
    return Error{"the file is " + size + "; a register configuration is at most 1 MiB"};
}

} // namespace

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

Result<std::string> readConfigurationBytes(const std::filesystem::path& path) {
    std::error_code sizeUnknown;
    if (const auto size = std::filesystem::file_size(path, sizeUnknown);
        !sizeUnknown && size > kMaxConfigurationFileBytes)
        return tooLarge(sizeText(size));
    errno = 0;
    std::ifstream file(path, std::ios::binary);
    if (!file)
        return Error{errno ? errnoText(errno) : "the file cannot be opened"};
    // The size is checked again while reading: the file may grow, or not be a regular file.
    std::string text;
    char buffer[16384];
    while (file.read(buffer, sizeof buffer) || file.gcount() > 0) {
        text.append(buffer, static_cast<std::size_t>(file.gcount()));
        if (text.size() > kMaxConfigurationFileBytes)
            return tooLarge("more than " + sizeText(kMaxConfigurationFileBytes));
    }
    if (file.bad())
        return Error{errno ? errnoText(errno) : "the file cannot be read"};
    return text;
}

Result<LineList> readLineFile(const std::filesystem::path& path) {
    auto text = readConfigurationBytes(path);
    if (!text)
        return text.error();
    return splitLines(*text);
}

std::string shortened(std::string_view text) {
    const auto cut = cutPoint(text);
    return cut ? std::string(text.substr(0, *cut)) + kEllipsis : std::string(text);
}

std::string utf8InQuotes(std::string_view text) {
    const auto cut = cutPoint(text);
    return quoted(shortened(text), cut ? std::optional(codePoints(text)) : std::nullopt);
}

// One byte of the file is one character: only the shown part is converted.
std::string inQuotes(std::string_view fileText) {
    if (fileText.size() <= kShownCodePoints)
        return quoted(utf8FromCp1252(fileText), std::nullopt);
    return quoted(utf8FromCp1252(fileText.substr(0, kShownCodePoints)) + kEllipsis,
                  fileText.size());
}

} // namespace kym
