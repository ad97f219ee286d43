#pragma once

#include "scene/shape.h"

namespace tessera {

// Rocks about z: an isosceles triangle, apex up, base 2 and height 1.75 before scaling.
class TriangleShape final : public Shape {
public:
    TriangleShape(float x, float y, float z, float width, float height);

    void update(float dt) override;
    int draw() const override;

    float phase = 0.0f;
    float period = 0.0f;
    float amplitude = 0.0f;
};

} // namespace tessera
