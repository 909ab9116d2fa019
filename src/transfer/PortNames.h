#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace kym {

// A port as the Comm Port list names it: COM1 to COM8 by number, anything the system detects
// or the user types as a device path (/dev/... or \\.\COMn). Any other text is port 0, which never
// opens.
struct PortAddress {
    int number = 0;
    std::string path;

    // What the serial layer opens: the path, COMn where the system has COM names, else
    // /dev/ttyS(n-1); empty for port 0.
    std::string location() const;
    // "COM 3" (the number with a leading blank), or the path.
    std::string displayName() const;
};

inline constexpr int kComPorts = 8;

// "COM1" to "COM8", then the detected ports that are not among them.
std::vector<std::string> portEntries(const std::vector<std::string>& detected);

// What changed between two looks at the detected ports, one line each for the traffic box: the
// ports that appeared and those that went, the open port (its location) named as such.
std::vector<std::string> portChangeNotes(const std::vector<std::string>& before,
                                         const std::vector<std::string>& after,
                                         std::string_view openLocation);

// The port the chosen or typed entry names.
PortAddress resolvePort(std::string_view text, const std::vector<std::string>& detected);

// "COM 1: Open at 19200,N,8,1" and "Cannot open:  COM 3".
std::string portOpenText(const PortAddress& port);
std::string cannotOpenText(const PortAddress& port);

// Why a port did not open, as far as the serial layer can tell.
enum class OpenFailure { NotFound, Busy, PermissionDenied, Other };

// Tells the user why the port did not open and what to do about it: the location, the system's
// own text and a hint for the kinds of failure the user can remedy.
std::string cannotOpenReason(const PortAddress& port, OpenFailure failure,
                             std::string_view systemText);

// A settings text such as "19200,N,8,1": baud rate, parity (N, E, O, M or S), data bits (5 to 8)
// and stop bits (1 or 2).
struct LineSettings {
    int baudRate = 0;
    char parity = 'N';
    int dataBits = 0;
    int stopBits = 0;
    bool operator==(const LineSettings&) const = default;
};
std::optional<LineSettings> parseLineSettings(std::string_view text);

} // namespace kym
