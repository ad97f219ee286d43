#include "stage/clock.h"

#include <chrono>

namespace tessera {

namespace {

std::int64_t nanosecondsAt(std::chrono::steady_clock::time_point instant) {
    return std::chrono::duration_cast<std::chrono::nanoseconds>(instant.time_since_epoch()).count();
}

std::int64_t steadyNanoseconds() {
    return nanosecondsAt(std::chrono::steady_clock::now());
}

} // namespace

SteadyClock::SteadyClock() : origin(steadyNanoseconds()) {}

std::int64_t SteadyClock::ticks() {
    return steadyNanoseconds() - origin;
}

std::int64_t SteadyClock::ticksAt(std::chrono::steady_clock::time_point instant) const {
    return nanosecondsAt(instant) - origin;
}

} // namespace tessera
