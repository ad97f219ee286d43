#pragma once

#include "image/rgb_image.h"

#include <string>

namespace tessera {

// What the current GL read buffer holds, width x height pixels from the left edge and from
// row bottom up (counted from the bottom: 0 in a window), with the rows top-down as an
// image file has them.
RgbImage readFrame(int width, int height, int bottom);

// Saves what the current GL read buffer holds, width x height pixels from the origin, as
// the next free tessera-NNNN.png (tessera-0001.png first) in folder, never replacing a
// file. Returns an empty string and sets name to the file written, or returns one line
// saying what went wrong (nothing is left behind then).
std::string saveSnapshot(int width, int height, const std::string& folder, std::string& name);

} // namespace tessera
