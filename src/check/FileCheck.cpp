#include "FileCheck.h"

#include "config/CodePage.h"
#include "config/ConfigFile.h"
#include "config/DataFormats.h"
#include "config/DeviceTypes.h"
#include "config/Options.h"
#include "config/ValueLists.h"
#include "transfer/Frames.h"
#include "transfer/ImageCompiler.h"

#include <algorithm>
#include <array>
#include <charconv>
#include <map>
#include <set>
#include <tuple>

namespace kym {
namespace {

bool isUpperHex(char c) {
    return (c >= '0' && c <= '9') || (c >= 'A' && c <= 'F');
}

bool contains(const std::vector<std::string>& entries, std::string_view text) {
    return std::ranges::find(entries, text) != entries.end();
}

// An entry of a number list of the Options dialog, written as the list writes it: decimal, no
// blanks and no leading zeros.
bool isListNumber(std::string_view text, int low, int high) {
    int value = 0;
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
    return error == std::errc() && end == text.data() + text.size() && value >= low &&
           value <= high && std::to_string(value) == text;
}

// What the Options dialog writes: its MSB and LSB entries joined, each empty or two digits; or the
// code a new document starts with.
bool isCodeEntry(std::string_view text, std::string_view startValue) {
    return text == startValue || ((text.empty() || text.size() == 2 || text.size() == 4) &&
                                  std::ranges::all_of(text, isUpperHex));
}

// The records that some frame for the device type carries; the two-control block carries the
// transmitter ID of DIGITAL MAIN 1 only.
std::set<std::size_t> recordsSent(std::string_view deviceType) {
    std::set<std::size_t> records;
    for (const FrameLayout& frame : frameTable()) {
        if (frame.shape != traitsOf(deviceType).frame)
            continue;
        if (frame.records.empty())
            records.insert(kDigitalMain1Record);
        for (const RecordSpan& span : frame.records)
            for (std::size_t r = span.first; r < span.last; ++r)
                records.insert(r);
    }
    return records;
}

constexpr const auto& kFileKeys = key::kInFileOrder;

class Checker {
public:
    explicit Checker(const LineList& lines)
        : lines_(lines), compiled_(CompileConfiguration(lines)) {}

    std::vector<Finding> run() {
        ProgramState state;
        if (auto read = LoadConfiguration(state, lines_); !read)
            error(read.error().line, "Open stops reading here: " + read.error().reason);
        for (const auto& failure : compiled_.errors)
            error(failure.line, "Send File refuses the file: " + failure.reason);
        missingKeys();
        frameless();
        for (const auto& use : compiled_.keys)
            key(use);
        for (const auto& use : compiled_.rows)
            row(use);
        if (compiled_.fileReady)
            emptyRows();
        return sorted();
    }

private:
    void error(int line, std::string message) {
        findings_.push_back({Finding::Severity::Error, line, std::move(message)});
    }
    void warn(int line, std::string message) {
        findings_.push_back({Finding::Severity::Warning, line, std::move(message)});
    }
    const std::string* lineAt(int line) const {
        return line >= 0 && static_cast<std::size_t>(line) < lines_.size()
                   ? &lines_[static_cast<std::size_t>(line)]
                   : nullptr;
    }

    // A missing ROW_DATA or DEVICE_TYPE leaves Send File nothing to send: those are errors.
    void missingKeys() {
        for (auto key : kFileKeys)
            if (key != key::kRowData && key != key::kDeviceType &&
                std::ranges::find(lines_, key) == lines_.end())
                warn(0, "the key " + inQuotes(key) + " is missing");
    }

    // The last DEVICE_TYPE decides the frame; an unknown or missing one leaves Send File without
    // a frame for any unit.
    void frameless() {
        if (findDeviceType(compiled_.deviceTypeText))
            return;
        int valueLine = 0;
        for (const auto& use : compiled_.keys)
            if (use.key == ImageKey::DeviceType && lineAt(use.line + 1))
                valueLine = use.line + 1;
        error(valueLine, valueLine == 0
                             ? "the key \"DEVICE_TYPE\" is missing: Send File has no frame to send"
                             : "unknown device type " + inQuotes(compiled_.deviceTypeText) +
                                   ": Send File has no frame to send");
    }

    void key(const Compilation::KeyUse& use) {
        if (use.key == ImageKey::DeviceType && firstColumnNames_ && *firstColumnNames_ < use.line)
            warn(use.line, "DEVICE_TYPE stands after COLUMN_NAMES: Open lays the table out for the "
                           "device type in force before");
        if (use.key == ImageKey::ColumnNames && !firstColumnNames_)
            firstColumnNames_ = use.line;
        const std::string* value = lineAt(use.line + 1);
        if (!value)
            return;
        const int line = use.line + 1;
        const std::string& v = *value;
        switch (use.key) {
        case ImageKey::Capture:
            if (!isListNumber(v, 0, kCaptureEntries - 1))
                warn(line, "CAPTURE " + inQuotes(v) + " is not in the capture time list");
            break;
        case ImageKey::DeviceType:
            if (!findDeviceType(v))
                warn(line, "unknown device type " + inQuotes(v) + ": a later DEVICE_TYPE decides");
            break;
        case ImageKey::CaptureScale:
            if (v != kMinutes && v != kSeconds)
                warn(line, "unknown CAPTURE_SCALE " + inQuotes(v) + ": taken as seconds");
            break;
        case ImageKey::LossState:
            if (!v.empty() && v != kLastState && v != kOffState)
                warn(line,
                     "unknown LOSS_STATE " + inQuotes(v) + ": the loss flag is left as it is");
            break;
        case ImageKey::SnifferState:
            if (!v.empty() && v != kSniffer)
                warn(line, "unknown SNIFFER_STATE " + inQuotes(v) + ": taken as coordinate");
            break;
        case ImageKey::VendorCode:
        case ImageKey::PropertyCode:
            if (!isCodeEntry(v, use.key == ImageKey::VendorCode ? kStartVendorCode
                                                                : kStartPropertyCode))
                warn(line, std::string(keyText(use.key)) + " " + inQuotes(v) +
                               " is not two bytes of upper-case hexadecimal digits");
            break;
        case ImageKey::Timeout:
            if (!isListNumber(v, 1, kTimeoutEntries))
                warn(line, "TIMEOUT " + inQuotes(v) + " is not in the time-out list");
            break;
        case ImageKey::NetworkId:
            if (!isListNumber(v, 1, kNetworkIdEntries))
                warn(line, "NETWORK_ID " + inQuotes(v) + " is not in the network ID list" +
                               (v.empty() ? ": it is sent as 1" : ""));
            break;
        case ImageKey::ColumnNames:
        case ImageKey::RowData:
            break;
        }
    }

