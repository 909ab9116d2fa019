#include "DeviceTypes.h"

namespace kym {

const DeviceTraits* findDeviceType(std::string_view identifier) {
    for (const auto& traits : kDeviceTypes)
        if (traits.identifier == identifier)
            return &traits;
    return nullptr;
}

const DeviceTraits& traitsOf(std::string_view identifier) {
    const DeviceTraits* traits = findDeviceType(identifier);
    return traits ? *traits : kUnknownDeviceType;
}

std::vector<int> outputRows(const DeviceTraits& traits) {
    if (traits.twoOutput)
        return {kTwoOutputRows.begin(), kTwoOutputRows.end()};
    std::vector<int> rows;
    for (int row = 1; row < traits.gridRows; ++row)
        rows.push_back(row);
    return rows;
}

bool isDigitalRow(int row) {
    return (row >= 5 && row <= 8) || (row >= 13 && row <= 16) || row >= 21;
}

} // namespace kym
