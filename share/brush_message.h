#pragma once

#include "session/brush_event.h"

#include <cstddef>
#include <string>
#include <string_view>

namespace tessera {

// The longest message a phone sends: "move 0.1234567 0.1234567" with room to spare.
constexpr std::size_t maxBrushMessageBytes = 64;

// Reads one text message from a phone into event's kind, u, v and tool (nothing else of it
// changes):
//   "down U V", "move U V", "up U V"  U, V: shares of the picture's width from the left and
//                                     height from the top, 0 to 1, as digits with at most one
//                                     point, at most 9 characters
//   "tool T"                          T: a painting tool 0 to 3, or 4 to select
// with single spaces between the words. Returns an empty string, or the one-line reason the
// message is not one of these (short enough for a WebSocket close frame).
std::string readBrushMessage(std::string_view message, BrushEvent& event);

} // namespace tessera
