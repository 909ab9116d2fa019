#include "ImageCompiler.h"

#include "config/Conversions.h"
#include "config/DataFormats.h"
#include "config/DeviceTypes.h"
#include "config/Numbers.h"

#include <cstdint>
#include <limits>

namespace kym {

std::vector<std::string_view> rowFields(std::string_view line) {
    std::vector<std::string_view> fields;
    for (auto end = line.find(','); end != std::string_view::npos; end = line.find(',')) {
        fields.push_back(line.substr(0, end));
        line.remove_prefix(end + 1);
    }
    return fields;
}

namespace {

constexpr std::size_t kRecordsFromFile = 25;

// Scans the lines as Send File compiles them: every line is tested against the keys in their
// fixed order, and a matched key moves the index onto its value line, so that the keys tested
// after it in the same step see the value line.
class Compiler {
public:
    explicit Compiler(const LineList& lines)
        : lines_(lines), last_(static_cast<int>(lines.size()) - 1) {}

    Compilation run() {
        for (i_ = 0; i_ <= last_; ++i_)
            step();
        if (!rowDataSeen_)
            out_.errors.push_back({"the file has no ROW_DATA key, so there is nothing to send", 0});
        out_.fileReady = out_.errors.empty();
        return std::move(out_);
    }

private:
    void step() {
        if (matches(ImageKey::Capture) && toValue(ImageKey::Capture))
            capture();
        if (matches(ImageKey::DeviceType) && toValue(ImageKey::DeviceType)) {
            out_.deviceTypeText = value();
            if (const auto code = traitsOf(value()).deviceCode)
                header(headerbyte::kDeviceCode) = *code;
        }
        if (matches(ImageKey::CaptureScale) && toValue(ImageKey::CaptureScale)) {
            if (value() == kMinutes)
                header(headerbyte::kFlags) |= headerbyte::kMinutesFlag;
        }
        if (matches(ImageKey::LossState) && toValue(ImageKey::LossState)) {
            if (value().empty() || value() == kLastState)
                header(headerbyte::kFlags) &= 0xF0;
            else if (value() == kOffState)
                header(headerbyte::kFlags) |= headerbyte::kLossOffFlag;
        }
        if (matches(ImageKey::SnifferState) && toValue(ImageKey::SnifferState)) {
            if (value() == kSniffer)
                header(headerbyte::kNetwork) |= headerbyte::kSnifferFlag;
        }
        if (matches(ImageKey::VendorCode) && toValue(ImageKey::VendorCode))
            code(headerbyte::kVendorHigh, value().empty() ? kStartVendorCode : value());
        if (matches(ImageKey::PropertyCode) && toValue(ImageKey::PropertyCode))
            code(headerbyte::kPropertyHigh, value().empty() ? kCompilerEmptyPropertyCode : value());
        if (matches(ImageKey::Timeout) && toValue(ImageKey::Timeout)) {
            if (const auto byte = decimal("TIMEOUT", value()))
                header(headerbyte::kTimeout) = *byte;
        }
        if (matches(ImageKey::NetworkId) && toValue(ImageKey::NetworkId)) {
            if (const auto byte =
                    decimal("NETWORK_ID", value().empty() ? kStartNetworkId : value()))
                header(headerbyte::kNetwork) |= *byte;
        }
        if (matches(ImageKey::ColumnNames))
            i_ += 2;
        if (matches(ImageKey::RowData) && toValue(ImageKey::RowData))
            rowData();
    }

    bool matches(ImageKey key) {
        if (i_ > last_ || lines_[idx(i_)] != keyText(key))
            return false;
        out_.keys.push_back({key, i_});
        if (key == ImageKey::RowData)
            rowDataSeen_ = true;
        return true;
    }

    // Moves onto the value line of the key on line i_; a key on the last line has none.
    bool toValue(ImageKey key) {
        if (i_ >= last_) {
            fail(inQuotes(keyText(key)) + " on the last line has no value line", i_);
            return false;
        }
        ++i_;
        return true;
    }

    const std::string& value() const { return lines_[idx(i_)]; }
    static std::size_t idx(int i) { return static_cast<std::size_t>(i); }
    std::uint8_t& header(std::size_t byte) { return out_.image.header[byte]; }
    void fail(std::string reason, int line) { out_.errors.push_back({std::move(reason), line}); }

    void capture() {
        const auto rounded = strictWholeNumber(value());
        if (!rounded) {
            fail("CAPTURE " + inQuotes(value()) + " is not a number", i_);
            return;
        }
        if (*rounded < 0 || *rounded > 255) {
            fail("CAPTURE " + inQuotes(value()) + " is outside 0 to 255", i_);
            return;
        }
        header(headerbyte::kCapture) = static_cast<std::uint8_t>(*rounded);
    }

