#pragma once

#include "tools/screenshot/screen_image.h"

#include <string>

namespace tessera {

// Writes the image as an 8-bit RGB PNG file. Returns an empty string on success or a
// one-line reason for failure; a failed write leaves no partial file behind.
std::string writePng(const ScreenImage& image, const std::string& path);

} // namespace tessera
