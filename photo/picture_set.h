#pragma once

#include "image/rgb_image.h"
#include "photo/fit_plan.h"
#include "picture/region.h"

#include <cstdint>
#include <vector>

namespace tessera {

// The three parts of a picture set, ready to be written.
struct PictureSet {
    RgbImage picture;
    std::vector<std::uint8_t> mask; // region key per cell, rows top to bottom
    int maskWidth = 0;
    int maskHeight = 0;
    std::vector<Region> regions; // indexed by key
    BoardSize board;             // the board the picture is shown on
    // The upright photograph it was made from, before fitting and scaling (makePictureSet).
    int photoWidth = 0;
    int photoHeight = 0;
};

// Groups the photograph's colours into regionCount regions and lays a cellsAcross x
// cellsDown mask over it. The caller checks that 1 <= regionCount <= min(255, pixels)
// and that the grid fits inside the picture.
PictureSet buildPictureSet(RgbImage photograph, int regionCount, int cellsAcross, int cellsDown);

} // namespace tessera
