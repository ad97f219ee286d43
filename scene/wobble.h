#pragma once

namespace tessera {

// One step of a shape's idle wobble: phase advances by dt and starts again from 0 once it
// has passed the period (a phase equal to the period stays). Returns
// sin(2 pi phase / period) * amplitude.
float wobble(float& phase, float period, float amplitude, float dt);

} // namespace tessera
