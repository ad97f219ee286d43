#pragma once

#include "photo/rgb_image.h"

#include <string>

namespace tessera {

// Writes the image as an 8-bit RGB PNG file: the program's snapshots, the screenshot tool
// and offscreen renders. The same image always gives the same bytes. Returns an empty
// string on success or a one-line reason for failure; a failed write leaves no partial
// file behind.
enum class PngPacking {
    Small, // the smallest file: snapshots and screenshots, few and kept
    Quick  // a few times quicker, files a sixth larger: a render's many frames
};
std::string writePng(const RgbImage& image, const std::string& path,
                     PngPacking packing = PngPacking::Small);

} // namespace tessera
