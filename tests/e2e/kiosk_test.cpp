#include "changed_patch.h"
#include "painting.h"
#include "program_under_x.h"
#include "wait_until.h"
#include "window_layout.h"

#include <chrono>
#include <csignal>
#include <functional>
#include <gtest/gtest.h>
#include <optional>

namespace tessera {
namespace {

constexpr std::size_t loadLines = 3;
constexpr int shapeX = 320;
constexpr int shapeY = 240;
constexpr int shapeHalfSize = 12;

bool toolLit(const ScreenImage& shot, int tool) {
    return shareOf(shot, toolArea(tool),
                   [](const Rgb& c) { return isNear(c, litIconYellow, 10); }) > 0.2;
}

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

// A kiosk outlives what a visitor can do to its window; a window or display taken away
// ends it with the status its service restarts on. Outside a kiosk a close request ends
// the program normally, as it always has.
TEST(Kiosk, AWindowClosedOrLostEndsTheShowOnlyWhereItCannotGoOn) {
    constexpr int lostStatus = 4;
    const struct {
        const char* name;
        std::vector<std::string> options;
        void (ProgramUnderX::*act)();
        std::optional<int> status; // none: the show goes on
    } rows[] = {
        {"a close request in a kiosk", {"--kiosk"}, &ProgramUnderX::requestClose, std::nullopt},
        {"a closed reader of its output", {"--kiosk"}, &ProgramUnderX::closeOutput, std::nullopt},
        {"a close request outside a kiosk", {"--window"}, &ProgramUnderX::requestClose, 0},
        {"the window destroyed", {"--kiosk"}, &ProgramUnderX::destroyWindow, lostStatus},
        {"the connection dropped", {"--window"}, &ProgramUnderX::dropConnection, lostStatus},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.name);
        ProgramUnderX program;
        program.start(row.options);
        ASSERT_TRUE(program.waitForOutputLines(loadLines)) << program.errors();
        program.window();
        (program.*row.act)();
        if (row.status) {
            EXPECT_EQ(program.waitForExit(), row.status) << program.errors();
            continue;
        }
        // Keys printed after the act still draw: its output and its window both go on.
        program.pressKeys({"1", "2"});
        ScreenImage shot;
        EXPECT_TRUE(program.waitForScreen(
            [](const ScreenImage& s) { return !toolLit(s, 0) && toolLit(s, 1); }, shot));
        EXPECT_FALSE(program.waitForExit(std::chrono::milliseconds(300))) << program.errors();
    }
}

// The owner's ways out answer within a second, also while the invitation plays.
TEST(Kiosk, TheOwnersWaysOutEndTheShowWithinASecondWhileTheInvitationPlays) {
    const std::pair<const char*, std::function<void(ProgramUnderX&)>> ways[] = {
        {"Ctrl+Alt+Q", [](ProgramUnderX& program) { program.pressKeys({"ctrl+alt+q"}); }},
        {"SIGTERM", [](ProgramUnderX& program) { program.sendSignal(SIGTERM); }},
        {"SIGHUP", [](ProgramUnderX& program) { program.sendSignal(SIGHUP); }},
    };
    for (const auto& [name, endTheShow] : ways) {
        SCOPED_TRACE(name);
        ProgramUnderX program;
        program.start({"--kiosk", "--invite", "--invite-after", "1"});
        ScreenImage bare;
        ASSERT_TRUE(program.waitForScreen(showsFruitPicture, bare, ProgramUnderX::startTimeout));
        ScreenImage invited;
        ASSERT_TRUE(program.waitForScreen(
            [&](const ScreenImage& shot) {
                return changedPatch(bare, shot, {0, 0, 640, toolbarTop}).count > 400;
            },
            invited, std::chrono::seconds(20)))
            << "the invitation did not play";

        const auto asked = std::chrono::steady_clock::now();
        endTheShow(program);
        EXPECT_EQ(program.waitForExit(), 0) << program.errors();
        EXPECT_LT(std::chrono::steady_clock::now() - asked, std::chrono::milliseconds(1500));
    }
}

} // namespace
} // namespace tessera
