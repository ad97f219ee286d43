#include "png_file.h"
#include "program_under_x.h"
#include "window_layout.h"

#include <filesystem>
#include <gtest/gtest.h>

namespace tessera {
namespace {

TEST(Snapshot, SavesWhatTheWindowShowsUnderTheNextFreeName) {
    ProgramUnderX program;
    program.pictures().write("tessera-0001.png", "somebody else's picture");
    program.start({"--window"});
    ScreenImage shown;
    ASSERT_TRUE(program.waitForScreen(showsFruitPicture, shown, ProgramUnderX::startTimeout));

    program.pressKeys({"p"});

    ASSERT_TRUE(program.waitForOutputLines(5)) << program.errors();
    const std::vector<std::string> lines = program.outputLines();
    EXPECT_EQ(lines[3], "112");
    EXPECT_EQ(lines[4], "snapshot tessera-0002.png");
    const ScreenImage saved = readPng(program.pictures().path("tessera-0002.png"));
    ASSERT_EQ(saved.width, shown.width);
    ASSERT_EQ(saved.height, shown.height);
    EXPECT_EQ(saved.pixels, shown.pixels) << "the bare board and toolbar stand still";
}

TEST(Snapshot, AFolderThatCannotBeWrittenCostsOnlyTheSnapshot) {
    ProgramUnderX program;
    program.start({"--window"});
    ASSERT_TRUE(program.waitForOutputLines(3)) << program.errors();
    std::filesystem::remove_all(program.pictures().path());

    program.pressKeys({"p", "q"});

    ASSERT_TRUE(program.waitForOutputLines(5)) << program.errors();
    EXPECT_EQ(program.outputLines()[4], "113") << "the program goes on";
    EXPECT_NE(program.errors().find("tessera: cannot save a snapshot: ./tessera-0001.png: "),
              std::string::npos)
        << program.errors();
}

} // namespace
} // namespace tessera
