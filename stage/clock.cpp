#include "stage/clock.h"

#include <chrono>

namespace tessera {

namespace {

std::int64_t steadyNanoseconds() {
    return std::chrono::duration_cast<std::chrono::nanoseconds>(
               std::chrono::steady_clock::now().time_since_epoch())
        .count();
}

} // namespace

SteadyClock::SteadyClock() : origin(steadyNanoseconds()) {}

std::int64_t SteadyClock::ticks() {
    return steadyNanoseconds() - origin;
}

} // namespace tessera
