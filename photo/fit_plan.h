#pragma once

#include "image/pixel_rect.h"

namespace tessera {

// How a photograph meets the board.
enum class Fit {
    crop,    // the centre part of the photograph with the 4:3 board's shape
    pad,     // the whole photograph, centred on black bars that give it the 4:3 board's shape
    stretch, // the whole photograph in its own shape; the 4:3 board stretches it
    own      // the board takes the photograph's own shape, within the limits below
};

// The 4:3 board of crop, pad and stretch, and of every picture set read from files unless
// its map says otherwise.
constexpr int standardBoardWidth = 640;
constexpr int standardBoardHeight = 480;
// With own, the board's longer side, and the size of its square cells; its shape is held
// between 1:2.5 and 2.5:1 (a photograph beyond shows its centre part at that limit).
constexpr int ownBoardLongSide = 640;
constexpr int boardCellUnits = 10;
constexpr double maxBoardElongation = 2.5;

struct BoardSize {
    int width = standardBoardWidth;
    int height = standardBoardHeight;

    bool operator==(const BoardSize& other) const {
        return width == other.width && height == other.height;
    }
};

// The board of own for a shape of width / height = aspect: the longer side ownBoardLongSide,
// the other a whole number of cells, so that every cell is square.
BoardSize ownBoardFor(double aspect);

// What a photograph becomes: a width x height picture showing the part `source` of the
// upright photograph, scaled to `placed`, on a board of `board` units. `placed` is the
// whole picture except with pad, where the rest is black.
struct FitPlan {
    int width = 0;
    int height = 0;
    PixelRect source;
    PixelRect placed;
    BoardSize board;
};

// Plans the picture for an upright photoWidth x photoHeight photograph (both at least 1):
// at most maxWidth x maxHeight, scaled down in proportion when larger, never scaled up.
// With own the bound is turned with the board: a portrait board's picture is at most
// maxHeight x maxWidth when maxWidth is the larger. shape, when above 0, is the board's
// width / height for own instead of the photograph's (a screen's shape, say).
// Sizes are rounded to the nearest pixel, never below 1.
FitPlan planFit(int photoWidth, int photoHeight, Fit fit, int maxWidth, int maxHeight,
                double shape = 0.0);

} // namespace tessera
