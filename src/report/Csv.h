#pragma once

#include "config/Result.h"

#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace kym {

// A field as RFC 4180 writes it: quoted, with its quotes doubled, when it holds a comma, a quote
// or a line break; as it is otherwise.
std::string csvField(std::string_view text);

// The fields joined by commas, ending in CR LF.
std::string csvRow(std::span<const std::string_view> fields);
std::string csvRow(std::span<const std::string> fields);

// CSV text split into rows of fields; a quoted field may hold line breaks. Each row carries the
// line it starts on.
struct CsvRow {
    int line;
    std::vector<std::string> fields;
};
Result<std::vector<CsvRow>> parseCsv(std::string_view text);

} // namespace kym
