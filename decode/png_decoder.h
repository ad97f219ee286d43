#pragma once

#include "decode/decoded_photo.h"

#include <cstddef>
#include <string>

namespace tessera {

// Largest PNG side decoded.
constexpr unsigned long maxPngSide = 65535;

// Decodes a PNG held in memory, of any colour type and bit depth, into 8-bit RGB pixels;
// transparency is composed over black, as --fit pad's bars are. Pictures above maxPngSide on a side
// or maxDecodedBytes in all are refused before any pixel memory is allocated. Returns an empty
// string on success or the decoder's complaint.
std::string decodePng(const unsigned char* bytes, std::size_t length, DecodedPhoto& photo);

} // namespace tessera
