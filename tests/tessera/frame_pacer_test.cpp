#include "tessera/frame_pacer.h"

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

TEST(FramePacer, GivesStepsAnInstantAlreadyPastAndAPeriodAfterTheLast) {
    // An event read after the step must never seem to come before it.
    FramePacer pacer(200.0);
    auto last = pacer.wait();
    for (int i = 0; i < 10; ++i) {
        const auto instant = pacer.wait();
        EXPECT_LE(instant, std::chrono::steady_clock::now());
        EXPECT_GE(instant - last, std::chrono::milliseconds(5));
        last = instant;
    }
}

} // namespace
} // namespace tessera
