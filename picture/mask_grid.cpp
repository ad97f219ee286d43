#include "picture/mask_grid.h"

#include <algorithm>

namespace tessera {

namespace {

int unitsPerCell(int boardUnits, int cells) {
    return std::max(1, boardUnits / std::max(1, cells));
}

// The cell holding coordinate v, by floating-point division truncated toward zero, then
// clamped into the grid.
int cellIndex(int v, int cellSize, int cells) {
    const int index = static_cast<int>(static_cast<float>(v) / static_cast<float>(cellSize));
    return std::clamp(index, 0, cells - 1);
}

} // namespace

int MaskGrid::cellWidth() const {
    return unitsPerCell(boardWidth, maskWidth);
}

int MaskGrid::cellHeight() const {
    return unitsPerCell(boardHeight, maskHeight);
}

long MaskGrid::cellAt(int x, int y) const {
    const int column = cellIndex(x, cellWidth(), maskWidth);
    const int row = cellIndex(y, cellHeight(), maskHeight);
    return static_cast<long>(row) * maskWidth + column;
}

} // namespace tessera
