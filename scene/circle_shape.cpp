#include "scene/circle_shape.h"

#include "scene/random.h"
#include "scene/wobble.h"

#include <cmath>
#include <utility>
#include <vector>

namespace tessera {

namespace {

constexpr double quarterPi = 0.78539816339744830962;

} // namespace

CircleShape::CircleShape(float x, float y, float z, float size) : Shape(x, y, z) {
    setScale(size, size, 1.0f);
    // Two draws from the program's sequence, period first: the toolbar's look depends on it.
    period = 3.0f + static_cast<float>((tessera::rand() % 40) / 10);
    amplitude = static_cast<float>(tessera::rand() % 50) / 150.0f;
    std::vector<std::pair<float, float>> points;
    for (int k = 0; k < 8; ++k) {
        points.emplace_back(static_cast<float>(std::cos(k * quarterPi)),
                            static_cast<float>(std::sin(k * quarterPi)));
    }
    polygons.push_back(Polygon::ring(points));
}

void CircleShape::update(float dt) {
    Shape::update(dt);
    const float w = wobble(phase, period, amplitude, dt);
    setScale(scale.x + w, scale.y + w, 0.0f);
}

int CircleShape::draw() const {
    return drawInPlace();
}

} // namespace tessera
