#pragma once

#include <array>

namespace tessera {

class Canvas;

// The window pixels that the board surely covers through the Canvas's camera, and the depth
// it gives them. The camera looks straight at the board, so the board shows as an upright
// rectangle at one depth. A row or column whose pixel centres lie on an edge, where
// rasterising may round either way, is left out. Empty when the board lies outside the depth
// range or the viewport.
struct BoardFootprint {
    int x = 0;
    int y = 0;
    int width = 0;
    int height = 0;
    double depth = 1.0;

    bool empty() const { return width <= 0 || height <= 0; }
};

// viewport: x, y, width and height, as setProjection takes them.
BoardFootprint boardFootprint(const Canvas& canvas, const std::array<int, 4>& viewport);

} // namespace tessera
