#include "photo/fit_plan.h"

#include <algorithm>

namespace tessera {
namespace {

constexpr long long boardWidthShare = 4;
constexpr long long boardHeightShare = 3;

// value * numerator / denominator, rounded half up; all positive.
int scaled(long long value, long long numerator, long long denominator) {
    return static_cast<int>((2 * value * numerator + denominator) / (2 * denominator));
}

struct Size {
    int width;
    int height;
};

bool widerThanBoard(int width, int height) {
    return width * boardHeightShare >= height * boardWidthShare;
}

Size fitInside(Size size, int maxWidth, int maxHeight) {
    if (size.width <= maxWidth && size.height <= maxHeight) {
        return size;
    }
    if (static_cast<long long>(size.width) * maxHeight >=
        static_cast<long long>(size.height) * maxWidth) {
        return {maxWidth, std::max(1, scaled(size.height, maxWidth, size.width))};
    }
    return {std::max(1, scaled(size.width, maxHeight, size.height)), maxHeight};
}

// The largest rectangle of the board's shape inside the photograph, centred.
PixelRect centreWindow(int width, int height) {
    PixelRect window{0, 0, width, height};
    if (widerThanBoard(width, height)) {
        window.width = std::clamp(scaled(height, boardWidthShare, boardHeightShare), 1, width);
    } else {
        window.height = std::clamp(scaled(width, boardHeightShare, boardWidthShare), 1, height);
    }
    window.x = (width - window.width) / 2;
    window.y = (height - window.height) / 2;
    return window;
}

// The smallest size of the board's shape that holds the photograph.
Size paddedSize(int width, int height) {
    if (widerThanBoard(width, height)) {
        return {width, std::max(height, scaled(width, boardHeightShare, boardWidthShare))};
    }
    return {std::max(width, scaled(height, boardWidthShare, boardHeightShare)), height};
}

} // namespace

FitPlan planFit(int photoWidth, int photoHeight, Fit fit, int maxWidth, int maxHeight) {
    FitPlan plan;
    plan.source = PixelRect{0, 0, photoWidth, photoHeight};
    if (fit == Fit::crop) {
        plan.source = centreWindow(photoWidth, photoHeight);
    }
    const Size whole = fit == Fit::pad ? paddedSize(photoWidth, photoHeight)
                                       : Size{plan.source.width, plan.source.height};
    const Size picture = fitInside(whole, maxWidth, maxHeight);
    plan.width = picture.width;
    plan.height = picture.height;
    plan.placed = PixelRect{0, 0, picture.width, picture.height};
    if (fit == Fit::pad) {
        plan.placed.width =
            std::clamp(scaled(photoWidth, picture.width, whole.width), 1, picture.width);
        plan.placed.height =
            std::clamp(scaled(photoHeight, picture.height, whole.height), 1, picture.height);
        plan.placed.x = (picture.width - plan.placed.width) / 2;
        plan.placed.y = (picture.height - plan.placed.height) / 2;
    }
    return plan;
}

} // namespace tessera
