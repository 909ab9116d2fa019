#pragma once

#include "config/ConfigKeys.h"
#include "config/Result.h"
#include "config/TextLines.h"

#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace kym {

// The bytes a unit is programmed with. Record r holds register row r + 1; record 24 is storage
// only, and byte 8 of every record is never written nor sent.
using ImageHeader = std::array<std::uint8_t, 10>;
using RegisterRecord = std::array<std::uint8_t, 9>;
using RegisterRecords = std::array<RegisterRecord, 25>;
using TwoControlBlock = std::array<std::uint8_t, 17>;

struct DeviceImage {
    ImageHeader header{};
    RegisterRecords records{};
    TwoControlBlock twoControl{};
    bool operator==(const DeviceImage&) const = default;
};

// Byte positions in ImageHeader.
namespace headerbyte {
inline constexpr std::size_t kCapture = 0;
inline constexpr std::size_t kDeviceCode = 1;
inline constexpr std::size_t kFlags = 2;
inline constexpr std::size_t kVendorHigh = 3;
inline constexpr std::size_t kVendorLow = 4;
inline constexpr std::size_t kPropertyHigh = 5;
inline constexpr std::size_t kPropertyLow = 6;
inline constexpr std::size_t kTimeout = 7;
inline constexpr std::size_t kNetwork = 8;
inline constexpr std::size_t kRowCount = 9;

inline constexpr std::uint8_t kMinutesFlag = 0x10;
inline constexpr std::uint8_t kLossOffFlag = 0x01;
inline constexpr std::uint8_t kSnifferFlag = 0x40;
} // namespace headerbyte

// The record whose transmitter ID the two-control block carries: row 5, DIGITAL MAIN 1.
inline constexpr std::size_t kDigitalMain1Record = 4;

// The keys the compiler acts on, in the order it tests them on every line.
enum class ImageKey {
    Capture,
    DeviceType,
    CaptureScale,
    LossState,
    SnifferState,
    VendorCode,
    PropertyCode,
    Timeout,
    NetworkId,
    ColumnNames,
    RowData,
};
inline constexpr std::array<std::string_view, 11> kImageKeyTexts{
    key::kCapture,      key::kDeviceType,  key::kCaptureScale, key::kLossState,
    key::kSnifferState, key::kVendorCode,  key::kPropertyCode, key::kTimeout,
    key::kNetworkId,    key::kColumnNames, key::kRowData};
inline std::string_view keyText(ImageKey key) {
    return kImageKeyTexts[static_cast<std::size_t>(key)];
}

inline constexpr std::string_view kFileReadyText = "File is ready to be sent.";
inline constexpr std::string_view kFileErrorText = "Error reading file ";

struct Compilation {
    // A key the scan matched, on its line; its value stands on the next line.
    struct KeyUse {
        ImageKey key;
        int line;
    };
    // A line of a ROW_DATA section and the record it fills.
    struct RowUse {
        std::size_t record;
        int line;
    };

    DeviceImage image;
    std::string deviceTypeText;
    bool fileReady = false;
    std::vector<Error> errors; // empty exactly when fileReady
    std::vector<KeyUse> keys;
    std::vector<RowUse> rows;

    std::string_view statusText() const { return fileReady ? kFileReadyText : kFileErrorText; }
    // The errors as the user is told them, kymtool and the transfer window alike:
    // "FILE:LINE: reason", one line each, without a final line end.
    std::string errorReport(std::string_view file) const;
};

// Compiles the lines of a register configuration file (entry 0 empty) into a fresh image. A
// value that has no byte value fails the compilation and is named with its line in errors, as
// is a file without ROW_DATA; nothing of an earlier compilation is kept.
Compilation CompileConfiguration(const LineList& lines);

// The comma-terminated fields of a ROW_DATA row line; text after the last comma is no field.
std::vector<std::string_view> rowFields(std::string_view line);

} // namespace kym
