#pragma once

#include "scene/vec3.h"

namespace tessera {

// A positioned, rotatable object that makes one timed move at a time: constant
// acceleration over the first 70 % of the move, then a deceleration that brings it to
// rest on the target.
class Body {
public:
    Body() = default;
    virtual ~Body() = default;

    virtual void reset();
    virtual void update(float dt);
    virtual void moveTo(float duration, float x, float y, float z);
    virtual void returnHome(float duration);
    virtual void setPosition(float x, float y, float z);
    virtual void setRotation(float x, float y, float z);

    Vec3 position;
    Vec3 rotation;
    Vec3 step;
    Vec3 velocity;
    Vec3 acceleration;
    Vec3 homePosition;
    Vec3 homeRotation;
    float elapsed = 0.0f;
    float duration = 0.0f;
    Vec3 target;
};

// The share of a timed move spent accelerating (the float nearest 0.7).
constexpr float accelerationShare = 0.7f;

} // namespace tessera
