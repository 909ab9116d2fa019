#include "ConfigFile.h"

#include "ConfigKeys.h"
#include "DeviceTypes.h"
#include "Layout.h"
#include "Numbers.h"

#include <string_view>

namespace kym {
namespace {

void appendLine(std::string& text, std::string_view line) {
    text += line;
    text += kCrLf;
}

// Splits a line at every separator: the piece before the first one goes to column 1, the next to
// column 2 and so on; text after the last separator is dropped, as are pieces beyond the grid.
void writeCells(RegisterGrid& grid, int row, std::string_view line, char separator) {
    grid.setRow(row);
    int col = 1;
    for (auto end = line.find(separator); end != std::string_view::npos && col < grid.cols();
         end = line.find(separator)) {
        grid.setCol(col++);
        grid.setText(std::string(line.substr(0, end)));
        line.remove_prefix(end + 1);
    }
}

// A count line must be a number that rounds to a whole, non-negative value.
Result<int> readCount(std::string_view key, const std::string& line, int lineNumber) {
    const auto count = strictWholeNumber(line);
    if (!count)
        return Error{std::string(key) + " count " + inQuotes(line) + " is not a number",
                     lineNumber};
    if (*count < 0)
        return Error{std::string(key) + " count " + inQuotes(line) + " is negative", lineNumber};
    if (*count > 1'000'000)
        return Error{std::string(key) + " count " + inQuotes(line) + " is too large", lineNumber};
    return static_cast<int>(*count);
}

std::string orDefault(const std::string& value, std::string_view fallback) {
    return value.empty() ? std::string(fallback) : value;
}

// The keys whose value line sets one setting, in the order every line is tested against them.
struct SettingKey {
    std::string_view key;
    void (*apply)(ProgramState& state, const std::string& value);
};
const SettingKey kSettingKeys[] = {
    {key::kCapture,
     [](ProgramState& s, const std::string& v) {
         s.header.captureValue = orDefault(v, kStartCaptureValue);
         s.header.captureNumber = leadingNumber(s.header.captureValue);
     }},
    {key::kDeviceType,
     [](ProgramState& s, const std::string& v) {
         s.header.deviceType = v;
         s.history.deviceTypeGiven = true;
     }},
    {key::kFileType,
     [](ProgramState& s, const std::string& v) {
         s.header.fileType = v;
         s.history.fileTypeRead = true;
     }},
    {key::kCaptureScale,
     [](ProgramState& s, const std::string& v) { s.header.captureInMinutes = v == kMinutes; }},
    {key::kLossState,
     [](ProgramState& s, const std::string& v) {
         s.header.lossState = orDefault(v, kStartLossState);
     }},
    {key::kSnifferState, [](ProgramState& s, const std::string& v) { s.header.snifferState = v; }},
    {key::kVendorCode,
     [](ProgramState& s, const std::string& v) {
         s.header.vendorCode = orDefault(v, kStartVendorCode);
     }},
    {key::kPropertyCode,
     [](ProgramState& s, const std::string& v) {
         s.header.propertyCode = orDefault(v, kStartPropertyCode);
     }},
    {key::kTimeout,
     [](ProgramState& s, const std::string& v) {
         s.header.timeout = v;
         s.header.timeoutNumber = leadingNumber(v);
     }},
    {key::kNetworkId, [](ProgramState& s, const std::string& v) { s.header.networkID = v; }},
};

class Reader {
public:
    Reader(ProgramState& state, const LineList& lines)
        : state_(state), grid_(state.grid), lines_(lines),
          last_(static_cast<int>(lines.size()) - 1) {}

    Result<void> run() {
        for (i_ = 0; i_ <= last_; ++i_) {
            if (auto result = pass(); !result)
                return result;
        }
        return {};
    }

private:
    bool at(std::string_view key) const { return i_ <= last_ && lines_[idx(i_)] == key; }
    static std::size_t idx(int i) { return static_cast<std::size_t>(i); }

    // Moves onto the value line of the key at i_.
    Result<void> toValue(std::string_view key) {
        if (i_ >= last_)
            return Error{inQuotes(key) + " has no value line", i_};
        ++i_;
        return {};
    }
    const std::string& line() const { return lines_[idx(i_)]; }

