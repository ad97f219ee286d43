#include "screen_region.h"

#include <algorithm>
#include <cmath>
#include <stdexcept>

namespace tessera {
namespace {

constexpr int blackLimit = 16;
constexpr int greyHueLimit = 8;

void checkInside(const ScreenImage& image, const ScreenRegion& region) {
    if (region.left < 0 || region.top < 0 || region.right > image.width ||
        region.bottom > image.height || region.left >= region.right ||
        region.top >= region.bottom) {
        throw std::out_of_range("region outside the " + std::to_string(image.width) + " x " +
                                std::to_string(image.height) + " screenshot");
    }
}

template <typename Visit>
void forEachPixel(const ScreenImage& image, const ScreenRegion& region, Visit visit) {
    checkInside(image, region);
    for (int y = region.top; y < region.bottom; ++y) {
        for (int x = region.left; x < region.right; ++x) {
            visit(image.at(x, y));
        }
    }
}

double pixelCount(const ScreenRegion& region) {
    return static_cast<double>(region.right - region.left) * (region.bottom - region.top);
}

} // namespace

Rgb meanColour(const ScreenImage& image, const ScreenRegion& region) {
    double red = 0;
    double green = 0;
    double blue = 0;
    forEachPixel(image, region, [&](const Rgb& colour) {
        red += colour.red;
        green += colour.green;
        blue += colour.blue;
    });
    const double count = pixelCount(region);
    return {static_cast<int>(std::lround(red / count)),
            static_cast<int>(std::lround(green / count)),
            static_cast<int>(std::lround(blue / count))};
}

double brightnessSpread(const ScreenImage& image, const ScreenRegion& region) {
    double sum = 0;
    double sumOfSquares = 0;
    forEachPixel(image, region, [&](const Rgb& colour) {
        const double value = (colour.red + colour.green + colour.blue) / 3.0;
        sum += value;
        sumOfSquares += value * value;
    });
    const double count = pixelCount(region);
    const double mean = sum / count;
    return std::sqrt(std::max(0.0, sumOfSquares / count - mean * mean));
}

double shareOf(const ScreenImage& image, const ScreenRegion& region,
               const std::function<bool(const Rgb&)>& test) {
    double hits = 0;
    forEachPixel(image, region, [&](const Rgb& colour) {
        if (test(colour)) {
            hits += 1;
        }
    });
    return hits / pixelCount(region);
}

double shareChanged(const ScreenImage& before, const ScreenImage& after,
                    const ScreenRegion& region) {
    if (before.width != after.width || before.height != after.height) {
        throw std::invalid_argument("the shots to compare differ in size");
    }
    checkInside(before, region);
    double changed = 0;
    for (int y = region.top; y < region.bottom; ++y) {
        for (int x = region.left; x < region.right; ++x) {
            changed += isNear(before.at(x, y), after.at(x, y), 0) ? 0 : 1;
        }
    }
    return changed / pixelCount(region);
}

bool isNear(const Rgb& colour, const Rgb& target, int tolerance) {
    return std::abs(colour.red - target.red) <= tolerance &&
           std::abs(colour.green - target.green) <= tolerance &&
           std::abs(colour.blue - target.blue) <= tolerance;
}

bool isBlack(const Rgb& colour) {
    return std::max({colour.red, colour.green, colour.blue}) <= blackLimit;
}

bool isGrey(const Rgb& colour) {
    const int level = brightness(colour);
    return saturation(colour) <= greyHueLimit && level > blackLimit && level < 255 - blackLimit;
}

int brightness(const Rgb& colour) {
    return (colour.red + colour.green + colour.blue) / 3;
}

int saturation(const Rgb& colour) {
    return std::max({colour.red, colour.green, colour.blue}) -
           std::min({colour.red, colour.green, colour.blue});
}

std::ostream& operator<<(std::ostream& out, const Rgb& colour) {
    return out << "(" << colour.red << ", " << colour.green << ", " << colour.blue << ")";
}

} // namespace tessera
