#include "program_under_x.h"
#include "window_layout.h"

#include <gtest/gtest.h>

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

} // namespace
} // namespace tessera
