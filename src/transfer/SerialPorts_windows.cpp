#include "SerialPorts.h"
#include "WinSerialPort.h"

namespace kym {

SerialPortFactory systemSerialPorts() {
    return winSerialPorts();
}

} // namespace kym
