#pragma once

#include "photo/pixel_rect.h"

namespace tessera {

// How a photograph meets the board's 4:3 shape.
enum class Fit {
    crop,   // the centre part of the photograph with the board's shape
    pad,    // the whole photograph, centred on black bars that give it the board's shape
    stretch // the whole photograph in its own shape; the board stretches it
};

// What a photograph becomes: a width x height picture showing the part `source` of the
// upright photograph, scaled to `placed`. `placed` is the whole picture except with pad,
// where the rest is black.
struct FitPlan {
    int width = 0;
    int height = 0;
    PixelRect source;
    PixelRect placed;
};

// Plans the picture for an upright photoWidth x photoHeight photograph (both at least 1):
// at most maxWidth x maxHeight, scaled down in proportion when larger, never scaled up.
// Sizes are rounded to the nearest pixel, never below 1.
FitPlan planFit(int photoWidth, int photoHeight, Fit fit, int maxWidth, int maxHeight);

} // namespace tessera
