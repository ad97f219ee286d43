#include "replay/replay_header.h"
#include "replay/replay_pace.h"

#include <cstdint>
#include <gtest/gtest.h>

namespace tessera {
namespace {

constexpr std::int64_t second = 1000000000;

TEST(ReplayPace, AnEventIsDueOnceAsMuchRealTimeHasPassedAsInTheSession) {
    ReplayPace pace;
    const std::int64_t start = 7 * second;
    EXPECT_EQ(pace.waitFor(2 * second, start), 0) << "the first event starts the count";
    // A minute's pause in the session: waited for, to the nanosecond.
    EXPECT_EQ(pace.waitFor(62 * second, start), 60 * second);
    EXPECT_EQ(pace.waitFor(62 * second, start + 60 * second - 1), 1);
    EXPECT_EQ(pace.waitFor(62 * second, start + 60 * second), 0);
    EXPECT_EQ(pace.waitFor(63 * second, start + 90 * second), 0) << "a late event is due at once";
    EXPECT_EQ(pace.waitFor(93 * second, start + 90 * second), second)
        << "the count keeps to the first event, not to the late one";
}

TEST(ReplayPace, TheLargestRecordedTimesDoNotOverflow) {
    ReplayPace fromZero;
    fromZero.waitFor(0, 6666609276);
    EXPECT_EQ(fromZero.waitFor(INT64_MAX, 6666609276 + second), INT64_MAX - second);

    ReplayPace late;
    late.waitFor(maxReplayTicks, INT64_MAX - second);
    EXPECT_EQ(late.waitFor(maxReplayTicks, INT64_MAX), 0);
}

} // namespace
} // namespace tessera
