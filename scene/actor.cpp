#include "scene/actor.h"

#include "scene/body.h"

#include <algorithm>
#include <cmath>
#include <limits>

namespace tessera {

Actor::Actor(float x, float y, float z) : position(x, y, z), homePosition(x, y, z) {}

Actor::Actor(const Actor& other)
    : position(other.position), rotation(other.rotation), scale(other.scale), colour(other.colour),
      homePosition(other.homePosition), homeRotation(other.homeRotation),
      homeScale(other.homeScale), homeColour(other.homeColour), current(other.current),
      loop(other.loop), elapsed(other.elapsed), duration(other.duration) {
    for (int c = 0; c < channelCount; ++c) {
        step[c] = other.step[c];
        velocity[c] = other.velocity[c];
        acceleration[c] = other.acceleration[c];
    }
}

Actor::~Actor() = default;

Vec3& Actor::value(int channel) {
    switch (channel) {
    case PositionChannel:
        return position;
    case RotationChannel:
        return rotation;
    case ScaleChannel:
        return scale;
    default:
        return colour;
    }
}

const Vec3& Actor::value(int channel) const {
    return const_cast<Actor*>(this)->value(channel);
}

namespace {

// Only +0: an update keeps a +0 speed as it is and adds a +0 step, where a -0 would turn.
bool plusZero(const Vec3& v) {
    return !std::signbit(v.x) && !std::signbit(v.y) && !std::signbit(v.z) && v.x == 0.0f &&
           v.y == 0.0f && v.z == 0.0f;
}

} // namespace

bool Actor::atRest() const {
    if (current >= 0 && current < static_cast<int>(keyframes.size())) {
        return false;
    }
    for (int c = 0; c < channelCount; ++c) {
        if (!plusZero(velocity[c]) || !plusZero(acceleration[c])) {
            return false;
        }
    }
    return true;
}

void Actor::reportStartsTo(bool* flag) {
    startReport = flag;
}

void Actor::reset() {
    position = homePosition;
    rotation = homeRotation;
    scale = homeScale;
    colour = homeColour;
    for (int c = 0; c < channelCount; ++c) {
        step[c].fill(0.0f);
        velocity[c].fill(0.0f);
        acceleration[c].fill(0.0f);
    }
    elapsed = 0.0f;
    duration = 0.0f;
}

void Actor::stopMotion() {
    for (int c = 0; c < channelCount; ++c) {
        velocity[c].fill(0.0f);
        acceleration[c].fill(0.0f);
    }
}

void Actor::updateInSteps(float dt) {
    // The stepwise law overshoots a keyframe that lasts less than a few updates, and each
    // restart of a looping list then overshoots further, until the values are no longer
    // finite (a short gesture, or one long frame). Such an update is taken in steps of at
    // most a quarter of the keyframe; ordinary updates are untouched. The steps are
    // bounded: past the budget, a list still playing drops the rest of the stall rather
    // than take it in one step it cannot survive.
    double remaining = dt;
    for (int steps = 0;; ++steps) {
        const double limit = stepLimit(remaining);
        if (remaining <= limit) {
            advance(static_cast<float>(remaining));
            return;
        }
        if (steps == maxSubsteps) {
            return;
        }
        advance(static_cast<float>(limit));
        remaining -= limit;
    }
}

double Actor::stepLimit(double remaining) const {
    double limit = std::numeric_limits<double>::infinity();
    const int count = static_cast<int>(keyframes.size());
    if (current < 0 || current >= count) {
        return limit;
    }
    const auto share = [&limit](float keyframeDuration) {
        if (keyframeDuration > 0.0f) {
            limit = std::min(limit, static_cast<double>(keyframeDuration) * substepShare);
        }
    };
    const bool running = elapsed < duration;
    if (running) {
        share(duration);
    }
    // The keyframe that starts when this one ends (or at once, after an end or a reset)
    // plays the rest of the step. Summed in float, as advance() sums when it decides to
    // start the next keyframe: in double, a step that float rounding carries exactly onto
    // the end could seem to stop short of it and be taken whole by the next keyframe.
    if (!running || elapsed + static_cast<float>(remaining) >= duration) {
        if (current + 1 < count) {
            share(keyframes[current + 1].duration);
        } else if (loop == 1) {
            share(keyframes[0].duration);
        }
    }
    return limit;
}

void Actor::advance(float dt) {
    const int count = static_cast<int>(keyframes.size());
    const float t = elapsed;
    const float total = duration;
    bool listEnds = false;
    if (current >= 0 && current < count) {
        const float half = accelerationShare * total;
        if (keyframes[current].mode == Eased && t < half && t + dt >= half) {
            for (int c = 0; c < channelCount; ++c) {
                acceleration[c] = acceleration[c] * (-t) / (total - t);
            }
        }
        if (t + dt >= total) {
            if (current + 1 < count) {
                startKeyframe(current + 1);
            } else if (loop == 1) {
                startKeyframe(0);
            } else {
                listEnds = t < total;
            }
        }
    }
    integrate(dt);
    if (listEnds) {
        // The list has played once: after the step that reaches its end, come to rest
        // rather than keep decelerating backwards (eased) or drifting on (linear).
        stopMotion();
    }
}

void Actor::clearKeyframes() {
    keyframes.clear();
    current = -1;
}

Actor* Actor::queueMove(float moveDuration, float x, float y, float z, int mode) {
    return queueMoveTo(moveDuration, x, y, z, mode);
}

Actor* Actor::queueMoveTo(float moveDuration, float x, float y, float z, int mode) {
    if (moveDuration == 0.0f) {
        reset();
        position.set(x, y, z);
        return this;
    }
    auto snapshot = std::make_unique<Actor>(*this);
    snapshot->position.set(x, y, z);
    return append(moveDuration, std::move(snapshot), mode);
}

Actor* Actor::queueMoveToActor(float moveDuration, const Actor* other, int mode) {
    if (moveDuration == 0.0f) {
        reset();
        position = other->position;
        return this;
    }
    return append(moveDuration, std::make_unique<Actor>(*other), mode);
}

Actor* Actor::append(float moveDuration, std::unique_ptr<Actor> snapshot, int mode) {
    loop = 1;
    Actor* target = snapshot.get();
    keyframes.push_back(Keyframe{std::move(snapshot), moveDuration, mode});
    if (keyframes.size() == 1) {
        startKeyframe(0);
    }
    return target;
}

Actor* Actor::queueReturnHome(float moveDuration) {
    return queueMoveTo(moveDuration, homePosition.x, homePosition.y, homePosition.z, Eased);
}

void Actor::startKeyframe(int index) {
    const Keyframe& keyframe = keyframes[index];
    if (startReport != nullptr) {
        *startReport = true;
    }
    current = index;
    elapsed = 0.0f;
    duration = keyframe.duration;
    const float total = keyframe.duration;
    const Actor& target = *keyframe.snapshot;
    if (total == 0.0f) {
        for (int c = 0; c < channelCount; ++c) {
            value(c) = target.value(c);
        }
        return;
    }
    if (keyframe.mode == Eased) {
        for (int c = 0; c < channelCount; ++c) {
            acceleration[c] =
                (target.value(c) - value(c)) * 2.0f / (accelerationShare * total * total);
        }
        for (int c = 0; c < channelCount; ++c) {
            velocity[c].fill(0.0f);
        }
    } else if (keyframe.mode == Linear) {
        for (int c = 0; c < channelCount; ++c) {
            velocity[c] = (target.value(c) - value(c)) / total;
        }
        for (int c = 0; c < channelCount; ++c) {
            acceleration[c].fill(0.0f);
        }
    }
}

void Actor::translate(float dx, float dy, float dz) {
    position.add(dx, dy, dz);
}

void Actor::rotate(float dx, float dy, float dz) {
    rotation.add(dx, dy, dz);
}

void Actor::scaleBy(float sx, float sy, float sz) {
    scale.x *= sx;
    scale.y *= sy;
    scale.z *= sz;
}

void Actor::shiftColour(float dr, float dg, float db) {
    colour.add(dr, dg, db);
}

void Actor::setPosition(float x, float y, float z) {
    position.set(x, y, z);
}

void Actor::setRotation(float x, float y, float z) {
    rotation.set(x, y, z);
}

void Actor::setScale(float x, float y, float z) {
    scale.set(x, y, z);
}

void Actor::setColour(float r, float g, float b) {
    colour.set(r, g, b);
}

} // namespace tessera
