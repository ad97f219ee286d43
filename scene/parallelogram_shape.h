#pragma once

#include "scene/shape.h"

namespace tessera {

// Rocks about z: a parallelogram leaning right, 2.2 wide and 1.6 high before scaling.
class ParallelogramShape final : public Shape {
public:
    ParallelogramShape(float x, float y, float z, float size);

    void update(float dt) override;
    int draw() const override;

    float phase = 0.0f;
    float period = 0.0f;
    float amplitude = 0.0f;
};

} // namespace tessera
