#pragma once

#include <memory>

namespace tessera {

class Actor;

// How a keyframe drives the channels: Eased accelerates then decelerates, Linear moves at
// constant speed. Any other mode leaves the motion as it is for the keyframe's duration.
enum KeyframeMode : int { Eased = 0, Linear = 1 };

// One step of an Actor's animation: reach the snapshot's four channel values in duration
// seconds. The keyframe owns its snapshot.
struct Keyframe {
    std::unique_ptr<Actor> snapshot;
    float duration = 0.0f;
    int mode = Eased;
};

} // namespace tessera
