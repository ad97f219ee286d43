#include "session/touch_target.h"

#include "canvas/canvas.h"
#include "replay/replay_header.h"

#include <algorithm>
#include <cmath>
#include <vector>

namespace tessera {

bool landsOnShape(const Canvas& canvas, int x, int y) {
    float boardX = 0.0f;
    float boardY = 0.0f;
    if (!canvas.boardPointAt(x, y, boardX, boardY)) {
        return false;
    }
    std::vector<GLuint> names;
    canvas.hitsAt(x, y, names);
    bool onShape = false;
    for (const GLuint name : names) {
        if (name >= canvas.shapes.size()) {
            return false;
        }
        onShape = true;
    }
    return onShape;
}

float tapGrowth(const Canvas& canvas, const Shape& shape, double tapPixels) {
    const double across = canvas.shownAcross(shape);
    if (tapPixels <= 0.0 || across >= tapPixels) {
        return 1.0f;
    }
    double factor = maxReplayGrow;
    if (shape.scale.x > 0.0f) {
        factor = std::min(factor, static_cast<double>(canvas.maxGrownScale()) / shape.scale.x);
    }
    if (across > 0.0) {
        factor = std::min(factor, tapPixels / across);
    }
    // Rounded up: the shape reaches tapPixels, not a hair below.
    auto rounded = static_cast<float>(std::max(factor, 1.0));
    if (static_cast<double>(rounded) < factor) {
        rounded = std::nextafter(rounded, 2.0f * rounded);
    }
    return rounded;
}

} // namespace tessera
