#pragma once

#include "image/rgb_image.h"

#include <functional>

namespace tessera {

// A decoded photograph as stored in its file, and how it must be turned to show upright
// (photo/orientation.h). image is smaller than the stored size when a JPEG was decoded at
// a smaller scale.
struct DecodedPhoto {
    RgbImage image;
    int orientation = 1;
    int storedWidth = 0;
    int storedHeight = 0;
};

// A JPEG can be decoded at 1/8 to 7/8 of its size for a fraction of the time and memory.
// The decoder offers the scales from the smallest up and takes the first one accepted,
// else the full size.
struct ScaleOffer {
    int storedWidth = 0; // full size, as stored
    int storedHeight = 0;
    int width = 0; // size at the offered scale, as stored
    int height = 0;
    int orientation = 1;
};
using ScaleCheck = std::function<bool(const ScaleOffer&)>;

} // namespace tessera
