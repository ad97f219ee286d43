#include "program_under_x.h"
#include "window_layout.h"

#include <gtest/gtest.h>

namespace tessera {
namespace {

constexpr int leftButton = 1;
constexpr int rightButton = 3;
constexpr int squareTool = 2;
constexpr int toolbarMiddle = (toolbarTop + toolbarBottom) / 2;

TEST(Pointer, ClickingAToolLightsItUp) {
    ProgramUnderX program;
    program.start();
    ScreenImage shot;
    ASSERT_TRUE(program.waitForScreen(showsFruitPicture, shot, ProgramUnderX::startTimeout));
    const auto lit = [](const Rgb& c) { return isNear(c, litIconYellow, 10); };
    for (int tool = 0; tool < 4; ++tool) {
        EXPECT_LT(shareOf(shot, toolArea(tool), lit), 0.01) << "no tool is lit at the start";
    }

    program.movePointer(toolCentreX[squareTool], toolbarMiddle);
    program.click(leftButton);

    const auto squareToolLit = [&](const ScreenImage& s) {
        return shareOf(s, toolArea(squareTool), lit) > 0.2;
    };
    EXPECT_TRUE(program.waitForScreen(squareToolLit, shot));
    for (int tool : {0, 1, 3}) {
        EXPECT_LT(shareOf(shot, toolArea(tool), lit), 0.01) << "tool " << tool;
    }
}

// Picking and painting run on every press; none of it prints or ends the program.
TEST(Pointer, ClicksOnTheToolbarAndTheBoardLeaveTheProgramTakingKeys) {
    ProgramUnderX program;
    program.start();
    ASSERT_TRUE(program.waitForOutputLines(3)) << program.errors();

    program.movePointer(toolCentreX[squareTool], toolbarMiddle);
    program.click(leftButton);
    program.movePointer(320, 240);
    program.click(rightButton);
    program.movePointer(200, 200);
    program.click(leftButton);
    program.typeText("q");

    ASSERT_TRUE(program.waitForOutputLines(4)) << program.errors();
    EXPECT_EQ(program.outputLines().size(), 4u);
    EXPECT_EQ(program.outputLines().back(), "113");
    EXPECT_EQ(program.waitForExit(ProgramUnderX::Timeout(0)), std::nullopt);
}

// The first shape of a session draws depth 0 from the random sequence: it must still show.
TEST(Pointer, HoldingTheRightButtonOnTheBoardPaintsAShapeThatGrows) {
    ProgramUnderX program;
    program.start();
    ScreenImage before;
    ASSERT_TRUE(program.waitForScreen(showsFruitPicture, before, ProgramUnderX::startTimeout));
    const ScreenRegion aroundPress{360, 60, 440, 140};
    const ScreenRegion elsewhere{100, 250, 300, 400};

    program.movePointer(400, 100);
    program.pressButton(rightButton);

    ScreenImage shot;
    const auto changedBy = [&](double share) {
        return [&before, &aroundPress, share](const ScreenImage& s) {
            return shareChanged(before, s, aroundPress) > share;
        };
    };
    EXPECT_TRUE(program.waitForScreen(changedBy(0.005), shot)) << "a shape appears";
    const double first = shareChanged(before, shot, aroundPress);
    EXPECT_TRUE(program.waitForScreen(changedBy(2 * first), shot)) << "it grows while held";
    program.releaseButton(rightButton);
    EXPECT_EQ(shareChanged(before, shot, elsewhere), 0.0);
}

} // namespace
} // namespace tessera
