#pragma once

#include "image/rgb_image.h"

#include <cstddef>
#include <cstdint>
#include <vector>

namespace tessera {

// One colour of a captured image, 8 bits a channel.
struct Rgb {
    int red = 0;
    int green = 0;
    int blue = 0;
};

// What a capture of the screen gives: 3 bytes (red, green, blue) per pixel, rows top to
// bottom, no padding.
struct ScreenImage : RgbImage {
    std::size_t offset(int x, int y) const {
        return (static_cast<std::size_t>(y) * static_cast<std::size_t>(width) +
                static_cast<std::size_t>(x)) *
               3;
    }

    Rgb at(int x, int y) const {
        const std::size_t i = offset(x, y);
        return {pixels[i], pixels[i + 1], pixels[i + 2]};
    }
};

} // namespace tessera
