#pragma once

#include "scene/keyframe.h"
#include "scene/vec3.h"

#include <cmath>
#include <vector>

namespace tessera {

// Longest part of a keyframe one integration step may cover, and the most steps one
// update is split into; what a playing list has left beyond them is dropped.
constexpr double substepShare = 0.25;
constexpr int maxSubsteps = 4096;

// An animated object with four channels (position, rotation, scale, colour), each with a
// value, velocity, acceleration and last step, and a list of keyframes played in order.
class Actor {
public:
    enum Channel { PositionChannel = 0, RotationChannel, ScaleChannel, ColourChannel };
    static constexpr int channelCount = 4;

    Actor(float x, float y, float z);
    // A snapshot: every value, motion vector, home value and playback field of other, and
    // an empty keyframe list.
    Actor(const Actor& other);
    Actor& operator=(const Actor&) = delete;
    virtual ~Actor();

    virtual void reset();
    // Defined below: the idle step calls it for every shape, most often with no keyframe.
    virtual void update(float dt);
    virtual void clearKeyframes();
    virtual Actor* queueMove(float duration, float x, float y, float z, int mode);
    virtual Actor* queueMoveTo(float duration, float x, float y, float z, int mode);
    virtual Actor* queueMoveToActor(float duration, const Actor* other, int mode);
    virtual Actor* queueReturnHome(float duration);
    virtual void startKeyframe(int index);
    virtual void translate(float dx, float dy, float dz);
    virtual void rotate(float dx, float dy, float dz);
    virtual void scaleBy(float sx, float sy, float sz);
    virtual void shiftColour(float dr, float dg, float db);
    virtual void setPosition(float x, float y, float z);
    virtual void setRotation(float x, float y, float z);
    virtual void setScale(float x, float y, float z);
    virtual void setColour(float r, float g, float b);

    Vec3& value(int channel);
    const Vec3& value(int channel) const;
    // No keyframe to play and every velocity and acceleration +0.
    bool atRest() const;
    // flag is set whenever this Actor starts a keyframe: an outline that leaves its resting
    // vertices alone learns so that one moves again. Snapshots do not inherit it.
    void reportStartsTo(bool* flag);

    Vec3 position;
    Vec3 rotation;
    Vec3 scale;
    Vec3 colour;
    Vec3 step[channelCount];
    Vec3 velocity[channelCount];
    Vec3 acceleration[channelCount];
    Vec3 homePosition;
    Vec3 homeRotation;
    Vec3 homeScale;
    Vec3 homeColour;
    std::vector<Keyframe> keyframes;
    int current = -1;
    int loop = 0;
    float elapsed = 0.0f;
    float duration = 0.0f;

private:
    // No keyframe can start, switch or end its motion in the next update: none is current,
    // or the last has run its time without a loop.
    bool playsNothing() const;
    // An update that may start or switch a keyframe, taken in bounded steps.
    void updateInSteps(float dt);
    // One step of keyframe playback and integration.
    void advance(float dt);
    void integrate(float dt);
    // The longest step the stepwise law may take next, given the time still to cover.
    double stepLimit(double remaining) const;
    Actor* append(float duration, std::unique_ptr<Actor> snapshot, int mode);
    void stopMotion();

    bool* startReport = nullptr;
};

inline void Actor::update(float dt) {
    // With no keyframe to start or switch, the step limit is infinite and the update one
    // plain integration step, whatever its length; a NaN length still meets the budget.
    if (playsNothing() && !std::isnan(dt)) {
        integrate(dt);
    } else {
        updateInSteps(dt);
    }
}

inline bool Actor::playsNothing() const {
    const int count = static_cast<int>(keyframes.size());
    if (current < 0 || current >= count) {
        return true;
    }
    // Past the end of a keyframe of no negative length, neither its deceleration switch nor
    // its end is still ahead.
    return current == count - 1 && loop != 1 && duration >= 0.0f && elapsed >= duration;
}

inline void Actor::integrate(float dt) {
    for (int c = 0; c < channelCount; ++c) {
        velocity[c] = velocity[c] + acceleration[c] * dt;
    }
    for (int c = 0; c < channelCount; ++c) {
        step[c] = velocity[c] * dt;
    }
    position = position + step[PositionChannel];
    rotation = rotation + step[RotationChannel];
    scale = scale + step[ScaleChannel];
    colour = colour + step[ColourChannel];
    elapsed = elapsed + dt;
}

} // namespace tessera
