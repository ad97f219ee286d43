#pragma once

#include "tools/screenshot/screen_image.h"

#include <string>

namespace tessera {

// Reads a PNG file as 8-bit RGB; an unreadable file adds a test failure and gives an
// empty image.
ScreenImage readPng(const std::string& path);

} // namespace tessera
