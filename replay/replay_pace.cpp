#include "replay/replay_pace.h"

namespace tessera {

std::int64_t ReplayPace::waitFor(std::int64_t ticks, std::int64_t now) {
    if (!started) {
        started = true;
        firstTicks = ticks;
        startReal = now;
        return 0;
    }
    // Both readings of each pair are from 0 up and in order, so neither difference can
    // overflow, nor can the one between them.
    const std::int64_t recorded = ticks - firstTicks;
    const std::int64_t passed = now - startReal;
    return recorded > passed ? recorded - passed : 0;
}

} // namespace tessera
