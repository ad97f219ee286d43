#pragma once

#include <cstdint>
#include <vector>

namespace tessera {

// A grid of cellsAcross x cellsDown cells laid over a width x height picture of region
// keys (rows top to bottom). Cell edges fall on whole pixels, at column c * width /
// cellsAcross and row r * height / cellsDown, so every pixel belongs to exactly one cell.
// Each cell takes the key that covers most of its pixels, the lowest key on a tie.
// Returns the cells row by row from the top; the grid must not exceed the picture.
std::vector<std::uint8_t> buildCellMask(const std::vector<std::uint8_t>& keys, int width,
                                        int height, int cellsAcross, int cellsDown);

} // namespace tessera
