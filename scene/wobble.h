#pragma once

#include <cmath>

namespace tessera {

// One step of a shape's idle wobble: phase advances by dt and starts again from 0 once it
// has passed the period (a phase equal to the period stays). Returns
// sin(2 pi phase / period) * amplitude.
inline float wobble(float& phase, float period, float amplitude, float dt) {
    phase += dt;
    if (phase > period) {
        phase = 0.0f;
    }
    return std::sin(phase * 6.283185307178f / period) * amplitude;
}

} // namespace tessera
