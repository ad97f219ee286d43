#pragma once

namespace tessera {

// The window size a recording holds for a live window of the size: the same where neither
// side is above maxReplayWindowSide, which the readers take at most; otherwise the largest
// size of the same shape within it, both sides scaled by one factor, rounded, and a side
// that had pixels never 0.
struct RecordedSize {
    int width = 0;
    int height = 0;
};
RecordedSize recordedSize(int width, int height);

} // namespace tessera
