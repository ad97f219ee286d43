#include "tessera/frame_pacer.h"

#include <thread>

namespace tessera {

FramePacer::FramePacer(double stepsPerSecond)
    : period(std::chrono::duration_cast<std::chrono::steady_clock::duration>(
          std::chrono::duration<double>(1.0 / stepsPerSecond))),
      next(std::chrono::steady_clock::now()) {}

std::chrono::steady_clock::time_point FramePacer::wait() {
    const auto now = std::chrono::steady_clock::now();
    if (now < next) {
        std::this_thread::sleep_until(next);
        const auto due = next;
        next += period;
        return due;
    }
    // Behind (a slow frame): start counting again from now rather than racing to catch up.
    next = now + period;
    return now;
}

} // namespace tessera
