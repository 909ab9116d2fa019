#pragma once

#include "support/RunProcess.h"

#include <filesystem>
#include <optional>
#include <string>

namespace kym::test {

// The text of a PDF as pdftotext (poppler-utils) reads it, pages ended by form feeds; nothing
// when pdftotext is not installed.
inline std::optional<std::string> pdfText(const std::filesystem::path& pdf) {
    const std::string tool = "/usr/bin/pdftotext";
    if (!std::filesystem::exists(tool))
        return std::nullopt;
    return runProcess({tool, "-layout", pdf.string(), "-"}).out;
}

} // namespace kym::test
