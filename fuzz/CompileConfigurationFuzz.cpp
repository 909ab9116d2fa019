// Send File's compiler and the file check over arbitrary bytes. Besides crashes this traps on a
// broken promise: readiness without errors, a frame of another length than the protocol's, a line
// number outside the file, or a compilation that depends on anything but its lines.
#include "transfer/FileCheck.h"
#include "transfer/Frames.h"
#include "transfer/ImageCompiler.h"

#include <cstddef>
#include <cstdint>

namespace {

bool lineInFile(int line, const kym::LineList& lines) {
    return line >= 0 && static_cast<std::size_t>(line) < lines.size();
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const kym::LineList lines = kym::splitLines({reinterpret_cast<const char*>(data), size});
    const kym::Compilation compiled = kym::CompileConfiguration(lines);
    if (compiled.fileReady != compiled.errors.empty())
        __builtin_trap();
    for (const auto& error : compiled.errors)
        if (!lineInFile(error.line, lines))
            __builtin_trap();
    for (int unit = 0; unit <= kym::kExtendedUnit2; ++unit) {
        const auto frame = kym::BuildFrame(compiled.image, compiled.deviceTypeText, unit);
        if (frame && frame->size() != 79 && frame->size() != 111 && frame->size() != 22)
            __builtin_trap();
    }
    if (kym::CompileConfiguration(lines).image != compiled.image)
        __builtin_trap();
    for (const auto& finding : kym::CheckConfiguration(lines))
        if (!lineInFile(finding.line, lines))
            __builtin_trap();
    return 0;
}
