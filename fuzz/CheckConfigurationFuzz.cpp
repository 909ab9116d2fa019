// kymtool check over arbitrary bytes: no crash, and every finding on a line of the file.
#include "check/FileCheck.h"

#include <cstddef>
#include <cstdint>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const kym::LineList lines = kym::splitLines({reinterpret_cast<const char*>(data), size});
    for (const auto& finding : kym::CheckConfiguration(lines))
        if (finding.line < 0 || static_cast<std::size_t>(finding.line) >= lines.size())
            __builtin_trap();
    return 0;
}
