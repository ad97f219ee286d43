#include "changed_patch.h"
#include "painting.h"
#include "program_under_x.h"
#include "window_layout.h"

#include <chrono>
#include <gtest/gtest.h>
#include <thread>

namespace tessera {
namespace {

using namespace std::chrono_literals;

// The fruit picture's cells are 10 board units, shown at about 0.97 pixels a unit: a held
// circle stops at a radius of 4.5 cells, some 44 pixels. The octagon's wobble and the
// perspective leave it a few pixels either way.
constexpr int cappedRadius = 44;

// A finger resting on the button: the circle, which also pulses, held six seconds.
TEST(Growth, ASixSecondHoldPaintsAShapeNoLargerThanTheCap) {
    ProgramUnderX program;
    program.start();
    ScreenImage bare;
    ASSERT_TRUE(program.waitForScreen(showsFruitPicture, bare, ProgramUnderX::startTimeout));
    chooseTool(program, circleTool);
    program.movePointer(320, 200);
    program.pressButton(rightButton);
    std::this_thread::sleep_for(6s);
    const ChangedPatch patch = changedPatch(bare, program.screenshot(), around(320, 200, 190));
    program.releaseButton(rightButton);

    const int width = patch.bounds.right - patch.bounds.left;
    const int height = patch.bounds.bottom - patch.bounds.top;
    EXPECT_LE(width, 2 * cappedRadius + 6) << width << " x " << height << " pixels";
    EXPECT_LE(height, 2 * cappedRadius + 6);
    EXPECT_GE(width, 2 * cappedRadius - 10) << "it grew up to the cap";
}

} // namespace
} // namespace tessera
