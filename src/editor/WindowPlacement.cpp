#include "editor/WindowPlacement.h"

#include <algorithm>
#include <cmath>

namespace kym {

WindowRect placeWindow(const WindowRect& available, int width, int height, double scale) {
    const auto inWindowPixels = [scale](int devicePixels) {
        return static_cast<int>(std::floor(devicePixels / scale));
    };
    const WindowRect area{static_cast<int>(std::ceil(available.left / scale)),
                          static_cast<int>(std::ceil(available.top / scale)),
                          inWindowPixels(available.width), inWindowPixels(available.height)};
    const int fittedWidth = std::clamp(width, 0, area.width);
    const int fittedHeight = std::clamp(height, 0, area.height);
    return {area.left + (area.width - fittedWidth) / 2, area.top + (area.height - fittedHeight) / 2,
            fittedWidth, fittedHeight};
}

} // namespace kym
