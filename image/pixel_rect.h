#pragma once

namespace tessera {

// A rectangle of whole pixels: left column, top row, width and height.
struct PixelRect {
    int x = 0;
    int y = 0;
    int width = 0;
    int height = 0;

    bool operator==(const PixelRect& other) const {
        return x == other.x && y == other.y && width == other.width && height == other.height;
    }
};

} // namespace tessera
