#pragma once

#include "decode/decoded_photo.h"

#include <cstddef>
#include <string>

namespace tessera {

// Decodes a JPEG held in memory (grey, colour or CMYK) into RGB pixels, at the smallest scale that
// acceptScale accepts, and reads its EXIF orientation. Returns an empty string on success or the
// decoder's complaint. Corrupt-data warnings count as failures: a picture set built from
// made-up pixels would be wrong without anyone noticing.
std::string decodeJpeg(const unsigned char* bytes, std::size_t length,
                       const ScaleCheck& acceptScale, DecodedPhoto& photo);

} // namespace tessera
