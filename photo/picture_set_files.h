#pragma once

#include "photo/picture_set.h"
#include "picture/region.h"

#include <string>
#include <vector>

namespace tessera {

// Headers of the binary picture and mask files. The program's readers know no comment
// syntax, so nothing but the numbers is written.
std::string ppmHeader(int width, int height);
std::string pgmHeader(int width, int height);

// The map file: "regions K", "background 0", then one line per key, "number key-in-hex
// red green blue", and for a board other than 640 x 480 a last line "board W H" (which
// readers of the three files that know no board leave unread).
std::string regionMapText(const std::vector<Region>& regions, BoardSize board = {});

// Writes NAME.ppm, NAME_mask.pgm and NAME.map (name may include a folder). Either all
// three are replaced or none is touched. Returns an empty string or the failure.
std::string writePictureSet(const std::string& name, const PictureSet& set);

} // namespace tessera
