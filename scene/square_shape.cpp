#include "scene/square_shape.h"

#include "scene/random.h"
#include "scene/wobble.h"

namespace tessera {

SquareShape::SquareShape(float x, float y, float z, float size) : Shape(x, y, z) {
    setScale(size * 0.5f, size * 0.5f, 1.0f);
    // Two draws from the program's sequence, period first: the toolbar's look depends on it.
    period = 4.0f + static_cast<float>((tessera::rand() % 40) / 10);
    amplitude = 3.0f + static_cast<float>((tessera::rand() % 50) / 10);
    polygons.push_back(Polygon::ring({{1.0f, 1.0f}, {-1.0f, 1.0f}, {-1.0f, -1.0f}, {1.0f, -1.0f}}));
}

void SquareShape::update(float dt) {
    Shape::update(dt);
    setRotation(0.0f, 0.0f, wobble(phase, period, amplitude, dt));
}

int SquareShape::draw() const {
    return drawInPlace();
}

} // namespace tessera
