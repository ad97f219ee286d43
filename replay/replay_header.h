#pragma once

#include "canvas/idle_scatter.h"
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
    // The board the picture was shown on; version 3 and before knew only 640 x 480.
    BoardSize board;
    // The Canvas's options that change what a session does.
    double clearAfterSeconds = 0.0;
    // Version 2 did not say: it means the default.
    double idleScatterSeconds = defaultIdleScatterSeconds;
    int maxShapes = 0;
    bool referenceDrawing = false;
    // The Canvas's leastToolPixels, which decides what a press near the toolbar hits.
    // Before version 4 there was only the mouse's toolbar: 0.
    double leastToolPixels = 0.0;
    // FNV-1a 64 of the bytes the picture was read from.
    std::uint64_t checksum = 0;
};

// Version 1 painted each press at the window pixel taken as a board point; from version 2
// a press paints the board point under the pointer. Version 3 adds the idle scatter's
// seconds to the canvas line and writes a run of like idle steps as one line. Version 4
// notes the board's size, which a photograph of its own shape sets, adds the toolbar's least
// tool width to the canvas line, and the grow event of a touch. Version 5 gives each
// pointer's events but the mouse's its pointer's id, and a pointer's own tool.
constexpr int replayFormatVersion = 5;
// The oldest version still played as it was recorded.
constexpr int oldestReplayFormatVersion = 2;
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
constexpr int maxReplayPointer = 2147483647;
constexpr int maxReplayTool = 3;
constexpr double maxReplayStep = 1.0e6;
constexpr int maxReplayShapes = 100000000;
constexpr double maxReplayClearAfter = 1.0e9;
constexpr double maxReplayToolPixels = maxReplayWindowSide;
// A grow event's factor is from 1 (no growth) to this.
constexpr double maxReplayGrow = 1.0e6;
// Steps in one idle run line: some 4.6 hours at 60 a second. A longer stretch takes more
// lines, and a file checked before it plays never holds more than this in one line.
constexpr std::int64_t maxReplayRun = 1000000;

} // namespace tessera
