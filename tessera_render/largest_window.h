#pragma once

#include <string>

namespace tessera {

// The largest window a recorded session had, each side on its own: the header's size and
// every reshape's, at least 1 x 1. Returns an empty string with width and height set, or
// the fault of the file.
std::string largestWindow(const std::string& replayPath, int& width, int& height);

} // namespace tessera
