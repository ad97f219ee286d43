#pragma once

#include <cstddef>

namespace tessera {

// The orientation tag (0x0112 in the first image directory) of a JPEG APP1 segment's
// payload: "Exif" and two zero bytes, then a TIFF header in either byte order. Returns the
// tag's value, 1 to 8, or 1 (show as stored) when the payload is no EXIF block, has no
// such tag, or is broken in any way.
int exifOrientation(const unsigned char* payload, std::size_t length);

} // namespace tessera
