#pragma once

#include "photo/photo_options.h"

#include <cstddef>
#include <cstdint>
#include <string>

namespace tessera {

// What a replay file says before its events: enough to set the program up as the
// recorded session was, and to refuse a picture other than the one it was recorded on.
struct ReplayHeader {
    enum Picture { DefaultPicture, PictureSet, Photograph };

    int width = 640;
    int height = 480;
    Picture picture = DefaultPicture;
    // As the command line gave it; empty for the default picture.
    std::string picturePath;
    // How the photograph was made into a picture set; only for a photograph.
    PhotoOptions photo;
    // The Canvas's options that change what a session does.
    double clearAfterSeconds = 0.0;
    int maxShapes = 0;
    bool referenceDrawing = false;
    // FNV-1a 64 of the bytes the picture was read from.
    std::uint64_t checksum = 0;
};

// Version 1 painted each press at the window pixel taken as a board point; from version 2
// a press paints the board point under the pointer.
constexpr int replayFormatVersion = 2;
// Every line, a picture's path included, fits in this many bytes with its line feed.
constexpr std::size_t maxReplayLine = 4200;
// Ranges of the recorded numbers.
// tessera-render draws at the recorded size: 8192 x 8192 (an 8K display fits) takes it
// about a gigabyte (measured: 1.05 GB), where Mesa's own limit, 16384, takes over three.
constexpr int maxReplayWindowSide = 8192;
constexpr int maxReplayCoordinate = 1000000;
// A session's clock starts at 0 with the program: 10^18 nanoseconds is some 31 years of
// running, and leaves room for any sum of two readings.
constexpr std::int64_t maxReplayTicks = 1000000000000000000;
constexpr int maxReplayButton = 31;
constexpr int maxReplayKey = 255;
constexpr double maxReplayStep = 1.0e6;
constexpr int maxReplayShapes = 100000000;
constexpr double maxReplayClearAfter = 1.0e9;

} // namespace tessera
