#pragma once

#include "scene/shape.h"

namespace tessera {

// Pulses in size: a regular octagon of circumradius 1, drawn at radius size.
class CircleShape final : public Shape {
public:
    CircleShape(float x, float y, float z, float size);

    void update(float dt) override;
    int draw() const override;

    float phase = 0.0f;
    float period = 0.0f;
    float amplitude = 0.0f;
};

} // namespace tessera
