#include "DataFormats.h"

namespace kym {

const DataFormat* findDataFormat(std::string_view name) {
    for (const auto& format : kDataFormats)
        if (format.name == name)
            return &format;
    return nullptr;
}

std::optional<std::uint8_t> dataFormatCode(std::string_view name) {
    const DataFormat* format = findDataFormat(name);
    return format ? format->imageCode : std::nullopt;
}

std::string_view dataFormatNamed(std::uint8_t code) {
    for (const auto& format : kDataFormats)
        if (format.imageCode == code)
            return format.name;
    return {};
}

} // namespace kym
