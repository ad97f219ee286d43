#pragma once

#include "photo/rgb_image.h"

#include <cstdio>
#include <string>

namespace tessera {

// Decodes a JPEG stream into RGB pixels. Returns an empty string on success or the
// decoder's complaint. Corrupt-data warnings count as failures: a picture set built
// from made-up pixels would be wrong without anyone noticing.
std::string decodeJpeg(std::FILE* in, RgbImage& image);

} // namespace tessera
