#include "session/brush_latency.h"

#include <gtest/gtest.h>

namespace tessera {
namespace {

using std::chrono::microseconds;

// Each event counts from its own arrival to the frame after it; one frame shows all that
// waited for it, and the next frame counts none of them again.
TEST(BrushLatency, EachEventCountsFromItsArrivalToTheFrameAfterIt) {
    BrushLatency latency;
    const BrushLatency::Instant start{};
    for (int i = 0; i < 98; ++i) {
        latency.delivered(start + microseconds(5000)); // 5 ms before the frame
    }
    latency.delivered(start);                               // 10 ms before it
    latency.delivered(start - microseconds(2'000'000'000)); // an arrival long ago
    latency.frameShown(start + microseconds(10'000));
    latency.frameShown(start + microseconds(50'000));
    EXPECT_EQ(latency.count(), 100u);
    EXPECT_NEAR(latency.percentile(0.5), 5.0, BrushLatency::stepMilliseconds * 1.01);
    EXPECT_NEAR(latency.percentile(0.99), 10.0, BrushLatency::stepMilliseconds * 1.01);
    EXPECT_GT(latency.percentile(1.0), 999.0) << "past a second counts in the last step";
    EXPECT_EQ(BrushLatency().percentile(0.5), 0.0);
}

} // namespace
} // namespace tessera
