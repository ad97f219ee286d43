#pragma once

#include "picture/image.h"

#include <cstdint>
#include <string>
#include <vector>

namespace tessera {

// A decoded photograph: 3 bytes (red, green, blue) per pixel, rows top to bottom as in
// the source file, no padding.
struct RgbImage {
    std::vector<std::uint8_t> pixels;
    int width = 0;
    int height = 0;

    std::size_t pixelCount() const {
        return static_cast<std::size_t>(width) * static_cast<std::size_t>(height);
    }
};

// The picture becomes the program's board texture, so it obeys the program's own size
// limit. Returns an empty string when the size is acceptable.
inline std::string imageSizeError(unsigned long width, unsigned long height) {
    const unsigned long limit = static_cast<unsigned long>(maxImageSide);
    if (width == 0 || height == 0 || width > limit || height > limit) {
        return "picture is " + std::to_string(width) + " x " + std::to_string(height) +
               " pixels; at most " + std::to_string(limit) + " a side is supported";
    }
    return "";
}

} // namespace tessera
