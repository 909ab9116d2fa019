// Send File's compiler over arbitrary bytes. Besides crashes this traps on a broken promise:
// readiness without errors, an error line outside the file, a frame of another length than the
// protocol's, or a compilation that depends on anything but its lines.
#include "transfer/Frames.h"
#include "transfer/ImageCompiler.h"

#include <cstddef>
#include <cstdint>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const kym::LineList lines = kym::splitLines({reinterpret_cast<const char*>(data), size});
    const kym::Compilation compiled = kym::CompileConfiguration(lines);
    if (compiled.fileReady != compiled.errors.empty())
        __builtin_trap();
    for (const auto& error : compiled.errors)
        if (error.line < 0 || static_cast<std::size_t>(error.line) >= lines.size())
            __builtin_trap();
    for (int unit = 0; unit <= kym::kExtendedUnit2; ++unit) {
        const auto frame = kym::buildFrame(compiled.image, compiled.deviceTypeText, unit);
        if (frame && frame->size() != 79 && frame->size() != 111 && frame->size() != 22)
            __builtin_trap();
    }
    if (kym::CompileConfiguration(lines).image != compiled.image)
        __builtin_trap();
    return 0;
}
