#include "changed_patch.h"
#include "painting.h"
#include "program_under_x.h"
#include "window_layout.h"

#include <chrono>
#include <cstdio>
#include <gtest/gtest.h>
#include <thread>
#include <utility>

namespace tessera {
namespace {

using namespace std::chrono_literals;

constexpr std::size_t loadLines = 3;

// A square and a circle well apart on either side of the middle, where the board and the
// window agree to a few pixels. A circle pulses in size and must not reach the square's
// place on its own.
constexpr int squareX = 220;
constexpr int circleX = 420;
constexpr int shapesY = 240;
// Where the presses go. Each shape grows until it covers all of its place, so that the
// left presses are sure to hit it.
constexpr int placeHalfSize = 5;
const ScreenRegion squarePlace = around(squareX, shapesY, placeHalfSize);

void paintSquareAndCircle(ProgramUnderX& program, const ScreenImage& bare,
                          int button = rightButton) {
    const auto allCovered = [](const ChangedPatch& p) {
        return p.count == (2 * placeHalfSize + 1) * (2 * placeHalfSize + 1);
    };
    // A finger chooses on the finger's toolbar (--touch), and the tool chosen lights up.
    const bool finger = button == leftButton;
    const auto choose = [&](int tool) {
        chooseTool(program, tool, finger);
        const ScreenRegion icon = finger ? fingerToolArea(tool) : toolArea(tool);
        const auto lit = [](const Rgb& c) { return isNear(c, litIconYellow, 10); };
        ScreenImage shot;
        EXPECT_TRUE(program.waitForScreen(
            [&](const ScreenImage& s) { return shareOf(s, icon, lit) > 0.1; }, shot))
            << "tool " << tool;
    };
    ChangedPatch patch;
    choose(squareTool);
    ASSERT_TRUE(
        paintUntil(program, squareX, shapesY, bare, placeHalfSize, allCovered, patch, button))
        << patch.count;
    choose(circleTool);
    ASSERT_TRUE(
        paintUntil(program, circleX, shapesY, bare, placeHalfSize, allCovered, patch, button))
        << patch.count;
}

// The interval of a "connection (time=...)" line, or a negative number for any other line.
double connectionTime(const std::string& line) {
    double seconds = -1.0;
    char end = '\0';
    if (std::sscanf(line.c_str(), "connection (time=%lf%c", &seconds, &end) != 2 || end != ')') {
        return -1.0;
    }
    return seconds;
}

// Each shape moves to the other's place over twice the interval between the presses.
TEST(Gesture, ASquareThenACircleASecondLaterTradePlacesAndReportTheInterval) {
    ProgramUnderX program;
    program.start();
    ScreenImage bare;
    ASSERT_TRUE(program.waitForScreen(showsFruitPicture, bare, ProgramUnderX::startTimeout));
    paintSquareAndCircle(program, bare);
    ASSERT_FALSE(testing::Test::HasFatalFailure());
    const auto squareShare = [&](const ScreenImage& s) {
        return shareChanged(bare, s, squarePlace);
    };
    ScreenImage shot;
    ASSERT_TRUE(
        program.waitForScreen([&](const ScreenImage& s) { return squareShare(s) == 1.0; }, shot));

    program.movePointer(squareX, shapesY);
    program.click(leftButton);
    const auto firstClick = std::chrono::steady_clock::now();
    std::this_thread::sleep_for(1s);
    program.movePointer(circleX, shapesY);
    program.click(leftButton);
    const std::chrono::duration<double> between = std::chrono::steady_clock::now() - firstClick;

    ASSERT_TRUE(program.waitForOutputLines(loadLines + 1, ProgramUnderX::stepTimeout))
        << program.errors();
    const std::vector<std::string> lines = program.outputLines();
    ASSERT_EQ(lines.size(), loadLines + 1);
    const double interval = connectionTime(lines.back());
    EXPECT_GE(interval, 0.6) << lines.back();
    EXPECT_LE(interval, 2.5) << lines.back();
    // The moves take twice the interval; what is reported is the interval itself.
    EXPECT_NEAR(interval, between.count(), 0.6) << lines.back();

    EXPECT_TRUE(
        program.waitForScreen([&](const ScreenImage& s) { return squareShare(s) == 0.0; }, shot))
        << "the square moves off its place";
    EXPECT_TRUE(
        program.waitForScreen([&](const ScreenImage& s) { return squareShare(s) > 0.5; }, shot))
        << "the circle comes to take it";
}

// After the cancel the circle begins a gesture of its own, and one begun on a circle sends
// the shapes round each other's outlines without a report. Keys are handled in turn with
// the presses, so the line a key prints shows that every press before it has been handled.
TEST(Gesture, APressOnTheBarePictureCancelsAGestureUnderWay) {
    ProgramUnderX program;
    program.start();
    ScreenImage bare;
    ASSERT_TRUE(program.waitForScreen(showsFruitPicture, bare, ProgramUnderX::startTimeout));
    paintSquareAndCircle(program, bare);
    ASSERT_FALSE(testing::Test::HasFatalFailure());

    for (const auto& [x, y] : {std::pair{squareX, shapesY}, std::pair{320, 120},
                               std::pair{circleX, shapesY}, std::pair{squareX, shapesY}}) {
        program.movePointer(x, y);
        program.click(leftButton);
    }
    program.typeText("q");

    ASSERT_TRUE(program.waitForOutputLines(loadLines + 1, ProgramUnderX::stepTimeout))
        << program.errors();
    const std::vector<std::string> lines = program.outputLines();
    EXPECT_EQ(std::vector<std::string>(lines.begin() + loadLines, lines.end()),
              std::vector<std::string>{"113"});
}

// X11 gives a touch screen's touches as the left button. With --touch a left press on the
// bare board paints and grows a shape; a still hold on a shape selects it, so that a hold
// on each of two shapes makes the gesture a left click on each would.
TEST(Gesture, WithTouchALeftPressPaintsAndAHoldOnEachOfTwoShapesJoinsThem) {
    ProgramUnderX program;
    program.start({"--touch"});
    ScreenImage bare;
    ASSERT_TRUE(program.waitForScreen(showsFruitPicture, bare, ProgramUnderX::startTimeout));
    paintSquareAndCircle(program, bare, leftButton);
    ASSERT_FALSE(testing::Test::HasFatalFailure());

    const auto firstHold = std::chrono::steady_clock::now();
    std::chrono::duration<double> between{};
    for (const int x : {squareX, circleX}) {
        between = std::chrono::steady_clock::now() - firstHold;
        program.movePointer(x, shapesY);
        program.pressButton(leftButton);
        std::this_thread::sleep_for(800ms);
        program.releaseButton(leftButton);
    }

    ASSERT_TRUE(program.waitForOutputLines(loadLines + 1, ProgramUnderX::stepTimeout))
        << program.errors();
    EXPECT_NEAR(connectionTime(program.outputLines().back()), between.count(), 0.6);
}

} // namespace
} // namespace tessera
