#pragma once

#include "config/Result.h"

#include <array>
#include <chrono>
#include <filesystem>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

namespace kym {

// A moment in local time: the instant and the offset of the local zone from UTC then.
struct LocalTime {
    std::chrono::sys_seconds instant;
    std::chrono::minutes offset{0};
};

// The system clock in this machine's zone.
LocalTime localNow();
// ISO 8601 with the offset, e.g. 2026-03-01T14:05:09+01:00.
std::string iso8601(const LocalTime& time);

// One line of the programming record: a send to one unit and what came of it.
struct RecordEntry {
    std::string time;          // ISO 8601 local time with offset
    std::string deviceType;    // DEVICE_TYPE of the file
    std::string unit;          // "main", "extended 1", "extended 2"; empty for a one-unit type
    std::string port;          // where the port is, e.g. COM3 or /dev/ttyUSB0
    std::string file;          // the path as picked
    std::string sha256;        // of the file's bytes as compiled
    int frameLength = 0;       // 0 when the type or unit has no frame
    std::string frameChecksum; // the frame's checksum as four hex digits; empty without a frame
    std::string outcome;       // the text the send ended with
    bool operator==(const RecordEntry&) const = default;
};

// A column of the record: its CSV header, its JSON member, its caption in the record window, and
// the entry's member it holds: a text, or the one number, the frame length.
struct RecordField {
    std::string_view header;
    std::string_view jsonName;
    std::string_view caption;
    std::string RecordEntry::*text = nullptr;
    int RecordEntry::*number = nullptr;
};

// In file order.
inline constexpr std::array<RecordField, 9> kRecordFields{{
    {"time", "time", "Time", &RecordEntry::time},
    {"device type", "deviceType", "Device Type", &RecordEntry::deviceType},
    {"unit", "unit", "Unit", &RecordEntry::unit},
    {"port", "port", "Port", &RecordEntry::port},
    {"file", "file", "File", &RecordEntry::file},
    {"sha256", "sha256", "SHA-256", &RecordEntry::sha256},
    {"frame length", "frameLength", "Frame Length", nullptr, &RecordEntry::frameLength},
    {"frame checksum", "frameChecksum", "Frame Checksum", &RecordEntry::frameChecksum},
    {"outcome", "outcome", "Outcome", &RecordEntry::outcome},
}};

// A field's text as the file holds it, and the field set from that text.
std::string fieldText(const RecordField& field, const RecordEntry& entry);
void setField(const RecordField& field, RecordEntry& entry, const std::string& text);

// The header line of the file, ending in CR LF.
std::string recordHeaderLine();

// The unit column for a device type and the transfer window's unit choice.
std::string unitText(std::string_view deviceType, int selectedUnit);

// The entry as one CSV line ending in CR LF; a field holding a comma, a quote or a line break is
// quoted, with its quotes doubled.
std::string csvLine(const RecordEntry& entry);
// The lines of a record file, header skipped; the error names the line that does not parse.
Result<std::vector<RecordEntry>> parseRecord(std::string_view text);

// The programming-record.csv file. Each append is one write flushed to the disk, so a line is
// there before its outcome is shown and a crash loses at most the line being written.
class ProgrammingRecord {
public:
    using Clock = std::function<LocalTime()>;

    explicit ProgrammingRecord(std::filesystem::path file, Clock clock = localNow);

    const std::filesystem::path& file() const { return file_; }
    // Stamps the entry with the clock's time and appends it; a new file gets the header first.
    // The error is the whole message for the user, naming the file.
    Result<void> append(RecordEntry entry) const;
    // Every entry, oldest first; none when the file does not exist yet.
    Result<std::vector<RecordEntry>> read() const;

private:
    std::filesystem::path file_;
    Clock clock_;
};

} // namespace kym
