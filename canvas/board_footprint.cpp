#include "canvas/board_footprint.h"

#include "canvas/canvas.h"
#include "canvas/pick_volume.h"

#include <algorithm>
#include <cmath>

namespace tessera {

namespace {

// Rasterising snaps corners to a fraction of a pixel and rounds: a pixel whose centre lies
// this near an edge of the board may or may not be covered.
constexpr double unsureCoverage = 0.02;

// The first pixel and the number of pixels whose centres lie surely between the window
// coordinates `low` and `high`, within the viewport's span of `size` pixels from `origin`.
std::array<int, 2> coveredSpan(double low, double high, int origin, int size) {
    const int first = std::max(static_cast<int>(std::ceil(low - 0.5 + unsureCoverage)), origin);
    const int last =
        std::min(static_cast<int>(std::floor(high - 0.5 - unsureCoverage)), origin + size - 1);
    return {first, last - first + 1};
}

} // namespace

BoardFootprint boardFootprint(const Canvas& canvas, const std::array<int, 4>& viewport) {
    const auto [vx, vy, vw, vh] = viewport;
    const double distance = canvas.cameraDistance;
    if (vw <= 0 || vh <= 0 || !(distance > canvas.zNear && distance < canvas.zFar)) {
        return {};
    }
    // The camera the frame is drawn with: a window narrower than the board widens its view.
    const double aspect = static_cast<double>(vw) / vh;
    double clip[4][4];
    PickVolume::cameraProjection(canvas.cameraFor(aspect), aspect, clip);
    // Board points have z = 0, and the camera looks along z: w is the same everywhere.
    const double w = clip[3][3];
    const auto window = [&](int row, double board, int origin, int size) {
        return origin + 0.5 * ((clip[row][row] * board + clip[row][3]) / w + 1.0) * size;
    };
    const auto [x, width] =
        coveredSpan(window(0, 0.0, vx, vw), window(0, canvas.boardWidth, vx, vw), vx, vw);
    const auto [y, height] =
        coveredSpan(window(1, 0.0, vy, vh), window(1, canvas.boardHeight, vy, vh), vy, vh);
    if (width <= 0 || height <= 0) {
        return {};
    }
    return {x, y, width, height};
}

} // namespace tessera
