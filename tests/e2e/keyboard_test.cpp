#include "program_under_x.h"
#include "window_layout.h"

#include <gtest/gtest.h>

namespace tessera {
namespace {

constexpr std::size_t loadLines = 3;

TEST(Keyboard, EveryKeyPrintsItsCodeOnALineOfItsOwn) {
    ProgramUnderX program;
    program.start();
    ASSERT_TRUE(program.waitForOutputLines(loadLines)) << program.errors();

    program.typeText("qA=");

    ASSERT_TRUE(program.waitForOutputLines(loadLines + 3));
    const std::vector<std::string> lines = program.outputLines();
    EXPECT_EQ(std::vector<std::string>(lines.begin() + loadLines, lines.end()),
              (std::vector<std::string>{"113", "65", "61"}));
}

TEST(Keyboard, ZoomingOutShowsTheBackgroundWhereTheBoardWasAndZoomingInCoversItAgain) {
    ProgramUnderX program;
    program.start();
    ScreenImage shot;
    ASSERT_TRUE(program.waitForScreen(showsFruitPicture, shot, ProgramUnderX::startTimeout));
    ASSERT_FALSE(isBlack(meanColour(shot, boardCorner)));

    program.pressKeys({"minus", "minus", "minus", "minus", "minus", "minus"});
    const auto cornerBlack = [](const ScreenImage& s) {
        return shareOf(s, boardCorner, isBlack) == 1.0;
    };
    EXPECT_TRUE(program.waitForScreen(cornerBlack, shot)) << meanColour(shot, boardCorner);
    EXPECT_TRUE(showsFruitPicture(shot)) << "the smaller board still shows the picture";

    program.pressKeys({"equal", "equal", "equal", "equal", "equal", "equal"});
    const auto cornerCovered = [](const ScreenImage& s) {
        return shareOf(s, boardCorner, isBlack) == 0.0;
    };
    EXPECT_TRUE(program.waitForScreen(cornerCovered, shot)) << meanColour(shot, boardCorner);
}

TEST(Keyboard, GraveAccentPrintsItsCodeAndQuitsWithStatusOne) {
    ProgramUnderX program;
    program.start();
    ASSERT_TRUE(program.waitForOutputLines(loadLines)) << program.errors();

    program.pressKeys({"grave"});

    EXPECT_EQ(program.waitForExit(), 1);
    ASSERT_EQ(program.outputLines().size(), loadLines + 1);
    EXPECT_EQ(program.outputLines().back(), "96");
}

} // namespace
} // namespace tessera
