#include "scene/wobble.h"

#include <cmath>

namespace tessera {

float wobble(float& phase, float period, float amplitude, float dt) {
    phase += dt;
    if (phase > period) {
        phase = 0.0f;
    }
    return std::sin(phase * 6.283185307178f / period) * amplitude;
}

} // namespace tessera
