#pragma once

#include <cstdint>

namespace tessera {

// Which moment of the recorded clock each frame of a video shows, at a constant rate: frame
// k shows the session as it stood k / rate seconds after its first event, so that the
// video lasts as long as the session did, within a frame. The last frame shows the end of
// the session, its last event included.
class VideoSchedule {
public:
    // first and last are the readings of the session's first and last events (ticks of a
    // nanosecond, first <= last).
    VideoSchedule(std::int64_t first, std::int64_t last, int framesPerSecond);

    std::int64_t frames() const { return count; }
    std::int64_t momentOf(std::int64_t frame) const;

private:
    std::int64_t first;
    std::int64_t last;
    int rate;
    std::int64_t count;
};

} // namespace tessera
