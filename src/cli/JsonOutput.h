#pragma once

#include "config/Result.h"

#include <cstdint>
#include <nlohmann/json.hpp>
#include <ostream>
#include <span>
#include <string_view>
#include <vector>

namespace kym::cli {

// Keys keep the order they were added in, so that every document reads "format" and "command"
// first and each entry its name first.
using Json = nlohmann::ordered_json;

// The layout version of every document; raised only by a change that can break a reader.
inline constexpr int kJsonFormat = 1;

// The one document of a --json run on one line: {"format": 1, "command": ..., then the fields}.
// Bytes that are not UTF-8 (a file name from another system) are written as U+FFFD, so that the
// document stays valid whatever the file holds.
void writeJsonDocument(std::ostream& out, std::string_view command, const Json& fields);

// A frame as it goes on the wire: "hex" as frame prints it, "bytes", "length" and "checksum"
// (FrameCrc over the bytes before it, which the frame ends with low byte first).
Json frameJson(std::span<const std::uint8_t> frame);

// [{"line": ..., "reason": ...}, ...]
Json errorsJson(const std::vector<Error>& errors);

} // namespace kym::cli
