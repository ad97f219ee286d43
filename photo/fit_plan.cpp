#include "photo/fit_plan.h"

#include <algorithm>
#include <cmath>

namespace tessera {
namespace {

// value * numerator / denominator, rounded half up; all positive.
int scaled(long long value, long long numerator, long long denominator) {
    return static_cast<int>((2 * value * numerator + denominator) / (2 * denominator));
}

struct Size {
    int width;
    int height;
};

bool widerThan(int width, int height, BoardSize board) {
    return static_cast<long long>(width) * board.height >=
           static_cast<long long>(height) * board.width;
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
PixelRect centreWindow(int width, int height, BoardSize board) {
    PixelRect window{0, 0, width, height};
    if (widerThan(width, height, board)) {
        window.width = std::clamp(scaled(height, board.width, board.height), 1, width);
    } else {
        window.height = std::clamp(scaled(width, board.height, board.width), 1, height);
    }
    window.x = (width - window.width) / 2;
    window.y = (height - window.height) / 2;
    return window;
}

// The smallest size of the board's shape that holds the photograph.
Size paddedSize(int width, int height, BoardSize board) {
    if (widerThan(width, height, board)) {
        return {width, std::max(height, scaled(width, board.height, board.width))};
    }
    return {std::max(width, scaled(height, board.width, board.height)), height};
}

} // namespace

BoardSize ownBoardFor(double aspect) {
    if (!(aspect > 0.0)) {
        aspect = 1.0;
    }
    aspect = std::clamp(aspect, 1.0 / maxBoardElongation, maxBoardElongation);
    const double shortSide = ownBoardLongSide / (aspect >= 1.0 ? aspect : 1.0 / aspect);
    // Whole cells, the nearest number, never past the elongation limit.
    const int fewestCells =
        static_cast<int>(std::ceil(ownBoardLongSide / maxBoardElongation / boardCellUnits - 1e-9));
    const int cells =
        std::max(fewestCells, static_cast<int>(std::lround(shortSide / boardCellUnits)));
    const int side = std::min(cells * boardCellUnits, ownBoardLongSide);
    return aspect >= 1.0 ? BoardSize{ownBoardLongSide, side} : BoardSize{side, ownBoardLongSide};
}

FitPlan planFit(int photoWidth, int photoHeight, Fit fit, int maxWidth, int maxHeight,
                double shape) {
    FitPlan plan;
    plan.source = PixelRect{0, 0, photoWidth, photoHeight};
    if (fit == Fit::own) {
        plan.board =
            ownBoardFor(shape > 0.0 ? shape : static_cast<double>(photoWidth) / photoHeight);
        if (plan.board.height > plan.board.width && maxWidth > maxHeight) {
            std::swap(maxWidth, maxHeight);
        }
    }
    if (fit == Fit::crop || fit == Fit::own) {
        plan.source = centreWindow(photoWidth, photoHeight, plan.board);
    }
    const Size whole = fit == Fit::pad ? paddedSize(photoWidth, photoHeight, plan.board)
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
