#include "replay/idle_run.h"

#include "replay/replay_header.h"
#include "replay/replay_writer.h"

namespace tessera {

bool idleRunStepFits(std::int64_t step, float dt) {
    return static_cast<double>(step) * (1.0 + 0x1p-23) >= static_cast<double>(dt) * 1e9;
}

bool IdleRun::add(const InputEvent& event) {
    if (event.kind != InputEvent::Idle) {
        count = 0;
        return false;
    }
    const std::int64_t gap = event.ticks - lastTicks;
    lastTicks = event.ticks;
    const bool continues = count > 0 && count < maxReplayRun && event.dt == first.dt && gap >= 0 &&
                           (count == 1 ? idleRunStepFits(gap, event.dt) : gap == step);
    if (!continues) {
        first = event;
        count = 1;
        return false;
    }
    if (count == 1) {
        step = gap;
    }
    ++count;
    return true;
}

std::string IdleRun::line() const {
    return replayIdleRunLine(first, count, step);
}

} // namespace tessera
