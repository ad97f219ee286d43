#include "scene/body.h"

namespace tessera {

void Body::reset() {
    position = homePosition;
    rotation = homeRotation;
    step.fill(0.0f);
    velocity.fill(0.0f);
    acceleration.fill(0.0f);
    elapsed = 0.0f;
    duration = 0.0f;
    target = homePosition;
}

void Body::moveTo(float newDuration, float x, float y, float z) {
    if (newDuration == 0.0f) {
        reset();
        position.set(x, y, z);
        return;
    }
    duration = newDuration;
    elapsed = 0.0f;
    target.set(x, y, z);
    // The current velocity is kept: a move begun while moving carries on smoothly.
    acceleration = (target - position) * 2.0f / (accelerationShare * duration * duration);
}

void Body::update(float dt) {
    const float t = elapsed;
    const float total = duration;
    const float half = accelerationShare * total;
    if (t < half) {
        if (t + dt >= half) {
            acceleration = acceleration * (-t) / (total - t);
        }
        // A step longer than the whole deceleration would otherwise leave the
        // deceleration in force for ever; it ends the move instead.
        if (t + dt >= total && total > 0.0f) {
            acceleration.fill(0.0f);
            velocity.fill(0.0f);
            position = target;
        }
    } else if (t < total && t + dt >= total) {
        acceleration.fill(0.0f);
        velocity.fill(0.0f);
        position = target;
    }
    velocity = velocity + acceleration * dt;
    step = velocity * dt;
    position = position + step;
    elapsed = t + dt;
}

void Body::returnHome(float moveDuration) {
    moveTo(moveDuration, homePosition.x, homePosition.y, homePosition.z);
}

void Body::setPosition(float x, float y, float z) {
    position.set(x, y, z);
}

void Body::setRotation(float x, float y, float z) {
    rotation.set(x, y, z);
}

} // namespace tessera
