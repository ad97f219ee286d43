#pragma once

#include "app/picture_source.h"
#include "session/replay_header.h"

#include <string>

namespace tessera {

// The picture a replay plays on: the one given (the command line's), or else the one the
// header names, found as the program finds it. Returns an empty string with source set,
// or one line why it cannot be used: it cannot be read, or its bytes are not the ones
// recorded.
std::string replayPicture(const ReplayHeader& header, const std::string& given,
                          const std::string& executable, PictureSource& source);

} // namespace tessera
