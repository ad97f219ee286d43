#pragma once

#include "scene/shape.h"

namespace tessera {

// Rocks about z: a square of side 2 before scaling, so it is drawn with side size.
class SquareShape final : public Shape {
public:
    SquareShape(float x, float y, float z, float size);

    void update(float dt) override;
    int draw() const override;

    float phase = 0.0f;
    float period = 0.0f;
    float amplitude = 0.0f;
};

} // namespace tessera
