#pragma once

#include "program/picture_source.h"
#include "replay/replay_header.h"

#include <string>

namespace tessera {

// The picture a replay plays on: the one given (the command line's), or else the one the
// header names, found as the program finds it; a recording of a photograph plays on a
// photograph's bytes only, whatever the path holds. Returns an empty string with source
// set, or one line why it cannot be used: it cannot be read (when none was given, followed
// by what replayFile was recorded on and howToGive, how the command line names another
// place), or its bytes are not the ones recorded (naming it and the recorded one).
std::string replayPicture(const ReplayHeader& header, const std::string& replayFile,
                          const std::string& given, const std::string& howToGive,
                          const std::string& executable, PictureSource& source);

} // namespace tessera
