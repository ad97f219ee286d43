#include "changed_patch.h"
#include "painting.h"
#include "program_under_x.h"
#include "window_layout.h"

#include <chrono>
#include <cmath>
#include <gtest/gtest.h>
#include <thread>

namespace tessera {
namespace {

using namespace std::chrono_literals;

constexpr int toolbarMiddle = (toolbarTop + toolbarBottom) / 2;
// The board above the toolbar, where painted shapes show against the bare picture.
constexpr ScreenRegion aboveToolbar{0, 0, 640, toolbarTop - 6};

bool lit(const Rgb& colour) {
    return isNear(colour, litIconYellow, 10);
}

bool toolLit(const ScreenImage& shot, int tool) {
    return shareOf(shot, toolArea(tool), lit) > 0.2;
}

TEST(Pointer, ClickingAToolLightsItUpAndDimsThePreviousOne) {
    ProgramUnderX program;
    program.start();
    ScreenImage shot;
    ASSERT_TRUE(program.waitForScreen(showsFruitPicture, shot, ProgramUnderX::startTimeout));
    for (int tool = 0; tool < 4; ++tool) {
        EXPECT_LT(shareOf(shot, toolArea(tool), lit), 0.01) << "no tool is lit at the start";
    }

    chooseTool(program, squareTool);

    EXPECT_TRUE(
        program.waitForScreen([](const ScreenImage& s) { return toolLit(s, squareTool); }, shot));
    for (int tool : {0, 1, 3}) {
        EXPECT_LT(shareOf(shot, toolArea(tool), lit), 0.01) << "tool " << tool;
    }

    chooseTool(program, circleTool);

    EXPECT_TRUE(
        program.waitForScreen([](const ScreenImage& s) { return toolLit(s, circleTool); }, shot));
    for (int tool : {0, 2, 3}) {
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

// The square is measured a little tilted, as squares rock to and fro; the circle is an
// octagon, which reaches as far along the diagonals as along the axes.
TEST(Pointer, TheChosenToolGivesThePaintedShapeItsOutline) {
    ProgramUnderX program;
    program.start();
    ScreenImage bare;
    ASSERT_TRUE(program.waitForScreen(showsFruitPicture, bare, ProgramUnderX::startTimeout));
    constexpr int halfSize = 45;
    // Big enough for its outline to show, and all of it in view.
    const auto grown = [](int x, int y) {
        return [x, y](const ChangedPatch& p) {
            return p.count >= 400 && p.insideWithMargin(around(x, y, halfSize), 2);
        };
    };
    ScreenImage shot;

    chooseTool(program, squareTool);
    ASSERT_TRUE(
        program.waitForScreen([](const ScreenImage& s) { return toolLit(s, squareTool); }, shot));
    ChangedPatch square;
    ASSERT_TRUE(paintUntil(program, 250, 160, bare, halfSize, grown(250, 160), square))
        << square.count << " pixels";

    chooseTool(program, circleTool);
    ASSERT_TRUE(
        program.waitForScreen([](const ScreenImage& s) { return toolLit(s, circleTool); }, shot));
    ChangedPatch circle;
    ASSERT_TRUE(paintUntil(program, 390, 300, bare, halfSize, grown(390, 300), circle))
        << circle.count << " pixels";

    EXPECT_GT(square.cornerReach, 1.65) << "the square tool paints a square";
    EXPECT_GT(square.fill, 0.75) << "the square tool paints a square";
    EXPECT_LT(circle.cornerReach, 1.55) << "the circle tool paints a circle";
}

// Both spots lie inside a large region whose colour matches the picture around them: a cut
// orange and a green lime. With the pointer away from them, only the fixed light shines on
// the shapes, which then show close to their own colours.
TEST(Pointer, APaintedShapeLiesWhereThePressWasInTheColourOfThePictureThere) {
    ProgramUnderX program;
    program.start();
    ScreenImage bare;
    ASSERT_TRUE(program.waitForScreen(showsFruitPicture, bare, ProgramUnderX::startTimeout));
    struct Spot {
        const char* name;
        int x;
        int y;
    };
    const Spot orange{"orange", 270, 150};
    const Spot lime{"lime", 530, 170};
    constexpr int halfSize = 30;
    const auto visible = [](const ChangedPatch& p) { return p.count >= 60; };

    for (const Spot& spot : {orange, lime}) {
        ChangedPatch patch;
        ASSERT_TRUE(paintUntil(program, spot.x, spot.y, bare, halfSize, visible, patch))
            << spot.name;
    }
    // Away from both, so that the light following the pointer does not brighten them.
    program.movePointer(100, 400);

    const auto patchAt = [&](const ScreenImage& s, const Spot& spot) {
        return changedPatch(bare, s, around(spot.x, spot.y, halfSize));
    };
    const auto pictureAt = [&](const Spot& spot) {
        return meanColour(bare, around(spot.x, spot.y, 10));
    };
    // The perspective draws shapes off the middle a few pixels towards it.
    const auto inPlace = [](const ChangedPatch& patch, const Spot& spot) {
        return !patch.empty() && std::abs(patch.centreX - spot.x) < 12.0 &&
               std::abs(patch.centreY - spot.y) < 12.0;
    };
    const auto asExpected = [&](const ScreenImage& s) {
        for (const Spot& spot : {orange, lime}) {
            const ChangedPatch patch = patchAt(s, spot);
            if (!inPlace(patch, spot) || !isNear(patch.colour, pictureAt(spot), 35)) {
                return false;
            }
        }
        return true;
    };
    ScreenImage shot;
    EXPECT_TRUE(program.waitForScreen(asExpected, shot));
    for (const Spot& spot : {orange, lime}) {
        const ChangedPatch patch = patchAt(shot, spot);
        EXPECT_TRUE(inPlace(patch, spot))
            << spot.name << ": centred at " << patch.centreX << ", " << patch.centreY;
        EXPECT_TRUE(isNear(patch.colour, pictureAt(spot), 35))
            << spot.name << ": shape " << patch.colour << ", picture " << pictureAt(spot);
    }
    EXPECT_FALSE(isNear(patchAt(shot, orange).colour, patchAt(shot, lime).colour, 60))
        << "each takes the colour of its own region";
}

// A strictly horizontal or vertical drag lays no trail, so this one runs diagonally. Held
// without a trail, the first shape would grow over the whole path; so the picture must
// also stay bare off the path.
TEST(Pointer, DraggingWithTheRightButtonLeavesATrailOfShapesAlongThePath) {
    ProgramUnderX program;
    program.start();
    ScreenImage bare;
    ASSERT_TRUE(program.waitForScreen(showsFruitPicture, bare, ProgramUnderX::startTimeout));
    constexpr int fromX = 150;
    constexpr int fromY = 110;
    constexpr int toX = 450;
    constexpr int toY = 350;
    constexpr int steps = 24;

    program.movePointer(fromX, fromY);
    program.pressButton(rightButton);
    for (int step = 1; step <= steps; ++step) {
        // At most one shape is laid per 0.06 s: a steady, unhurried drag.
        std::this_thread::sleep_for(80ms);
        program.movePointer(fromX + (toX - fromX) * step / steps,
                            fromY + (toY - fromY) * step / steps);
    }
    program.releaseButton(rightButton);

    const auto pathPoint = [&](int quarter) {
        return around(fromX + (toX - fromX) * quarter / 4, fromY + (toY - fromY) * quarter / 4, 22);
    };
    const auto trailAlongThePath = [&](const ScreenImage& s) {
        for (int quarter = 0; quarter <= 4; ++quarter) {
            if (changedPatch(bare, s, pathPoint(quarter)).empty()) {
                return false;
            }
        }
        return true;
    };
    ScreenImage shot;
    EXPECT_TRUE(program.waitForScreen(trailAlongThePath, shot));
    for (int quarter = 0; quarter <= 4; ++quarter) {
        EXPECT_FALSE(changedPatch(bare, shot, pathPoint(quarter)).empty()) << quarter << "/4";
    }
    EXPECT_EQ(shareChanged(bare, shot, around(toX, fromY, 40)), 0.0) << "off the path";
    EXPECT_EQ(shareChanged(bare, shot, around(fromX, toY, 40)), 0.0) << "off the path";
}

// Escape also takes the shape still being painted, and painting goes on afterwards.
TEST(Pointer, EscapeClearsEveryShapeAndPaintingGoesOnAfterwards) {
    ProgramUnderX program;
    program.start();
    ScreenImage bare;
    ASSERT_TRUE(program.waitForScreen(showsFruitPicture, bare, ProgramUnderX::startTimeout));
    const auto visible = [](const ChangedPatch& p) { return p.count >= 30; };
    ChangedPatch patch;
    ASSERT_TRUE(paintUntil(program, 200, 120, bare, 30, visible, patch));
    ASSERT_TRUE(paintUntil(program, 450, 330, bare, 30, visible, patch));

    program.movePointer(330, 200);
    program.pressButton(rightButton);
    ScreenImage shot;
    EXPECT_TRUE(program.waitForScreen(
        [&](const ScreenImage& s) { return !changedPatch(bare, s, around(330, 200, 30)).empty(); },
        shot));
    program.pressKeys({"Escape"});
    const auto bareBoard = [&](const ScreenImage& s) {
        return shareChanged(bare, s, aboveToolbar) == 0.0;
    };
    EXPECT_TRUE(program.waitForScreen(bareBoard, shot))
        << shareChanged(bare, shot, aboveToolbar) << " of the board still changed";
    // Still held for a moment: the idle steps must not grow the shape that went.
    std::this_thread::sleep_for(300ms);
    program.releaseButton(rightButton);
    EXPECT_TRUE(bareBoard(program.screenshot())) << "nothing grows on after the clear";
    EXPECT_EQ(program.outputLines().back(), "27");

    EXPECT_TRUE(paintUntil(program, 200, 300, bare, 30, visible, patch));
    EXPECT_EQ(program.waitForExit(ProgramUnderX::Timeout(0)), std::nullopt);
}

} // namespace
} // namespace tessera
