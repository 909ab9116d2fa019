#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <string_view>

namespace kym {

// The two names the code writes into cells itself (the control variants' layouts, a transmitter
// picked on a digital row); every other name stands only in the table below.
inline constexpr std::string_view kFormatCount = "COUNT";
inline constexpr std::string_view kFormatDigital = "DIGITAL";

// Which rows' DATA FORMAT list offers a format; a format no list offers can still come from a file.
enum class OfferedOn { None, Analog, Digital };

// The range lists of a format: first to lastStart for RANGE START, first to lastEnd for RANGE END.
struct RangeSpan {
    int first;
    int lastStart;
    int lastEnd;
};

// The input span of a controller format's setpoint dialog: the 12-bit analog span or degrees.
enum class SetpointInput { None, Analog, Degrees };

struct SetpointBand {
    SetpointInput input = SetpointInput::None;
    std::string_view caption{}; // the setpoint dialog's title
    bool reverseActing = true;
};

struct DataFormat {
    std::string_view name{};
    std::optional<std::uint8_t> imageCode{}; // record byte 3; none: the compiler has no code
    OfferedOn offeredOn = OfferedOn::None;
    std::optional<RangeSpan> range{};
    SetpointBand setpoint{}; // input None for every format that is no controller format
};

// Names are compared exactly, case included. Offered formats stand in the order their list shows
// them; the image codes are not in name order.
inline constexpr std::array<DataFormat, 14> kDataFormats{{
    {"THERM 20k", 0, OfferedOn::Analog, RangeSpan{-40, 200, 200}},
    // A COUNT start may reach 4096, one beyond the highest end.
    {kFormatCount, 1, OfferedOn::Analog, RangeSpan{0, 4096, 4095}},
    {"HUMIDITY", 2, OfferedOn::Analog, RangeSpan{0, 100, 100}},
    {"MOISTURE", 3, OfferedOn::Analog, RangeSpan{0, 100, 100}},
    {"RTD 1k", 4},
    {"RTD 1k Ext", 5},
    {"TOTALIZER", 6},
    {"CONTROL_1", 7},
    {"CONTROL_2", 8},
    {"QT7625", 9},
    {kFormatDigital, 10, OfferedOn::Digital},
    {.name = "QW7635B",
     .setpoint = {SetpointInput::Analog, "QW7635B Setpoint Range Settings - ", false}},
    {.name = "RESET_TEMP", .setpoint = {SetpointInput::Degrees, "Temperature Input Reset"}},
    {.name = "RESET_ANALOG", .setpoint = {SetpointInput::Analog, "Analog Input Reset"}},
}};

// Null for a name that is no data format.
const DataFormat* findDataFormat(std::string_view name);

// Record byte 3 for a name; empty for a name the unit has no code for.
std::optional<std::uint8_t> dataFormatCode(std::string_view name);

// The name of an image code; empty for a code no format has.
std::string_view dataFormatNamed(std::uint8_t code);

} // namespace kym
