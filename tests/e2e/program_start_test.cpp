#include "child_process.h"
#include "picture_folder.h"
#include "program_under_x.h"
#include "virtual_display.h"
#include "wait_until.h"
#include "window_layout.h"

#include <gtest/gtest.h>
#include <thread>

namespace tessera {
namespace {

TEST(ProgramStart, ReportsEachFileOfThePictureSetInLoadingOrder) {
    ProgramUnderX program;
    program.start();

    ASSERT_TRUE(program.waitForOutputLines(3)) << program.errors();
    EXPECT_EQ(program.outputLines(),
              (std::vector<std::string>{"fruit.ppm: (512, 480) x 32",
                                        "fruit_mask.pgm: (64, 48) x 8", "fruit.map: OK"}));
}

TEST(ProgramStart, ShowsThePictureOnTheBoard) {
    ProgramUnderX program;
    program.start();

    ScreenImage shot;
    const bool shown = program.waitForScreen(showsFruitPicture, shot, ProgramUnderX::startTimeout);

    EXPECT_TRUE(shown) << "centre of the window: " << meanColour(shot, boardCentre)
                       << ", brightness spread " << brightnessSpread(shot, boardCentre);
    EXPECT_FALSE(isBlack(meanColour(shot, boardCorner))) << "the board reaches the corners";
}

TEST(ProgramStart, ShowsTheFourToolsOnAGreyStripAtTheBottomLeft) {
    ProgramUnderX program;
    program.start();
    ScreenImage shot;
    ASSERT_TRUE(program.waitForScreen(showsFruitPicture, shot, ProgramUnderX::startTimeout));

    const auto blue = [](const Rgb& c) { return isNear(c, buttonBlue, toolColourTolerance); };
    const auto yellow = [](const Rgb& c) { return isNear(c, iconYellow, toolColourTolerance); };
    for (int tool = 0; tool < 4; ++tool) {
        SCOPED_TRACE("tool " + std::to_string(tool));
        EXPECT_GT(shareOf(shot, toolArea(tool), blue), 0.2) << "its button face";
        EXPECT_GT(shareOf(shot, toolArea(tool), yellow), 0.2) << "its icon";
        const ScreenRegion above = toolArea(tool, 60);
        EXPECT_LT(shareOf(shot, above, blue) + shareOf(shot, above, yellow), 0.02)
            << "nothing of the toolbar higher up";
    }
    for (const ScreenRegion& gap : stripGaps) {
        SCOPED_TRACE("strip at x " + std::to_string(gap.left));
        EXPECT_EQ(shareOf(shot, gap, isGrey), 1.0) << meanColour(shot, gap);
        // Shaded from light grey at the top to dark grey at the bottom.
        const ScreenRegion topRow{gap.left, gap.top, gap.right, gap.top + 1};
        const ScreenRegion bottomRow{gap.left, gap.bottom - 1, gap.right, gap.bottom};
        EXPECT_GT(brightness(meanColour(shot, topRow)),
                  brightness(meanColour(shot, bottomRow)) + 30);
    }
}

// A bare server (Xvfb alone, or xinit with tessera as its only client) starts afresh when
// its last client leaves: the program's own look at the display must not leave it so just
// before GLUT connects.
TEST(ProgramStart, StartsOnAServerThatResetsWhenItsLastClientLeaves) {
    using namespace std::chrono_literals;
    VirtualDisplay display(640, 480, VirtualDisplay::ResetWhenIdle);
    PictureFolder folder;
    // A connection that comes during the reset fails only some of the time: three starts,
    // each after the reset that the one before (or the server's readiness check) left.
    for (int start = 0; start < 3; ++start) {
        SCOPED_TRACE("start " + std::to_string(start + 1));
        std::this_thread::sleep_for(500ms);
        ChildProcess run({TESSERA_PATH, "--window"}, folder.path(), {"DISPLAY=" + display.name()});
        const bool loaded = waitUntil(ProgramUnderX::startTimeout, [&] {
            return !run.poll() || run.output().lines().size() >= 3;
        });
        ASSERT_TRUE(loaded && run.poll()) << run.errors().text();
        EXPECT_EQ(run.errors().text(), "");
    }
}

} // namespace
} // namespace tessera
