#pragma once

#include <array>
#include <string_view>

namespace kym {

// The keys of a register configuration file, each alone on its line before its value line.
namespace key {
inline constexpr std::string_view kCapture = "CAPTURE";
inline constexpr std::string_view kDeviceType = "DEVICE_TYPE";
inline constexpr std::string_view kFileType = "FILE_TYPE";
inline constexpr std::string_view kCaptureScale = "CAPTURE_SCALE";
inline constexpr std::string_view kLossState = "LOSS_STATE";
inline constexpr std::string_view kSnifferState = "SNIFFER_STATE";
inline constexpr std::string_view kVendorCode = "VENDOR CODE";
inline constexpr std::string_view kPropertyCode = "PROPERTY CODE";
inline constexpr std::string_view kTimeout = "TIMEOUT";
inline constexpr std::string_view kNetworkId = "NETWORK_ID";
inline constexpr std::string_view kColumnNames = "COLUMN_NAMES";
inline constexpr std::string_view kRowData = "ROW_DATA";

// Every key, in the order the writer puts them.
inline constexpr std::array<std::string_view, 12> kInFileOrder{
    kCapture,    kDeviceType,   kFileType, kCaptureScale, kLossState,   kSnifferState,
    kVendorCode, kPropertyCode, kTimeout,  kNetworkId,    kColumnNames, kRowData};
} // namespace key

// The two values of CAPTURE_SCALE; the reader takes anything but kMinutes as seconds.
inline constexpr std::string_view kMinutes = "MINUTES";
inline constexpr std::string_view kSeconds = "SECONDS";

// The values of LOSS_STATE the Options dialog writes: outputs keep their last state or go off.
inline constexpr std::string_view kLastState = "LAST";
inline constexpr std::string_view kOffState = "OFF";
// SNIFFER_STATE of a unit that monitors its network ID; empty for one that coordinates it.
inline constexpr std::string_view kSniffer = "SNIFFER";
// The FILE_TYPE that offers the control variants in the device-type menu.
inline constexpr std::string_view kFactory = "FACTORY";

// The gateway's physical layers: Ethernet, or the serial line with either transport.
inline constexpr std::string_view kEthernet = "ETHERNET";
inline constexpr std::string_view kAscii = "ASCII";
inline constexpr std::string_view kRtu = "RTU";

// The values settings start with, and that the reader puts in for an empty value line.
inline constexpr std::string_view kStartCaptureValue = "0";
inline constexpr std::string_view kStartLossState = kLastState;
inline constexpr std::string_view kStartVendorCode = "171";
inline constexpr std::string_view kStartPropertyCode = "0002";
inline constexpr std::string_view kStartTimeout = "30";
inline constexpr std::string_view kStartNetworkId = "1";

// Send File compiles an empty PROPERTY CODE line as this, not as the editor's start value.
inline constexpr std::string_view kCompilerEmptyPropertyCode = "0000";

} // namespace kym