    void row(const Compilation::RowUse& use) {
        const std::string& text = *lineAt(use.line);
        if (text.empty())
            return;
        filled_.insert(use.record);
        const int rowNumber = static_cast<int>(use.record) + 1;
        const std::string where = "row " + std::to_string(rowNumber) + " ";
        const auto fields = rowFields(text);
        if (fields.size() < kDataColumns)
            warn(use.line, where + "has " + std::to_string(fields.size()) +
                               " of the 5 comma-ended fields; the others are not sent");
        if (fields.size() > 0 && transmitterIdIndex(fields[0]) < 0)
            warn(use.line, where + "TRANSMITTER ID " + inQuotes(fields[0]) +
                               " is not in the transmitter list (hexadecimal 0 to FFF0)");
        if (fields.size() > 1 && !contains(channelEntries(), fields[1]))
            warn(use.line, where + "TRANS CHAN " + inQuotes(fields[1]) +
                               " is not in the channel list (1 to 4)");
        if (fields.size() > 2)
            dataFormat(use.line, rowNumber, where, fields[2]);
        for (std::size_t f = 3; f < std::min<std::size_t>(fields.size(), kDataColumns); ++f) {
            const bool start = f == 3;
            const RangeList& list =
                rangeList(fields[2], rowNumber, start ? RangeEnd::Start : RangeEnd::End);
            if (contains(list.entries, fields[f]))
                continue;
            warn(use.line, where + (start ? "RANGE START " : "RANGE END ") + inQuotes(fields[f]) +
                               (list.message.empty()
                                    ? " is not in the range list of " + utf8FromCp1252(fields[2])
                                    : " has no range list: the DATA FORMAT has no range"));
        }
    }

    // A range list has thousands of entries: each is built once per check. The list of a format
    // is the same on every row; only the message differs between analog and digital rows.
    const RangeList& rangeList(std::string_view format, int rowNumber, RangeEnd end) {
        const auto key = std::make_tuple(std::string(format), isDigitalRow(rowNumber), end);
        auto found = rangeLists_.find(key);
        if (found == rangeLists_.end())
            found = rangeLists_.emplace(key, rangeEntries(format, rowNumber, end)).first;
        return found->second;
    }

    void dataFormat(int line, int rowNumber, const std::string& where, std::string_view format) {
        if (format.empty()) {
            warn(line, where + "DATA FORMAT is empty: it is sent as code 0");
            return;
        }
        if (!dataFormatCode(format)) {
            warn(line,
                 where + "DATA FORMAT " + inQuotes(format) + " has no code: it is sent as code 0");
            return;
        }
        const bool digital = isDigitalRow(rowNumber);
        const bool offered =
            contains(digital ? digitalFormatEntries() : analogFormatEntries(), format);
        if (!offered)
            warn(line, where + "DATA FORMAT " + inQuotes(format) + " is not offered on " +
                           (digital ? "a digital" : "an analog") + " row");
    }

    // Rows a frame carries that no row line filled go out as zeros. The warning stands on the
    // empty row line, or on the count line when the count leaves the row out.
    void emptyRows() {
        int countLine = 0;
        for (const auto& use : compiled_.keys)
            if (use.key == ImageKey::RowData)
                countLine = use.line + 1;
        std::map<std::size_t, int> emptyLines;
        for (const auto& use : compiled_.rows)
            emptyLines[use.record] = use.line;
        for (std::size_t record : recordsSent(compiled_.deviceTypeText)) {
            if (filled_.contains(record))
                continue;
            const auto empty = emptyLines.find(record);
            warn(empty == emptyLines.end() ? countLine : empty->second,
                 "row " + std::to_string(record + 1) +
                     " is sent empty: the file has no data for it");
        }
    }

    // A line with an error gets no warnings besides: the error already names its value.
    std::vector<Finding> sorted() {
        std::set<int> errorLines;
        for (const auto& finding : findings_)
            if (finding.severity == Finding::Severity::Error && finding.line > 0)
                errorLines.insert(finding.line);
        std::erase_if(findings_, [&](const Finding& finding) {
            return finding.severity == Finding::Severity::Warning &&
                   errorLines.contains(finding.line);
        });
        std::ranges::stable_sort(findings_, {}, &Finding::line);
        return std::move(findings_);
    }

    const LineList& lines_;
    const Compilation compiled_;
    std::optional<int> firstColumnNames_;
    std::set<std::size_t> filled_;
    std::map<std::tuple<std::string, bool, RangeEnd>, RangeList> rangeLists_;
    std::vector<Finding> findings_;
};

} // namespace

std::vector<Finding> CheckConfiguration(const LineList& lines) {
    return Checker(lines).run();
}

} // namespace kym
