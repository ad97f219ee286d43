#include "app/frame_pacer.h"

#include <gtest/gtest.h>

namespace tessera {
namespace {

TEST(FramePacer, SpacesStepsAtLeastOnePeriodApart) {
    FramePacer pacer(200.0);
    const auto start = std::chrono::steady_clock::now();
    for (int i = 0; i < 10; ++i) {
        pacer.wait();
    }
    EXPECT_GE(std::chrono::steady_clock::now() - start, std::chrono::milliseconds(45));
}

} // namespace
} // namespace tessera
