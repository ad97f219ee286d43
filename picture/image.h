#pragma once

#include <cstddef>
#include <vector>

namespace tessera {

// Largest picture or mask the readers accept: 8192 on a side, and never a buffer above
// 256 MiB (an 8192 x 8192 RGBA picture is exactly that).
constexpr int maxImageSide = 8192;
constexpr std::size_t maxImageBytes = std::size_t{256} * 1024 * 1024;

// Pixels as the readers hand them out: rows bottom-up, 4 bytes (RGBA) per pixel for a
// picture, 1 byte (the region key) per cell for a mask.
struct Image {
    std::vector<unsigned char> pixels;
    int width = 0;
    int height = 0;
};

} // namespace tessera
