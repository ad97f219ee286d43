#include "image/cell_mask.h"

#include <array>

namespace tessera {
namespace {

int cellEdge(int cell, int pixels, int cells) {
    return static_cast<int>(static_cast<long long>(cell) * pixels / cells);
}

} // namespace

std::vector<std::uint8_t> buildCellMask(const std::vector<std::uint8_t>& keys, int width,
                                        int height, int cellsAcross, int cellsDown) {
    std::vector<std::uint8_t> mask;
    mask.reserve(static_cast<std::size_t>(cellsAcross) * cellsDown);
    for (int row = 0; row < cellsDown; ++row) {
        const int top = cellEdge(row, height, cellsDown);
        const int bottom = cellEdge(row + 1, height, cellsDown);
        for (int column = 0; column < cellsAcross; ++column) {
            const int left = cellEdge(column, width, cellsAcross);
            const int right = cellEdge(column + 1, width, cellsAcross);
            std::array<int, 256> votes{};
            for (int y = top; y < bottom; ++y) {
                for (int x = left; x < right; ++x) {
                    ++votes[keys[static_cast<std::size_t>(y) * width + x]];
                }
            }
            int winner = 0;
            for (int key = 1; key < 256; ++key) {
                if (votes[key] > votes[winner]) {
                    winner = key;
                }
            }
            mask.push_back(static_cast<std::uint8_t>(winner));
        }
    }
    return mask;
}

} // namespace tessera
