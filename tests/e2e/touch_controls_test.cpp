// With --touch the keys a touch screen lacks are controls over the frame: each a finger's
// size, clear of the toolbar, and a touch on one is its key, through the same path.
#include "changed_patch.h"
#include "png_file.h"
#include "program_under_x.h"
#include "wait_until.h"
#include "window_layout.h"

#include <algorithm>
#include <chrono>
#include <gtest/gtest.h>
#include <string>
#include <thread>
#include <utility>
#include <vector>

namespace tessera {
namespace {

constexpr int touchButton = 1; // X11 gives a touch as the left button
constexpr int rightButton = 3;

// The controls where two shots of one board differ, with and without them: the runs of
// changed rows across the changed columns (in a 640 x 480 window the controls are one column).
// Only the window's right half is looked at: the finger's larger toolbar changes the left.
std::vector<ScreenRegion> changedBoxes(const ScreenImage& before, const ScreenImage& after) {
    int left = before.width;
    int right = 0;
    std::vector<bool> rows(static_cast<std::size_t>(before.height), false);
    for (int y = 0; y < before.height; ++y) {
        for (int x = before.width / 2; x < before.width; ++x) {
            if (!isNear(before.at(x, y), after.at(x, y), 0)) {
                left = std::min(left, x);
                right = std::max(right, x + 1);
                rows[static_cast<std::size_t>(y)] = true;
            }
        }
    }
    std::vector<ScreenRegion> boxes;
    for (int y = 0; y < before.height; ++y) {
        if (!rows[static_cast<std::size_t>(y)]) {
            continue;
        }
        if (boxes.empty() || boxes.back().bottom != y) {
            boxes.push_back({left, y, right, y + 1});
        } else {
            boxes.back().bottom = y + 1;
        }
    }
    return boxes;
}

// The shot of a program started with the arguments, once it shows the picture.
ScreenImage firstShot(ProgramUnderX& program, const std::vector<std::string>& arguments) {
    program.start(arguments);
    ScreenImage shot;
    EXPECT_TRUE(program.waitForScreen(showsFruitPicture, shot, ProgramUnderX::startTimeout))
        << program.errors();
    return shot;
}

// The controls a program with --touch shows, found against the same program without it.
std::vector<ScreenRegion> controlsOf(ProgramUnderX& program, std::vector<std::string> arguments,
                                     ScreenImage& bare, ScreenImage& shown) {
    {
        ProgramUnderX without;
        bare = firstShot(without, arguments);
    }
    arguments.push_back("--touch");
    shown = firstShot(program, arguments);
    return changedBoxes(bare, shown);
}

void expectFingerSizedAndClearOfTheToolbar(const std::vector<ScreenRegion>& boxes) {
    for (const ScreenRegion& box : boxes) {
        EXPECT_GE(box.right - box.left, 48);
        EXPECT_GE(box.bottom - box.top, 48);
        const bool besideTools = box.left >= toolCentreX[3] + toolHalfWidth + 12;
        EXPECT_TRUE(besideTools || box.bottom <= toolbarTop) << box.left << ", " << box.top;
    }
}

// Taps the control and waits for what it prints.
std::vector<std::string> tap(ProgramUnderX& program, const ScreenRegion& box, std::size_t lines) {
    const std::size_t before = program.outputLines().size();
    program.movePointer((box.left + box.right) / 2, (box.top + box.bottom) / 2);
    program.click(touchButton);
    EXPECT_TRUE(program.waitForOutputLines(before + lines, ProgramUnderX::stepTimeout));
    const std::vector<std::string> all = program.outputLines();
    return {all.begin() + static_cast<std::ptrdiff_t>(before), all.end()};
}

TEST(TouchControls, EachPressesItsKeyAndATouchOnOneIsNoStroke) {
    ProgramUnderX program;
    ScreenImage bare;
    ScreenImage shown;
    const std::vector<ScreenRegion> boxes = controlsOf(program, {"--window"}, bare, shown);
    ASSERT_EQ(boxes.size(), 6u);
    expectFingerSizedAndClearOfTheToolbar(boxes);

    // A shape painted with the mouse, which --touch leaves as it is.
    const ScreenRegion shape = around(320, 240, 12);
    program.movePointer(320, 240);
    program.click(rightButton);
    ScreenImage shot;
    const auto painted = [&](const ScreenImage& s) {
        return changedPatch(shown, s, shape).count > 20;
    };
    ASSERT_TRUE(program.waitForScreen(painted, shot));

    // The undo comes after the others, so that a touch that also reached the stroke (a
    // shape hidden under the control) would be what it takes back.
    const auto gone = [&](const ScreenImage& s) { return changedPatch(shown, s, shape).empty(); };
    EXPECT_EQ(tap(program, boxes[1], 1), std::vector<std::string>{"127"}) << "delete";
    EXPECT_EQ(tap(program, boxes[3], 1), std::vector<std::string>{"114"}) << "scatter";
    EXPECT_TRUE(program.waitForScreen(gone, shot)) << "the shape flew off";
    // A return is heard once the scatter has ended.
    std::this_thread::sleep_for(std::chrono::milliseconds(3500));
    EXPECT_EQ(tap(program, boxes[4], 1), std::vector<std::string>{"102"}) << "return";
    ASSERT_TRUE(program.waitForScreen(painted, shot)) << "the shape came home";
    EXPECT_EQ(tap(program, boxes[5], 2),
              (std::vector<std::string>{"112", "snapshot tessera-0001.png"}))
        << "snapshot";
    // The snapshot is the picture's, without the controls.
    const ScreenImage saved = readPng(program.pictures().path("tessera-0001.png"));
    for (const ScreenRegion& box : boxes) {
        const int x = box.left + 5;
        const int y = box.top + 5;
        EXPECT_TRUE(isNear(saved.at(x, y), bare.at(x, y), 8)) << saved.at(x, y) << " at " << x;
    }

    EXPECT_EQ(tap(program, boxes[0], 1), std::vector<std::string>{"122"}) << "undo";
    EXPECT_TRUE(program.waitForScreen(gone, shot)) << "the undo took back the painted shape";
    EXPECT_EQ(tap(program, boxes[2], 1), std::vector<std::string>{"27"}) << "clear";

    // The next touch is the stroke's again, its lift too: a tap paints a shape that stops
    // growing.
    program.movePointer(320, 240);
    program.click(touchButton);
    ASSERT_TRUE(program.waitForScreen(painted, shot));
    std::this_thread::sleep_for(std::chrono::milliseconds(1500));
    const ScreenRegion grown =
        changedPatch(shown, program.screenshot(), around(320, 240, 80)).bounds;
    EXPECT_LT(grown.right - grown.left, 40) << "the tap's shape kept growing";
}

TEST(TouchControls, AKioskShowsOnlyTheKeysItHears) {
    ProgramUnderX program;
    ScreenImage bare;
    ScreenImage shown;
    const std::vector<ScreenRegion> boxes = controlsOf(program, {"--kiosk"}, bare, shown);
    ASSERT_EQ(boxes.size(), 4u);
    expectFingerSizedAndClearOfTheToolbar(boxes);
    const char* const printed[] = {"122", "127", "114", "102"};
    for (std::size_t i = 0; i < boxes.size(); ++i) {
        EXPECT_EQ(tap(program, boxes[i], 1), std::vector<std::string>{printed[i]});
    }
}

} // namespace
} // namespace tessera
