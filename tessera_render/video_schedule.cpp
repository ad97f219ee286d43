#include "tessera_render/video_schedule.h"

namespace tessera {
namespace {

constexpr std::int64_t ticksPerSecond = 1000000000;

} // namespace

// Whole seconds and the rest apart, so that no product overflows for any span of ticks.
VideoSchedule::VideoSchedule(std::int64_t first, std::int64_t last, int framesPerSecond)
    : first(first), last(last), rate(framesPerSecond) {
    const std::int64_t span = last - first;
    count = span / ticksPerSecond * rate + span % ticksPerSecond * rate / ticksPerSecond + 1;
}

std::int64_t VideoSchedule::momentOf(std::int64_t frame) const {
    if (frame >= count - 1) {
        return last;
    }
    return first + frame / rate * ticksPerSecond + frame % rate * ticksPerSecond / rate;
}

} // namespace tessera
