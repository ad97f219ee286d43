#include "program_under_x.h"
#include "window_layout.h"

#include <chrono>
#include <cstdlib>
#include <gtest/gtest.h>

namespace tessera {
namespace {

using namespace std::chrono_literals;

// The share of pixels where two shots of one size differ by more than a faint shimmer.
double changedShare(const ScreenImage& a, const ScreenImage& b) {
    if (a.pixels.size() != b.pixels.size() || a.pixels.empty()) {
        return 1.0;
    }
    std::size_t changed = 0;
    for (std::size_t i = 0; i < a.pixels.size(); i += 3) {
        for (std::size_t c = 0; c < 3; ++c) {
            if (std::abs(a.pixels[i + c] - b.pixels[i + c]) > 24) {
                ++changed;
                break;
            }
        }
    }
    return static_cast<double>(changed) / static_cast<double>(a.pixels.size() / 3);
}

TEST(Invitation, TheDemoPlaysOnAnUntouchedBoardAndTheFirstPressLeavesNoneOfIt) {
    ProgramUnderX program;
    program.start({"--window", "--invite", "--invite-after", "3"});
    ScreenImage bare;
    ASSERT_TRUE(program.waitForScreen(showsFruitPicture, bare, ProgramUnderX::startTimeout));
    ScreenImage invited;
    ASSERT_TRUE(program.waitForScreen(
        [&](const ScreenImage& shot) { return changedShare(bare, shot) > 0.01; }, invited, 20s))
        << "with no input the screen stayed the bare picture";

    program.movePointer(600, 60);
    program.click(1);
    ScreenImage visited;
    EXPECT_TRUE(program.waitForScreen(
        [&](const ScreenImage& shot) { return changedShare(bare, shot) < 0.002; }, visited, 2s))
        << "the invitation's shapes stayed: " << changedShare(bare, visited) << " changed";
}

} // namespace
} // namespace tessera
