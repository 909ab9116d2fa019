#pragma once

#include "support/RunProcess.h"

#include <filesystem>
#include <gtest/gtest.h>
#include <string>

namespace kym::test {

// The text of a PDF as pdftotext reads it, pages ended by form feeds. scripts/install-deps
// installs it, so its absence fails the test rather than skipping it.
inline std::string pdfText(const std::filesystem::path& pdf) {
    const std::string tool = "/usr/bin/pdftotext";
    if (!std::filesystem::exists(tool)) {
        ADD_FAILURE() << tool << " is missing: run scripts/install-deps (poppler-utils)";
        return {};
    }
    return runProcess({tool, "-layout", pdf.string(), "-"}).out;
}

} // namespace kym::test
