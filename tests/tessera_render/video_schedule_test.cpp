#include "tessera_render/video_schedule.h"

#include <gtest/gtest.h>

namespace tessera {
namespace {

// Frame k shows the moment first + k / rate seconds, cut down to the nanosecond, and the
// render delivers every event at or before it; the last frame shows the last event.
TEST(VideoSchedule, EachFrameShowsItsMomentToTheNanosecond) {
    const struct {
        const char* name;
        std::int64_t first;
        std::int64_t last;
        int rate;
        std::int64_t frames;
        std::int64_t frame;
        std::int64_t moment;
    } rows[] = {
        {"the first frame shows the first event", 1000000, 2001000000, 60, 121, 0, 1000000},
        {"1 a second: whole seconds", 5, 3000000005, 1, 4, 1, 1000000005},
        {"25 a second: 40 ms apart", 0, 1000000000, 25, 26, 1, 40000000},
        {"30 a second: 1/30 s is cut, not rounded", 0, 1000000000, 30, 31, 2, 66666666},
        {"30 a second: the frame after a second", 0, 2000000000, 30, 61, 31, 1033333333},
        {"60 a second: just before an event at 0.5 s", 0, 1000000000, 60, 61, 29, 483333333},
        {"60 a second: an event at 0.5 s shows at once", 0, 1000000000, 60, 61, 30, 500000000},
        {"60 a second: just after an event at 0.5 s", 0, 1000000000, 60, 61, 31, 516666666},
        {"the last frame is the last event, off the beat", 0, 999999999, 60, 60, 59, 999999999},
        {"a span one tick past a frame adds that frame", 0, 1000000001, 60, 61, 60, 1000000001},
        {"the frame before the last keeps its beat", 0, 1000000001, 60, 61, 59, 983333333},
        {"a session of no length is one frame", 42, 42, 60, 1, 0, 42},
        {"a day from a large reading", 1000000000000000000, 1000086400000000000, 60, 5184001,
         5183999, 1000086399983333333},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.name);
        const VideoSchedule schedule(row.first, row.last, row.rate);
        EXPECT_EQ(schedule.frames(), row.frames);
        EXPECT_EQ(schedule.momentOf(row.frame), row.moment);
    }
}

} // namespace
} // namespace tessera
