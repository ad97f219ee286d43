#pragma once

#include "scene/vec3.h"

#include <array>

namespace tessera {

// What a picture set gives the board, once: the picture's pixels for its texture (RGBA,
// rows bottom-up) and the quad that shows it, each corner with its texture coordinate.
struct BoardPicture {
    struct Corner {
        Vec3 texture;
        Vec3 position;
    };

    const char* name = "";
    const unsigned char* pixels = nullptr;
    int width = 0;
    int height = 0;
    std::array<Corner, 4> corners;
};

} // namespace tessera
