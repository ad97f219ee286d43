#pragma once

#include <chrono>

namespace tessera {

// Holds the idle loop to a steady rate. The motion is tuned to a 60 Hz display: a circle's
// pulse adds its step once per update, so an unthrottled loop on a fast machine (or in a
// window without vertical sync) would swell circles far past their size, and burn a whole
// processor redrawing frames nobody sees.
class FramePacer {
public:
    explicit FramePacer(double stepsPerSecond);

    // Returns once at least one period has passed since the previous return, with the
    // instant the step is for: the one it waited for, on a steady grid while the loop keeps
    // up (so that idle steps come alike and record as one line), or now when it fell behind.
    std::chrono::steady_clock::time_point wait();

private:
    std::chrono::steady_clock::duration period;
    std::chrono::steady_clock::time_point next;
};

} // namespace tessera
