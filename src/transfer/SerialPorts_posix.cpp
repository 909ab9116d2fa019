#include "QtSerialPort.h"
#include "SerialPorts.h"

namespace kym {

SerialPortFactory systemSerialPorts() {
    return qtSerialPorts();
}

} // namespace kym
