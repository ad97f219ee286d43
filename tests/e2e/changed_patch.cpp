#include "changed_patch.h"

#include <algorithm>
#include <cmath>
#include <stdexcept>

namespace tessera {

bool ChangedPatch::insideWithMargin(const ScreenRegion& region, int margin) const {
    return !empty() && bounds.left >= region.left + margin && bounds.top >= region.top + margin &&
           bounds.right <= region.right - margin && bounds.bottom <= region.bottom - margin;
}

ChangedPatch changedPatch(const ScreenImage& before, const ScreenImage& after,
                          const ScreenRegion& region) {
    if (before.width != after.width || before.height != after.height) {
        throw std::invalid_argument("the shots to compare differ in size");
    }
    if (region.left < 0 || region.top < 0 || region.right > after.width ||
        region.bottom > after.height || region.left >= region.right ||
        region.top >= region.bottom) {
        throw std::out_of_range("region outside the screenshot");
    }
    ChangedPatch patch;
    patch.bounds = {region.right, region.bottom, region.left, region.top};
    double sumX = 0.0;
    double sumY = 0.0;
    double red = 0.0;
    double green = 0.0;
    double blue = 0.0;
    for (int y = region.top; y < region.bottom; ++y) {
        for (int x = region.left; x < region.right; ++x) {
            const Rgb now = after.at(x, y);
            if (isNear(before.at(x, y), now, 0)) {
                continue;
            }
            ++patch.count;
            sumX += x;
            sumY += y;
            red += now.red;
            green += now.green;
            blue += now.blue;
            patch.bounds.left = std::min(patch.bounds.left, x);
            patch.bounds.top = std::min(patch.bounds.top, y);
            patch.bounds.right = std::max(patch.bounds.right, x + 1);
            patch.bounds.bottom = std::max(patch.bounds.bottom, y + 1);
        }
    }
    if (patch.count == 0) {
        patch.bounds = {};
        return patch;
    }
    const double n = patch.count;
    patch.centreX = sumX / n;
    patch.centreY = sumY / n;
    patch.colour = {static_cast<int>(std::lround(red / n)),
                    static_cast<int>(std::lround(green / n)),
                    static_cast<int>(std::lround(blue / n))};
    double diagonalReach = 0.0;
    double axisReach = 0.0;
    for (int y = patch.bounds.top; y < patch.bounds.bottom; ++y) {
        for (int x = patch.bounds.left; x < patch.bounds.right; ++x) {
            if (isNear(before.at(x, y), after.at(x, y), 0)) {
                continue;
            }
            const double dx = std::abs(x - patch.centreX);
            const double dy = std::abs(y - patch.centreY);
            diagonalReach = std::max(diagonalReach, dx + dy);
            axisReach = std::max(axisReach, std::max(dx, dy));
        }
    }
    patch.cornerReach = axisReach > 0.0 ? diagonalReach / axisReach : 0.0;
    patch.fill = n / (static_cast<double>(patch.bounds.right - patch.bounds.left) *
                      (patch.bounds.bottom - patch.bounds.top));
    return patch;
}

ScreenRegion around(int x, int y, int halfSize) {
    return {x - halfSize, y - halfSize, x + halfSize + 1, y + halfSize + 1};
}

} // namespace tessera
