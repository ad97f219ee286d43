#include "child_process.h"
#include "program_under_x.h"
#include "window_layout.h"

#include <gtest/gtest.h>

namespace tessera {
namespace {

using namespace std::chrono_literals;

TEST(CommandLine, HelpPrintsTheUsageAndEndsWithStatusZero) {
    ChildProcess run({TESSERA_PATH, "--help"}, ".");
    ASSERT_EQ(run.waitForExit(10s), 0);
    ASSERT_FALSE(run.output().lines().empty());
    EXPECT_EQ(run.output().lines()[0].rfind("usage: tessera ", 0), 0u);
    EXPECT_EQ(run.errors().text(), "");
}

TEST(CommandLine, ABadOptionIsNamedBeforeTheUsageWithStatusTwo) {
    ChildProcess run({TESSERA_PATH, "--regions=0", "photo.jpg"}, ".");
    ASSERT_EQ(run.waitForExit(10s), 2);
    const std::vector<std::string> lines = run.errors().lines();
    ASSERT_GE(lines.size(), 2u);
    EXPECT_EQ(lines[0], "tessera: --regions needs a whole number from 1 to 255, not '0'");
    EXPECT_EQ(lines[1].rfind("usage: tessera ", 0), 0u);
    EXPECT_TRUE(run.output().lines().empty());
}

TEST(CommandLine, WithoutAPictureSetInItsFolderTheProgramShowsTheOneItShipsWith) {
    ProgramUnderX program;
    for (const char* file : {"fruit.ppm", "fruit_mask.pgm", "fruit.map"}) {
        program.pictures().remove(file);
    }
    program.start({"--window"});

    ASSERT_TRUE(program.waitForOutputLines(3)) << program.errors();
    const std::vector<std::string> lines = program.outputLines();
    EXPECT_NE(lines[0].find("/data/fruit.ppm: (512, 480) x 32"), std::string::npos) << lines[0];
    ScreenImage shot;
    EXPECT_TRUE(program.waitForScreen(showsFruitPicture, shot, ProgramUnderX::startTimeout));
    EXPECT_EQ(program.errors(), "") << "a window was asked for: no word of full screen";
}

} // namespace
} // namespace tessera