    // One step of the scan: the line at i_ against every key in this fixed order. A match moves
    // i_ onto the value line, so the keys after it compare that moved line.
    Result<void> pass() {
        for (const auto& [key, apply] : kSettingKeys) {
            if (!at(key))
                continue;
            if (auto r = toValue(key); !r)
                return r;
            apply(state_, line());
        }
        if (at(key::kColumnNames)) {
            if (auto r = columnNames(); !r)
                return r;
        }
        if (at(key::kRowData)) {
            if (auto r = rowData(); !r)
                return r;
        }
        return {};
    }

    Result<void> columnNames() {
        if (auto r = toValue(key::kColumnNames); !r)
            return r;
        const auto count = readCount(key::kColumnNames, line(), i_);
        if (!count)
            return count.error();
        if (*count != kDataColumns)
            return Error{"COLUMN_NAMES count " + inQuotes(line()) + " is not 5", i_};
        if (i_ >= last_)
            return Error{"COLUMN_NAMES has no line of names", i_};
        ++i_;
        grid_.setRows(gridRowsFor(state_.header.deviceType));
        grid_.setCols(*count + 1);
        grid_.setAllColWidths(kDataColumnWidth);
        grid_.setColWidth(0, kLabelColumnWidth);
        writeCells(grid_, 0, line(), ':');
        LayoutGrid(state_);
        return {};
    }

    Result<void> rowData() {
        if (auto r = toValue(key::kRowData); !r)
            return r;
        const int countLine = i_;
        const auto count = readCount(key::kRowData, line(), countLine);
        if (!count)
            return count.error();
        const int registerRows = grid_.rows() - 1;
        if (*count > registerRows)
            return Error{"ROW_DATA count " + std::to_string(*count) + " is larger than the " +
                             std::to_string(registerRows) + " register rows of the grid",
                         countLine};
        if (countLine + *count > last_)
            return Error{"ROW_DATA count " + std::to_string(*count) +
                             " runs past the end of the file (" +
                             std::to_string(last_ - countLine) + " row lines follow)",
                         countLine};
        for (int r = 1; r <= *count; ++r) {
            const std::string& rowLine = lines_[idx(countLine + r)];
            if (!rowLine.empty())
                writeCells(grid_, r, rowLine, ',');
        }
        // The line after the last row is passed over without being tested as a key.
        i_ = countLine + *count + 1;
        return {};
    }

    ProgramState& state_;
    RegisterGrid& grid_;
    const LineList& lines_;
    const int last_;
    int i_ = 0;
};

} // namespace

std::string ConvertFlexGridToString(const HeaderSettings& header, const RegisterGrid& grid) {
    std::string text;
    for (const auto& [key, value] : {
             std::pair<std::string_view, std::string_view>{key::kCapture, header.captureValue},
             {key::kDeviceType, header.deviceType},
             {key::kFileType, header.fileType},
             {key::kCaptureScale, header.captureInMinutes ? kMinutes : kSeconds},
             {key::kLossState, header.lossState},
             {key::kSnifferState, header.snifferState},
             {key::kVendorCode, header.vendorCode},
             {key::kPropertyCode, header.propertyCode},
             {key::kTimeout, header.timeout},
             {key::kNetworkId, header.networkID},
         }) {
        appendLine(text, key);
        appendLine(text, value);
    }

    std::string names;
    for (int c = 1; c < grid.cols(); ++c)
        names += grid.cell(0, c) + ":";
    appendLine(text, key::kColumnNames);
    appendLine(text, std::to_string(grid.cols() - 1));
    appendLine(text, names);
    appendLine(text, key::kRowData);
    appendLine(text, std::to_string(grid.rows() - 1));
    for (int r = 1; r < grid.rows(); ++r) {
        std::string row;
        for (int c = 1; c < grid.cols(); ++c)
            row += grid.cell(r, c) + ",";
        appendLine(text, row + ";");
    }
    return text;
}

std::string configurationFileBytes(const HeaderSettings& header, const RegisterGrid& grid) {
    return ConvertFlexGridToString(header, grid) + std::string(kCrLf);
}

Result<void> LoadConfiguration(ProgramState& state, const LineList& configLines) {
    state.grid.clear();
    auto result = Reader(state, configLines).run();
    state.grid.setCol(0);
    state.grid.setRow(1);
    state.gridVisible = true;
    return result;
}

Result<void> writeFileAtomically(const std::filesystem::path& path, const std::string& bytes) {
    return writeFileAtomically(path, [&bytes](const FileSink& write) { return write(bytes); });
}

} // namespace kym
