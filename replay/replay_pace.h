#pragma once

#include <cstdint>

namespace tessera {

// Keeps a replay at the recorded pace without ever blocking for long: it says how long an
// event still has to wait, and the caller waits a frame at most at a time, so that the
// window keeps answering through any gap in a recording.
class ReplayPace {
public:
    // Nanoseconds of real time until the event recorded at ticks is due, when the real
    // clock reads now; 0 when it is due. The first event asked about is due at once and
    // starts the count: each later one is due once as much real time has passed since as
    // had passed in the recorded session. Only differences of readings are taken, so no
    // recorded time, however large, can overflow the arithmetic.
    std::int64_t waitFor(std::int64_t ticks, std::int64_t now);

private:
    bool started = false;
    std::int64_t firstTicks = 0;
    std::int64_t startReal = 0;
};

} // namespace tessera
