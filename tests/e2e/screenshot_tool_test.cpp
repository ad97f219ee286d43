#include "png_file.h"
#include "program_under_x.h"
#include "window_layout.h"

#include <filesystem>
#include <gtest/gtest.h>

namespace tessera {
namespace {

struct ToolRun {
    std::optional<int> status;
    std::string output;
    std::string errors;
};

ToolRun runScreenshotTool(const std::vector<std::string>& arguments, const std::string& folder,
                          const std::string& display) {
    std::vector<std::string> command{TESSERA_SCREENSHOT_PATH};
    command.insert(command.end(), arguments.begin(), arguments.end());
    ChildProcess tool(command, folder, {"DISPLAY=" + display});
    const std::optional<int> status = tool.waitForExit(ProgramUnderX::stepTimeout);
    return {status, tool.output().text(), tool.errors().text()};
}

TEST(ScreenshotTool, SavesTheProgramWindowAsThePngOfWhatItShows) {
    ProgramUnderX program;
    program.start();
    ScreenImage shown;
    ASSERT_TRUE(program.waitForScreen(showsFruitPicture, shown, ProgramUnderX::startTimeout));
    const std::string file = program.pictures().path("window.png");

    const ToolRun run = runScreenshotTool({"--window", "tessera", file}, program.pictures().path(),
                                          program.displayName());

    ASSERT_EQ(run.status, 0) << run.errors;
    EXPECT_EQ(run.output, "tessera-screenshot: wrote " + file + " (640 x 480)\n");
    // The program redraws the same still picture all the time.
    const ScreenImage saved = readPng(file);
    ASSERT_EQ(saved.width, 640);
    ASSERT_EQ(saved.height, 480);
    EXPECT_LT(shareChanged(saved, program.screenshot(), {0, 0, 640, 480}), 0.01);
}

TEST(ScreenshotTool, SavesTheWholeScreenWhenNoWindowIsNamed) {
    ProgramUnderX program;
    program.start();
    ScreenImage shown;
    ASSERT_TRUE(program.waitForScreen(showsFruitPicture, shown, ProgramUnderX::startTimeout));
    const std::string file = program.pictures().path("screen.png");

    const ToolRun run = runScreenshotTool({file}, program.pictures().path(), program.displayName());

    ASSERT_EQ(run.status, 0) << run.errors;
    const ScreenImage screen = readPng(file);
    EXPECT_EQ(screen.width, 640);
    EXPECT_EQ(screen.height, 480);
    EXPECT_TRUE(showsFruitPicture(screen));
}

TEST(ScreenshotTool, FailsWithAReasonAndWritesNothing) {
    ProgramUnderX program; // a display without the program: no window to find
    const std::string folder = program.pictures().path();
    const std::string file = program.pictures().path("shot.png");

    const ToolRun noDisplay = runScreenshotTool({file}, folder, "");
    EXPECT_EQ(noDisplay.status, 1);
    EXPECT_EQ(noDisplay.errors, "tessera-screenshot: no display to capture: DISPLAY is not set\n");

    const ToolRun noWindow =
        runScreenshotTool({"--window", "tessera", file}, folder, program.displayName());
    EXPECT_EQ(noWindow.status, 1);
    EXPECT_EQ(noWindow.errors, "tessera-screenshot: no window titled \"tessera\" is shown\n");

    const ToolRun noFolder =
        runScreenshotTool({folder + "/missing/shot.png"}, folder, program.displayName());
    EXPECT_EQ(noFolder.status, 1);
    EXPECT_NE(noFolder.errors.find("missing/shot.png: No such file or directory"),
              std::string::npos)
        << noFolder.errors;

    const ToolRun noFile = runScreenshotTool({}, folder, program.displayName());
    EXPECT_EQ(noFile.status, 2);

    EXPECT_FALSE(std::filesystem::exists(file));
}

} // namespace
} // namespace tessera
