#pragma once

#include "decode/decoded_photo.h"

#include <cstddef>
#include <string>

namespace tessera {

// Decodes a JPEG or PNG held in memory, recognised by its signature. acceptScale chooses
// how small a JPEG may be decoded (photo/decoded_photo.h); PNGs are always decoded whole
// and upright. Returns an empty string on success or a message naming what is wrong.
std::string decodePhoto(const unsigned char* bytes, std::size_t length,
                        const ScaleCheck& acceptScale, DecodedPhoto& photo);

} // namespace tessera
