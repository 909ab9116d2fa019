#pragma once

#include "DataFormats.h"

#include <array>
#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace kym {

// Identifiers as the DEVICE_TYPE key holds them, compared exactly (case included).
inline constexpr std::string_view kKym3815 = "KYM3815";
inline constexpr std::string_view kQx4815 = "QX4815";
inline constexpr std::string_view kQr4805 = "QR4805";
inline constexpr std::string_view kQd4815 = "QD4815";
inline constexpr std::string_view kQd4805 = "QD4805";

// Column numbers of the register table.
inline constexpr int kColTransmitterId = 1;
inline constexpr int kColTransChan = 2;
inline constexpr int kColDataFormat = 3;
inline constexpr int kColRangeStart = 4;
inline constexpr int kColRangeEnd = 5;
inline constexpr int kDataColumns = 5;

// The columns whose editing boxes a device type enables; a click lays the box over such a cell
// (the DATA FORMAT box goes over every row's cell, enabled or not).
struct EditableColumns {
    bool transmitterId;
    bool channel;
    bool dataFormat;
    bool range; // RANGE START and RANGE END
};

// Rows first to last of one column, filled by the layout: with text, or, when text is empty, with
// the channels 1 to 4 of each band of four rows.
struct FilledRun {
    int col;
    int firstRow;
    int lastRow;
    std::string_view text;
};

// Which frame Send File cuts from the image; the bytes of each are the transfer layer's.
enum class FrameShape {
    None,
    Receiver,          // ESC G J, the header and registers 1-8
    TwoOutputReceiver, // ESC \ J, likewise
    ExtenderUnits,     // one frame per unit of the extended system
    ControlBlock,      // ESC G DC1 and the two-control block
};

// What a pick from the TRANSMITTER ID box writes. ClickedRow: the clicked cell, and DIGITAL as
// the DATA FORMAT of a digital row. EveryOutput: the TRANSMITTER ID of every shown output row, as
// one transmitter feeds all outputs of a control variant.
enum class TransmitterPick { None, ClickedRow, EveryOutput, ClickedRowThenEveryOutput };

// The rows of a two-output type that hold its outputs; the others are hidden.
inline constexpr std::array<int, 2> kTwoOutputRows{5, 6};

inline constexpr EditableColumns kAllColumns{true, true, true, true};
inline constexpr EditableColumns kTransmitterAndChannel{true, true, false, false};
inline constexpr EditableColumns kTransmitterOnly{true, false, false, false};

inline constexpr FilledRun kQd4815Cells[]{
    {kColTransChan, 1, 8, {}},
    {kColDataFormat, 1, 4, kFormatCount},
    {kColDataFormat, 5, 8, kFormatDigital},
    {kColRangeStart, 1, 4, "0"},
    {kColRangeEnd, 1, 4, "4095"},
};
inline constexpr FilledRun kQd4805Cells[]{
    {kColTransChan, 5, 6, {}},
    {kColDataFormat, 5, 6, kFormatDigital},
};

// Everything the program does differently by device type.
struct DeviceTraits {
    std::string_view identifier{};
    std::string_view menuControl{}; // the device-type menu entry's control name
    std::string_view caption{};     // that entry's caption
    int gridRows = 9;               // including the header row
    bool hasExtendedSystem = false; // a main unit and two extension units: six bands of rows
    bool twoOutput = false;         // only kTwoOutputRows are shown
    bool controlVariant = false;    // offered in the menu only for FACTORY files
    EditableColumns editable = kAllColumns;
    std::span<const FilledRun> filledCells{}; // in the order the layout writes them
    TransmitterPick transmitterPick = TransmitterPick::ClickedRow;
    std::optional<std::uint8_t> deviceCode{}; // image header byte 1
    FrameShape frame = FrameShape::None;
    bool acknowledgesWithEsc = false; // else with six bytes whose fourth is ACK
    bool takesFollowUp = false;       // the follow-up command after an acknowledged frame
};

// In the order the device-type menu lists them.
inline constexpr std::array<DeviceTraits, 5> kDeviceTypes{{
    {.identifier = kKym3815,
     .menuControl = "mnuNewConfig",
     .caption = "QR3815/4815(4-AO 4-DO)",
     .deviceCode = 1,
     .frame = FrameShape::Receiver},
    {.identifier = kQx4815,
     .menuControl = "mnuExtender",
     .caption = "QR4815+QX4815(4-AO 4-DO)",
     .gridRows = 25,
     .hasExtendedSystem = true,
     .deviceCode = 41,
     .frame = FrameShape::ExtenderUnits},
    {.identifier = kQr4805,
     .menuControl = "mnuTwoReceive",
     .caption = "QR4805(2-DO)",
     .twoOutput = true,
     .editable = kTransmitterAndChannel,
     .deviceCode = 1,
     .frame = FrameShape::TwoOutputReceiver,
     .acknowledgesWithEsc = true,
     .takesFollowUp = true},
    {.identifier = kQd4815,
     .menuControl = "mnuFour_Control",
     .caption = "QD4815(4-AO 4-DO)",
     .controlVariant = true,
     .editable = kTransmitterOnly,
     .filledCells = kQd4815Cells,
     .transmitterPick = TransmitterPick::EveryOutput,
     .deviceCode = 40,
     .frame = FrameShape::Receiver},
    {.identifier = kQd4805,
     .menuControl = "mnuTwo_Control",
     .caption = "QD4805(2-DO)",
     .twoOutput = true,
     .controlVariant = true,
     .editable = kTransmitterOnly,
     .filledCells = kQd4805Cells,
     .transmitterPick = TransmitterPick::ClickedRowThenEveryOutput,
     .deviceCode = 40,
     .frame = FrameShape::ControlBlock,
     .acknowledgesWithEsc = true},
}};

// What an identifier that is none of the five gets (possible only through a file): the KYM3815
// layout, no menu entry, a box only over TRANSMITTER ID and a pick that writes nothing, no device
// code and no frame. The layout leaves the boxes' enabling as it was.
inline constexpr DeviceTraits kUnknownDeviceType{.editable = kTransmitterOnly,
                                                 .transmitterPick = TransmitterPick::None};

// Null for an identifier that is none of the five.
const DeviceTraits* findDeviceType(std::string_view identifier);
// The traits of an identifier, kUnknownDeviceType for one that is none of the five.
const DeviceTraits& traitsOf(std::string_view identifier);

// Grid rows including the header row.
inline int gridRowsFor(std::string_view deviceType) {
    return traitsOf(deviceType).gridRows;
}

// The tallest layout's grid rows, which the first window is sized for.
inline constexpr int kMostGridRows = [] {
    int most = 0;
    for (const DeviceTraits& traits : kDeviceTypes)
        most = traits.gridRows > most ? traits.gridRows : most;
    return most;
}();

// The rows that hold the outputs: every register row, or kTwoOutputRows.
std::vector<int> outputRows(const DeviceTraits& traits);

// Rows 5-8, 13-16 and 21 onwards are digital outputs; the others analog.
bool isDigitalRow(int row);

} // namespace kym
