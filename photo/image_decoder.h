#pragma once

#include "photo/rgb_image.h"

#include <string>

namespace tessera {

// Reads a JPEG or PNG file, recognised by its signature, into image. Returns an empty
// string on success or a message naming what is wrong (without the file name). Pictures
// larger than maxImageSide on a side are refused before any pixel memory is allocated.
std::string decodeImage(const char* path, RgbImage& image);

} // namespace tessera
