#pragma once

#include <array>

namespace tessera {

class Canvas;

// The window pixels that the board surely covers through the Canvas's camera, which looks
// straight at it: an upright rectangle. A row or column whose pixel centres lie on an edge, where
// rasterising may round either way, is left out. Empty when the board lies outside the depth
// range or the viewport.
struct BoardFootprint {
    int x = 0;
    int y = 0;
    int width = 0;
    int height = 0;

    bool empty() const { return width <= 0 || height <= 0; }
    // Whether every pixel of a width x height window from (0, 0) is covered.
    bool covers(int windowWidth, int windowHeight) const {
        return x <= 0 && y <= 0 && x + width >= windowWidth && y + height >= windowHeight;
    }
};

// viewport: x, y, width and height, as setProjection takes them.
BoardFootprint boardFootprint(const Canvas& canvas, const std::array<int, 4>& viewport);

} // namespace tessera
