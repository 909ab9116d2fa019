// Open over arbitrary bytes: the reader must neither crash nor read past its lines, and whatever it
// left in the document must be writable.
#include "config/ConfigFile.h"

#include <cstddef>
#include <cstdint>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const kym::LineList lines = kym::splitLines({reinterpret_cast<const char*>(data), size});
    kym::ProgramState state;
    const auto read = kym::LoadConfiguration(state, lines);
    if (!read &&
        (read.error().line < 0 || static_cast<std::size_t>(read.error().line) >= lines.size()))
        __builtin_trap();
    const std::string text = kym::configurationFileBytes(state.header, state.grid);
    if (text.empty())
        __builtin_trap();
    return 0;
}
