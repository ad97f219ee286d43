#pragma once

#include "photo/picture_set.h"
#include "picture/image.h"
#include "picture/region_map.h"

namespace tessera {

// A picture set laid out as the program's readers hand it over: exactly what readPpm,
// readPgm and readRegionMap give for the three files writePictureSet writes, so that the
// program can show a set made in memory without writing files.
struct PictureSetBuffers {
    Image picture;       // RGBA, alpha 255, rows bottom-up
    Image mask;          // one region key per cell, rows bottom-up
    RegionMap regionMap; // regionCount and one table entry per key, background 0
};

PictureSetBuffers pictureSetBuffers(const PictureSet& set);

} // namespace tessera
