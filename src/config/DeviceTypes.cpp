#include "DeviceTypes.h"

namespace kym {

const DeviceTypeEntry* findDeviceType(std::string_view identifier) {
    for (const auto& entry : kDeviceTypes)
        if (entry.identifier == identifier)
            return &entry;
    return nullptr;
}

int gridRowsFor(std::string_view deviceType) {
    return deviceType == kQx4815 ? 25 : 9;
}

bool isTwoOutput(std::string_view deviceType) {
    return deviceType == kQr4805 || deviceType == kQd4805;
}

bool isDigitalRow(int row) {
    return (row >= 5 && row <= 8) || (row >= 13 && row <= 16) || row >= 21;
}

} // namespace kym
