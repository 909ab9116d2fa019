#pragma once

#include "PortNames.h"
#include "config/Result.h"

#include <chrono>
#include <cstdint>
#include <memory>
#include <optional>
#include <span>
#include <string>
#include <vector>

namespace kym {

// Why a port did not open: the kind the user can remedy and the system's own text.
struct SerialOpenError {
    OpenFailure kind = OpenFailure::Other;
    std::string text;
};

// A serial port on the system's own calls, without Qt: the part of the serial layer that differs
// between systems. Reading blocks for at most the wait given; calls may come from two threads, one
// reading while the other writes.
class NativeSerialPort {
public:
    virtual ~NativeSerialPort() = default;

    // Opens a COM name (COM5) or a device path and sets the line; no flow control.
    virtual std::optional<SerialOpenError> open(const std::string& location,
                                                const LineSettings& line) = 0;
    virtual void close() = 0;
    virtual bool isOpen() const = 0;
    virtual Result<void> write(std::span<const std::uint8_t> bytes) = 0;
    // Waits up to wait for the first byte, then returns what has arrived; nothing when the wait
    // ends empty, an error when the line is gone.
    virtual Result<std::vector<std::uint8_t>> read(std::chrono::milliseconds wait) = 0;
    virtual void discardReceived() = 0;
};

std::unique_ptr<NativeSerialPort> makeNativeSerialPort();

// The ports the system lists, without opening any of them.
std::vector<std::string> nativeSerialPortNames();

} // namespace kym