    void code(std::size_t highByte, std::string_view text) {
        header(highByte) = HexHighByte(text);
        header(highByte + 1) = HexLowByte(text);
    }

    std::optional<std::uint8_t> decimal(std::string_view what, std::string_view text, int line) {
        const auto byte = DecimalByte(text);
        if (!byte)
            fail(std::string(what) + " " + inQuotes(text) + " is larger than 255", line);
        return byte;
    }
    std::optional<std::uint8_t> decimal(std::string_view what, std::string_view text) {
        return decimal(what, text, i_);
    }

    void rowData() {
        const int countLine = i_;
        const std::int64_t count = strictWholeNumber(value()).value_or(-1);
        if (count < 0 || count > static_cast<std::int64_t>(kRecordsFromFile)) {
            fail("ROW_DATA count " + inQuotes(value()) + " is not a number from 0 to 25",
                 countLine);
            return;
        }
        const int rows = static_cast<int>(count);
        header(headerbyte::kRowCount) = static_cast<std::uint8_t>(rows);
        if (countLine + rows > last_) {
            fail("ROW_DATA count " + std::to_string(rows) + " runs past the end of the file (" +
                     std::to_string(last_ - countLine) + " row lines follow)",
                 countLine);
            i_ = last_;
            return;
        }
        for (int r = 0; r < rows; ++r) {
            const int line = countLine + 1 + r;
            out_.rows.push_back({static_cast<std::size_t>(r), line});
            if (!lines_[idx(line)].empty())
                row(out_.image.records[static_cast<std::size_t>(r)], r + 1, line);
        }
        buildTwoControlBlock();
        // The line right after the last row line is passed over without a test.
        i_ = countLine + rows + 1;
    }

    void row(RegisterRecord& record, int rowNumber, int line) {
        const auto fields = rowFields(lines_[idx(line)]);
        const std::string where = "row " + std::to_string(rowNumber) + " ";
        if (fields.size() > 0) {
            record[0] = HexHighByte(fields[0]);
            record[1] = HexLowByte(fields[0]);
        }
        if (fields.size() > 1) {
            if (const auto byte = decimal(where + "TRANS CHAN", fields[1], line))
                record[2] = *byte;
        }
        if (fields.size() > 2)
            record[3] = dataFormatCode(fields[2]).value_or(0);
        if (fields.size() > 3)
            range(record, 4, fields[3], where + "RANGE START", line);
        if (fields.size() > 4)
            range(record, 6, fields[4], where + "RANGE END", line);
    }

    // A range value goes out as 16-bit two's complement, high byte first.
    void range(RegisterRecord& record, std::size_t highByte, std::string_view text,
               const std::string& what, int line) {
        std::uint16_t word = 0;
        if (!text.empty()) {
            const auto rounded = strictWholeNumber(text);
            if (!rounded) {
                fail(what + " " + inQuotes(text) + " is not a number", line);
                return;
            }
            if (*rounded < std::numeric_limits<std::int32_t>::min() ||
                *rounded > std::numeric_limits<std::int32_t>::max()) {
                fail(what + " " + inQuotes(text) + " is outside the signed 32-bit range", line);
                return;
            }
            word = static_cast<std::uint16_t>(static_cast<std::int32_t>(*rounded));
        }
        record[highByte] = static_cast<std::uint8_t>(word >> 8);
        record[highByte + 1] = static_cast<std::uint8_t>(word & 0xFF);
    }

    void buildTwoControlBlock() {
        const ImageHeader& h = out_.image.header;
        const RegisterRecord& digitalMain1 = out_.image.records[kDigitalMain1Record];
        out_.image.twoControl = {h[headerbyte::kNetwork],
                                 0xFF,
                                 0xFF,
                                 digitalMain1[0],
                                 digitalMain1[1],
                                 0,
                                 5,
                                 0,
                                 h[headerbyte::kCapture],
                                 h[headerbyte::kFlags],
                                 h[headerbyte::kTimeout],
                                 0,
                                 40,
                                 h[headerbyte::kVendorHigh],
                                 h[headerbyte::kVendorLow],
                                 h[headerbyte::kPropertyHigh],
                                 h[headerbyte::kPropertyLow]};
    }

    const LineList& lines_;
    const int last_;
    int i_ = 0;
    bool rowDataSeen_ = false;
    Compilation out_;
};

} // namespace

std::string Compilation::errorReport(std::string_view file) const {
    std::string report;
    for (const Error& error : errors) {
        if (!report.empty())
            report += '\n';
        report += std::string(file) + ':' + std::to_string(error.line) + ": " + error.reason;
    }
    return report;
}

Compilation CompileConfiguration(const LineList& lines) {
    return Compiler(lines).run();
}

} // namespace kym
