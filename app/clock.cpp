#include "app/clock.h"

#include <chrono>

namespace tessera {

std::int64_t SteadyClock::ticks() {
    return std::chrono::duration_cast<std::chrono::nanoseconds>(
               std::chrono::steady_clock::now().time_since_epoch())
        .count();
}

} // namespace tessera
