#include "share/token_bucket.h"

#include <gtest/gtest.h>

namespace tessera {
namespace {

TEST(TokenBucket, AllowsItsBurstThenItsRate) {
    const TokenBucket::Clock::time_point start{};
    TokenBucket bucket(100.0, 3.0, start);
    const auto at = [start](int milliseconds) {
        return start + std::chrono::milliseconds(milliseconds);
    };
    // The burst at once, then one for each hundredth of a second; a long pause refills only
    // up to the burst; a clock reading from before the last adds nothing.
    const std::pair<int, bool> takes[] = {{0, true},    {0, true},    {0, true},    {0, false},
                                          {9, false},   {11, true},   {11, false},  {5, false},
                                          {1000, true}, {1000, true}, {1000, true}, {1000, false}};
    for (const auto& [when, taken] : takes) {
        EXPECT_EQ(bucket.take(at(when)), taken) << "at " << when << " ms";
    }
}

} // namespace
} // namespace tessera
