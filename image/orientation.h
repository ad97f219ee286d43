#pragma once

#include "image/pixel_rect.h"
#include "image/rgb_image.h"

namespace tessera {

// The EXIF orientation of a stored picture: how it must be turned to show upright.
// 1 as stored, 2 mirrored left to right, 3 turned half round, 4 mirrored top to bottom,
// 5 mirrored about the main diagonal, 6 turned a quarter clockwise, 7 mirrored about the
// other diagonal, 8 turned a quarter anticlockwise. Any other value counts as 1.
bool swapsSides(int orientation); // 5 to 8: the upright picture's width is the stored height

// The stored picture shown upright.
RgbImage orientImage(const RgbImage& stored, int orientation);

// The part of a storedWidth x storedHeight picture that shows as `upright` once turned.
PixelRect storedRect(const PixelRect& upright, int orientation, int storedWidth, int storedHeight);

} // namespace tessera
