#pragma once

#include "photo/rgb_image.h"

#include <cstdio>
#include <string>

namespace tessera {

// Decodes a PNG stream of any colour type and bit depth into 8-bit RGB pixels;
// transparency is composed over white. Returns an empty string on success or the
// decoder's complaint.
std::string decodePng(std::FILE* in, RgbImage& image);

} // namespace tessera
