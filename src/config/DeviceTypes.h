#pragma once

#include <array>
#include <string>
#include <string_view>

namespace kym {

// Identifiers as the DEVICE_TYPE key holds them, compared exactly (case included).
inline constexpr std::string_view kKym3815 = "KYM3815";
inline constexpr std::string_view kQx4815 = "QX4815";
inline constexpr std::string_view kQr4805 = "QR4805";
inline constexpr std::string_view kQd4815 = "QD4815";
inline constexpr std::string_view kQd4805 = "QD4805";

struct DeviceTypeEntry {
    std::string_view identifier;
    std::string_view menuControl; // the device-type menu entry's control name
    std::string_view caption;     // that entry's caption
};

// In the order the device-type menu lists them.
inline constexpr std::array<DeviceTypeEntry, 5> kDeviceTypes{{
    {kKym3815, "mnuNewConfig", "QR3815/4815(4-AO 4-DO)"},
    {kQx4815, "mnuExtender", "QR4815+QX4815(4-AO 4-DO)"},
    {kQr4805, "mnuTwoReceive", "QR4805(2-DO)"},
    {kQd4815, "mnuFour_Control", "QD4815(4-AO 4-DO)"},
    {kQd4805, "mnuTwo_Control", "QD4805(2-DO)"},
}};

const DeviceTypeEntry* findDeviceType(std::string_view identifier);

// Grid rows including the header row: 25 for the extender system, 9 for every other type.
int gridRowsFor(std::string_view deviceType);

// The two-output types show only rows 5 and 6.
bool isTwoOutput(std::string_view deviceType);

// Rows 5-8, 13-16 and 21 onwards are digital outputs; the others analog.
bool isDigitalRow(int row);

// Column numbers of the register table.
inline constexpr int kColTransmitterId = 1;
inline constexpr int kColTransChan = 2;
inline constexpr int kColDataFormat = 3;
inline constexpr int kColRangeStart = 4;
inline constexpr int kColRangeEnd = 5;
inline constexpr int kDataColumns = 5;

} // namespace kym
