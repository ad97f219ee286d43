#include "changed_patch.h"
#include "painting.h"
#include "program_under_x.h"
#include "window_layout.h"

#include <gtest/gtest.h>

namespace tessera {
namespace {

constexpr std::size_t loadLines = 3;
constexpr int shapeX = 320;
constexpr int shapeY = 240;
constexpr int shapeHalfSize = 12;

// Paints a shape in the middle of the board and gives the bare board seen before it.
ScreenImage paintAShape(ProgramUnderX& program) {
    ScreenImage bare;
    EXPECT_TRUE(program.waitForScreen(showsFruitPicture, bare, ProgramUnderX::startTimeout));
    ChangedPatch patch;
    EXPECT_TRUE(paintUntil(
        program, shapeX, shapeY, bare, shapeHalfSize,
        [](const ChangedPatch& p) { return p.count >= 40; }, patch));
    return bare;
}

TEST(Kiosk, TheQuitKeyEscapeAndTheCameraKeysChangeNothingAndTheOwnersChordEndsTheShow) {
    ProgramUnderX program;
    program.start({"--kiosk"});
    ASSERT_TRUE(program.waitForOutputLines(loadLines)) << program.errors();
    const ScreenImage bare = paintAShape(program);
    const std::size_t before = program.outputLines().size();

    // The tool key comes last: once its code is printed the keys before it were handled.
    program.pressKeys({"grave", "Escape", "minus", "a", "p", "1"});
    ASSERT_TRUE(program.waitForOutputLines(before + 1));
    const std::vector<std::string> lines = program.outputLines();
    EXPECT_EQ(std::vector<std::string>(lines.begin() + before, lines.end()),
              std::vector<std::string>{"49"});
    const ScreenImage shot = program.screenshot();
    EXPECT_FALSE(changedPatch(bare, shot, around(shapeX, shapeY, shapeHalfSize)).empty())
        << "the shape is still there";
    EXPECT_EQ(shareOf(shot, boardCorner, isBlack), 0.0) << "the board neither zoomed nor panned";
    EXPECT_FALSE(program.waitForExit(std::chrono::milliseconds(300)));

    program.pressKeys({"ctrl+alt+q"});
    EXPECT_EQ(program.waitForExit(), 0);
}

TEST(Kiosk, SigtermEndsTheShowNormally) {
    ProgramUnderX program;
    program.start({"--kiosk"});
    ASSERT_TRUE(program.waitForOutputLines(loadLines)) << program.errors();
    EXPECT_EQ(program.terminate(), 0);
}

} // namespace
} // namespace tessera
