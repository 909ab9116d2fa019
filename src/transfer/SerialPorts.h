#pragma once

#include "SerialPort.h"

namespace kym {

// Makes the system's real serial ports: Qt's, or the native ones on Windows.
SerialPortFactory systemSerialPorts();

} // namespace kym
