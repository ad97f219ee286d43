#pragma once

namespace tessera {

// How a region mask of maskWidth x maskHeight cells lies over a board of boardWidth x
// boardHeight units: whole board units per cell (truncated, but never below 1), and the
// cell under a board point. Points past the last whole cell (a board that is not a
// multiple of the mask, or the board's top and right edges) take the nearest cell, so
// every board point maps to a cell inside the mask.
struct MaskGrid {
    int boardWidth;
    int boardHeight;
    int maskWidth;
    int maskHeight;

    int cellWidth() const;
    int cellHeight() const;
    // Index into the mask buffer (rows bottom-up, like board y) of the cell under (x, y).
    // The mask must have at least one cell.
    long cellAt(int x, int y) const;
};

} // namespace tessera
