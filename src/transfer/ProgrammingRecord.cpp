#include "ProgrammingRecord.h"

#include "Frames.h"
#include "config/AppendFile.h"
#include "config/DeviceTypes.h"
#include "config/Paths.h"

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <ctime>
#include <fstream>
#include <sstream>

namespace kym {
namespace {

constexpr std::size_t kColumns = 9;

std::string csvField(std::string_view field) {
    if (field.find_first_of(",\"\r\n") == std::string_view::npos)
        return std::string(field);
    std::string text = "\"";
    for (char c : field)
        text += c == '"' ? std::string("\"\"") : std::string(1, c);
    return text + "\"";
}

// Splits CSV text into rows of fields; a quoted field may hold line breaks. Each row carries the
// line it starts on.
struct CsvRow {
    int line;
    std::vector<std::string> fields;
};

Result<std::vector<CsvRow>> csvRows(std::string_view text) {
    std::vector<CsvRow> rows;
    int line = 1;
    std::size_t i = 0;
    while (i < text.size()) {
        CsvRow row{line, {}};
        std::string field;
        bool more = true;
        while (more) {
            if (i < text.size() && text[i] == '"') {
                for (++i;; ++i) {
                    if (i >= text.size())
                        return Error{"a quoted field is not closed", row.line};
                    if (text[i] == '"' && (i + 1 >= text.size() || text[i + 1] != '"'))
                        break;
                    if (text[i] == '"')
                        ++i;
                    line += text[i] == '\n';
                    field += text[i];
                }
                ++i;
            }
            while (i < text.size() && text[i] != ',' && text[i] != '\n')
                field += text[i++];
            if (!field.empty() && field.back() == '\r' && (i >= text.size() || text[i] == '\n'))
                field.pop_back();
            row.fields.push_back(std::move(field));
            field.clear();
            more = i < text.size() && text[i] == ',';
            ++i;
        }
        ++line;
        rows.push_back(std::move(row));
    }
    return rows;
}

} // namespace

LocalTime localNow() {
    const std::time_t now = std::time(nullptr);
    std::tm local{};
#ifdef _WIN32
    ::localtime_s(&local, &now);
#else
    ::localtime_r(&now, &local);
#endif
    using namespace std::chrono;
    const sys_seconds instant{seconds{now}};
    const sys_seconds asIfUtc =
        sys_days{year{local.tm_year + 1900} / (local.tm_mon + 1) / local.tm_mday} +
        hours{local.tm_hour} + minutes{local.tm_min} + seconds{local.tm_sec};
    return {instant, duration_cast<minutes>(asIfUtc - instant)};
}

std::string iso8601(const LocalTime& time) {
    using namespace std::chrono;
    const sys_seconds local = time.instant + time.offset;
    const sys_days day = floor<days>(local);
    const year_month_day date{day};
    const hh_mm_ss clock{local - day};
    const auto offset = static_cast<int>(time.offset.count());
    char text[64];
    std::snprintf(text, sizeof text, "%04d-%02u-%02uT%02d:%02d:%02d%c%02d:%02d",
                  static_cast<int>(date.year()), static_cast<unsigned>(date.month()),
                  static_cast<unsigned>(date.day()), static_cast<int>(clock.hours().count()),
                  static_cast<int>(clock.minutes().count()),
                  static_cast<int>(clock.seconds().count()), offset < 0 ? '-' : '+',
                  std::abs(offset) / 60, std::abs(offset) % 60);
    return text;
}

std::string unitText(std::string_view deviceType, int selectedUnit) {
    if (deviceType != kQx4815)
        return "";
    switch (selectedUnit) {
    case kMainUnit:
        return "main";
    case kExtendedUnit1:
        return "extended 1";
    case kExtendedUnit2:
        return "extended 2";
    default:
        return std::to_string(selectedUnit);
    }
}

std::string csvLine(const RecordEntry& e) {
    std::string line;
    for (std::string_view field :
         {std::string_view(e.time), std::string_view(e.deviceType), std::string_view(e.unit),
          std::string_view(e.port), std::string_view(e.file), std::string_view(e.sha256)})
        line += csvField(field) + ",";
    return line + std::to_string(e.frameLength) + "," + csvField(e.frameChecksum) + "," +
           csvField(e.outcome) + "\r\n";
}

Result<std::vector<RecordEntry>> parseRecord(std::string_view text) {
    auto rows = csvRows(text);
    if (!rows)
        return rows.error();
    std::vector<RecordEntry> entries;
    for (auto& [line, f] : rows.value()) {
        if (line == 1 && f[0] == "time")
            continue;
        if (f.size() != kColumns)
            return Error{std::to_string(f.size()) + " fields where the record has " +
                             std::to_string(kColumns),
                         line};
        int length = 0;
        std::istringstream(f[6]) >> length;
        entries.push_back({f[0], f[1], f[2], f[3], f[4], f[5], length, f[7], f[8]});
    }
    return entries;
}

ProgrammingRecord::ProgrammingRecord(std::filesystem::path file, Clock clock)
    : file_(std::move(file)), clock_(std::move(clock)) {}

Result<void> ProgrammingRecord::append(RecordEntry entry) const {
    entry.time = iso8601(clock_());
    auto written = appendDurably(file_, kRecordHeader, csvLine(entry));
    if (!written)
        return Error{"The programming record " + utf8Of(file_) +
                     " was not written: " + written.error().reason};
    return {};
}

Result<std::vector<RecordEntry>> ProgrammingRecord::read() const {
    std::error_code missing;
    if (!std::filesystem::exists(file_, missing))
        return std::vector<RecordEntry>{};
    errno = 0;
    std::ifstream in(file_, std::ios::binary);
    std::ostringstream text;
    text << in.rdbuf();
    if (!in)
        return Error{utf8Of(file_) + ": " + (errno ? errnoText(errno) : "cannot be read")};
    auto entries = parseRecord(text.str());
    if (!entries)
        return Error{utf8Of(file_) + ":" + std::to_string(entries.error().line) + ": " +
                     entries.error().reason};
    return entries;
}

} // namespace kym
