#pragma once

namespace kym {

struct WindowRect {
    int left = 0;
    int top = 0;
    int width = 0;
    int height = 0;
    bool operator==(const WindowRect&) const = default;
};

// Centres a window of width x height on the screen's available area, shrunk to fit inside it.
// The area is in the screen's device pixels, the window and the result in window pixels; scale
// is device pixels per window pixel (2 at 200 %), so a 1280x1024 screen at 200 % holds at most
// 640x512.
WindowRect placeWindow(const WindowRect& available, int width, int height, double scale);

} // namespace kym
