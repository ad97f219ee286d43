#pragma once

#include "tools/screenshot/screen_image.h"

#include <functional>
#include <ostream>

namespace tessera {

// A rectangle of window pixels: left and top included, right and bottom excluded.
struct ScreenRegion {
    int left = 0;
    int top = 0;
    int right = 0;
    int bottom = 0;
};

// Region statistics that tolerate the small shifts and shading differences of software
// rendering, so tests can say what a part of the window looks like.
Rgb meanColour(const ScreenImage& image, const ScreenRegion& region);
// The standard deviation of pixel brightness: near 0 for a flat fill, large for a photo.
double brightnessSpread(const ScreenImage& image, const ScreenRegion& region);
// The share (0 to 1) of the region's pixels for which test holds.
double shareOf(const ScreenImage& image, const ScreenRegion& region,
               const std::function<bool(const Rgb&)>& test);

// The share (0 to 1) of the region's pixels that differ between two shots of one size.
double shareChanged(const ScreenImage& before, const ScreenImage& after,
                    const ScreenRegion& region);

// Every channel within tolerance of the target.
bool isNear(const Rgb& colour, const Rgb& target, int tolerance);
bool isBlack(const Rgb& colour);
// Neither black nor white and without a hue: red, green and blue nearly equal.
bool isGrey(const Rgb& colour);
int brightness(const Rgb& colour);
// How far the colour is from a grey of the same brightness.
int saturation(const Rgb& colour);

// For test failure messages: "(r, g, b)".
std::ostream& operator<<(std::ostream& out, const Rgb& colour);

} // namespace tessera
