#pragma once

#include "image/pixel_rect.h"
#include "image/rgb_image.h"

namespace tessera {

// Shrinks the part `window` of source to width x height by area averaging: each new pixel
// is the mean of the source pixels it covers, each weighted by how much of it is covered.
// The arithmetic is exact in integers, so the result depends on nothing but the input.
// window lies inside source; width and height run from 1 to the window's (never larger).
RgbImage resampleBox(const RgbImage& source, const PixelRect& window, int width, int height);

} // namespace tessera
