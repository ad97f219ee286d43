#pragma once

#include <cstdint>

namespace tessera {

// A colour in CIELAB (D65 white): distances there follow perceived differences far better
// than distances between RGB values, which is what grouping a photograph's colours needs.
struct Lab {
    double l = 0; // lightness, 0 to 100
    double a = 0; // green (negative) to red (positive)
    double b = 0; // blue (negative) to yellow (positive)
};

inline double squaredDistance(const Lab& p, const Lab& q) {
    const double dl = p.l - q.l;
    const double da = p.a - q.a;
    const double db = p.b - q.b;
    return dl * dl + da * da + db * db;
}

// Converts an 8-bit sRGB colour to CIELAB.
Lab labFromRgb(std::uint8_t red, std::uint8_t green, std::uint8_t blue);

// Converts back to 8-bit sRGB, clamping colours outside the sRGB gamut.
void rgbFromLab(const Lab& colour, std::uint8_t rgb[3]);

} // namespace tessera
