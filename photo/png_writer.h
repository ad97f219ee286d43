#pragma once

#include "photo/rgb_image.h"

#include <string>

namespace tessera {

// Writes the image as an 8-bit RGB PNG file: the program's snapshots, the screenshot tool
// and offscreen renders. The same image always gives the same bytes. Returns an empty
// string on success or a one-line reason for failure; a failed write leaves no partial
// file behind. compression is zlib's level, 0 (none, quickest) to 9 (smallest).
std::string writePng(const RgbImage& image, const std::string& path, int compression = 9);

} // namespace tessera
