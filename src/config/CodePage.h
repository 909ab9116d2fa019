#pragma once

#include <string>
#include <string_view>

namespace kym {

// A register configuration file holds single-byte text in the units' code page, Windows-1252;
// the program's own texts and paths are UTF-8. These two convert between them at the edges:
// where a file value is shown, quoted in a message or taken back from a widget.

// Every byte maps to one character: the five bytes Windows-1252 leaves undefined (0x81, 0x8D,
// 0x8F, 0x90, 0x9D) map to U+0081 and so on, as Windows maps them, so that any file round-trips.
std::string utf8FromCp1252(std::string_view bytes);

// The inverse; a character the code page cannot hold, or a byte that is not UTF-8, becomes "?".
std::string cp1252FromUtf8(std::string_view text);

} // namespace kym
