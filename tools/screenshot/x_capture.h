#pragma once

#include "tools/screenshot/screen_image.h"

#include <string>

namespace tessera {

// Screen captures from an X server. displayName is as for XOpenDisplay; an empty one
// means $DISPLAY. Each function connects, captures and disconnects, and returns an empty
// string on success or a one-line reason for failure (image is then left empty).

// The whole screen of the display's default root window.
std::string captureRoot(const std::string& displayName, ScreenImage& image);

// What the screen shows of one window, at the window's own size (border excluded) and in
// its own coordinates; any part of it outside the screen comes out black.
std::string captureWindow(const std::string& displayName, unsigned long window, ScreenImage& image);

// The same for the first viewable window whose title is exactly windowName.
std::string captureNamedWindow(const std::string& displayName, const std::string& windowName,
                               ScreenImage& image);

} // namespace tessera
