#pragma once

#include "session/input_event.h"
#include "session/replay_header.h"

#include <string>

namespace tessera {

// The text of a replay file: the header lines up to and including "events", then one line
// per event. Every number is written so that reading it back gives the same value (a
// float dt with 9 significant digits).

// Empty when the header can be written; otherwise why not (a path with a line break).
std::string replayHeaderError(const ReplayHeader& header);
std::string replayHeaderText(const ReplayHeader& header);
std::string replayEventLine(const InputEvent& event);

} // namespace tessera
