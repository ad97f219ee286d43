#pragma once

#include "support/temp_dir.h"

#include <functional>
#include <string>

namespace tessera::test {

struct Rgb8 {
    unsigned char r, g, b;
};

// Writes a picture set NAME.ppm, NAME_mask.pgm and NAME.map into dir and returns the base
// path to hand to Canvas::load. Pixel and cell functions take (column, row) with row 0 at
// the top, as the files store them.
std::string writePictureSet(const TempDir& dir, const std::string& name, int pictureWidth,
                            int pictureHeight, const std::function<Rgb8(int, int)>& pixel,
                            int maskWidth, int maskHeight,
                            const std::function<unsigned char(int, int)>& cell,
                            const std::string& map);

} // namespace tessera::test
