#include "scene/triangle_shape.h"

#include "scene/random.h"
#include "scene/wobble.h"

namespace tessera {

TriangleShape::TriangleShape(float x, float y, float z, float width, float height)
    : Shape(x, y, z) {
    setScale(width * 0.5f, height * 0.5f, 1.0f);
    // Two draws from the program's sequence, period first: the toolbar's look depends on it.
    // Worked in double and rounded once: the nearest float to 3.0 + 0.1 k.
    period = static_cast<float>(3.0 + 0.1 * static_cast<double>(tessera::rand() % 40));
    amplitude = 2.0f + static_cast<float>((tessera::rand() % 50) / 20);
    polygons.push_back(Polygon::ring({{0.0f, 0.9f}, {-1.0f, -0.85f}, {1.0f, -0.85f}}));
}

void TriangleShape::update(float dt) {
    Shape::update(dt);
    setRotation(0.0f, 0.0f, wobble(phase, period, amplitude, dt));
}

int TriangleShape::draw() const {
    return drawInPlace();
}

} // namespace tessera
