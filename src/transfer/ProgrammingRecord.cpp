#include "ProgrammingRecord.h"

#include "Frames.h"
#include "config/AppendFile.h"
#include "config/DeviceTypes.h"
#include "config/Paths.h"
#include "report/Csv.h"

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <ctime>
#include <fstream>
#include <sstream>

namespace kym {

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
    if (!traitsOf(deviceType).hasExtendedSystem)
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

std::string fieldText(const RecordField& field, const RecordEntry& entry) {
    return field.text ? entry.*field.text : std::to_string(entry.*field.number);
}

void setField(const RecordField& field, RecordEntry& entry, const std::string& text) {
    if (field.text)
        entry.*field.text = text;
    else
        std::istringstream(text) >> entry.*field.number;
}

std::string recordHeaderLine() {
    std::array<std::string_view, kRecordFields.size()> headers;
    for (std::size_t f = 0; f < kRecordFields.size(); ++f)
        headers[f] = kRecordFields[f].header;
    return csvRow(headers);
}

std::string csvLine(const RecordEntry& entry) {
    std::array<std::string, kRecordFields.size()> texts;
    for (std::size_t f = 0; f < kRecordFields.size(); ++f)
        texts[f] = fieldText(kRecordFields[f], entry);
    return csvRow(texts);
}

Result<std::vector<RecordEntry>> parseRecord(std::string_view text) {
    auto rows = parseCsv(text);
    if (!rows)
        return rows.error();
    std::vector<RecordEntry> entries;
    for (const auto& [line, fields] : rows.value()) {
        if (line == 1 && fields[0] == kRecordFields[0].header)
            continue;
        if (fields.size() != kRecordFields.size())
            return Error{std::to_string(fields.size()) + " fields where the record has " +
                             std::to_string(kRecordFields.size()),
                         line};
        RecordEntry& entry = entries.emplace_back();
        for (std::size_t f = 0; f < kRecordFields.size(); ++f)
            setField(kRecordFields[f], entry, fields[f]);
    }
    return entries;
}

ProgrammingRecord::ProgrammingRecord(std::filesystem::path file, Clock clock)
    : file_(std::move(file)), clock_(std::move(clock)) {}

Result<void> ProgrammingRecord::append(RecordEntry entry) const {
    entry.time = iso8601(clock_());
    auto written = appendDurably(file_, recordHeaderLine(), csvLine(entry));
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
