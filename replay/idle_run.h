#pragma once

#include "replay/input_event.h"

#include <cstdint>
#include <string>

namespace tessera {

// Whether idle steps of dt may come step nanoseconds apart in one run: each is taken on the
// clock at least as long after the one before as its dt says, rounded to a float (by at most
// one part in 2^24; twice that is allowed). Steps sooner than their dt are work the recorded
// time does not hold.
bool idleRunStepFits(std::int64_t step, float dt);

// Consecutive idle steps of one dt, each the same number of ticks after the one before,
// with no other event between: what a recording writes as one line, so that an idle hour
// costs a few bytes instead of a line a frame.
class IdleRun {
public:
    // Counts event in and returns true when it continues the run; otherwise the run starts
    // afresh at event (an idle step) or is over (any other event) and it returns false.
    bool add(const InputEvent& event);
    // The run's line; for a run of one, the idle step's own line.
    std::string line() const;

private:
    InputEvent first;
    std::int64_t count = 0;
    std::int64_t step = 0;
    std::int64_t lastTicks = 0;
};

} // namespace tessera
