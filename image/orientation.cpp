#include "image/orientation.h"

#include <algorithm>
#include <cstring>

namespace tessera {
namespace {

struct Point {
    int x;
    int y;
};

// The stored pixel that shows at upright column x, row y.
Point storedPoint(int orientation, int x, int y, int storedWidth, int storedHeight) {
    const int right = storedWidth - 1;
    const int bottom = storedHeight - 1;
    switch (orientation) {
    case 2:
        return {right - x, y};
    case 3:
        return {right - x, bottom - y};
    case 4:
        return {x, bottom - y};
    case 5:
        return {y, x};
    case 6:
        return {y, bottom - x};
    case 7:
        return {right - y, bottom - x};
    case 8:
        return {right - y, x};
    default:
        return {x, y};
    }
}

} // namespace

bool swapsSides(int orientation) {
    return orientation >= 5 && orientation <= 8;
}

RgbImage orientImage(const RgbImage& stored, int orientation) {
    RgbImage upright;
    upright.width = swapsSides(orientation) ? stored.height : stored.width;
    upright.height = swapsSides(orientation) ? stored.width : stored.height;
    upright.pixels.resize(upright.pixelCount() * 3);
    std::uint8_t* out = upright.pixels.data();
    for (int y = 0; y < upright.height; ++y) {
        for (int x = 0; x < upright.width; ++x, out += 3) {
            const Point from = storedPoint(orientation, x, y, stored.width, stored.height);
            std::memcpy(out,
                        stored.pixels.data() +
                            3 * (static_cast<std::size_t>(from.y) * stored.width + from.x),
                        3);
        }
    }
    return upright;
}

PixelRect storedRect(const PixelRect& upright, int orientation, int storedWidth, int storedHeight) {
    const Point first = storedPoint(orientation, upright.x, upright.y, storedWidth, storedHeight);
    const Point last = storedPoint(orientation, upright.x + upright.width - 1,
                                   upright.y + upright.height - 1, storedWidth, storedHeight);
    const int left = std::min(first.x, last.x);
    const int top = std::min(first.y, last.y);
    return {left, top, std::max(first.x, last.x) - left + 1, std::max(first.y, last.y) - top + 1};
}

} // namespace tessera
