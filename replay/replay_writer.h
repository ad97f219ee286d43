#pragma once

#include "replay/input_event.h"
#include "replay/replay_header.h"

#include <cstdint>
#include <string>

namespace tessera {

// The text of a replay file: the header lines up to and including "events", then one line
// per event. Every number is written so that reading it back gives the same value (a
// float dt with 9 significant digits).

// Empty when the header can be written; otherwise why not (a path with a line break).
std::string replayHeaderError(const ReplayHeader& header);
std::string replayHeaderText(const ReplayHeader& header);
std::string replayEventLine(const InputEvent& event);
// count idle steps of first's dt, the first at first's ticks and each next one step ticks
// after the one before: "TICKS idle DT xCOUNT every STEP", or the plain line for one.
std::string replayIdleRunLine(const InputEvent& first, std::int64_t count, std::int64_t step);

} // namespace tessera
