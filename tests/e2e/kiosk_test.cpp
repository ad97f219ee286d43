#include "changed_patch.h"
#include "painting.h"
#include "photo/png_writer.h"
#include "program_under_x.h"
#include "wait_until.h"
#include "window_layout.h"

#include <chrono>
#include <csignal>
#include <filesystem>
#include <functional>
#include <gtest/gtest.h>
#include <optional>
#include <set>

namespace tessera {
namespace {

constexpr std::size_t loadLines = 3;
// The address sanitizer holds on to what is freed, for a while: the memory then is not
// the program's own.
#if defined(__SANITIZE_ADDRESS__)
constexpr bool ownMemoryIsMeasured = false;
#else
constexpr bool ownMemoryIsMeasured = true;
#endif

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

// While the invitation plays, a kiosk outlives what a visitor can do to its window, and the
// owner's ways out end it within a second; a window or display taken away ends it with the
// status its service restarts on. Outside a kiosk a close request ends the program.
TEST(Kiosk, OnlyTheOwnerOrALostWindowEndsTheShowAndWithinASecond) {
    using Act = std::function<void(ProgramUnderX&)>;
    const auto signal = [](int number) { return [=](ProgramUnderX& p) { p.sendSignal(number); }; };
    const struct {
        const char* name;
        const char* mode;
        Act act;
        std::optional<int> status; // none: the show goes on
        bool owners;               // the owner's ways out answer within a second
    } rows[] = {
        {"a close request", "--kiosk", &ProgramUnderX::requestClose, std::nullopt, false},
        {"SIGPIPE", "--kiosk", signal(SIGPIPE), std::nullopt, false},
        {"Ctrl+Alt+Q", "--kiosk", [](ProgramUnderX& p) { p.pressKeys({"ctrl+alt+q"}); }, 0, true},
        {"SIGTERM", "--kiosk", signal(SIGTERM), 0, true},
        {"SIGHUP", "--kiosk", signal(SIGHUP), 0, true},
        {"the window destroyed", "--kiosk", &ProgramUnderX::destroyWindow, 4, false},
        {"the connection dropped", "--kiosk", &ProgramUnderX::dropConnection, 4, false},
        {"a close request outside a kiosk", "--window", &ProgramUnderX::requestClose, 0, false},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.name);
        ProgramUnderX program;
        program.start({row.mode, "--invite", "--invite-after", "1"});
        ScreenImage bare;
        ASSERT_TRUE(program.waitForScreen(showsFruitPicture, bare, ProgramUnderX::startTimeout));
        ScreenImage shot;
        ASSERT_TRUE(program.waitForScreen(
            [&](const ScreenImage& s) {
                return changedPatch(bare, s, {0, 0, 640, toolbarTop}).count > 400;
            },
            shot, std::chrono::seconds(20)))
            << "the invitation did not play";

        const auto asked = std::chrono::steady_clock::now();
        row.act(program);
        if (row.status) {
            EXPECT_EQ(program.waitForExit(), row.status) << program.errors();
            // A loaded machine adds the helper's start to the second: it is given half of one.
            if (row.owners) {
                EXPECT_LT(std::chrono::steady_clock::now() - asked,
                          std::chrono::milliseconds(1500));
            }
            continue;
        }
        program.pressKeys({"2"});
        EXPECT_TRUE(waitUntil(
            ProgramUnderX::stepTimeout,
            [&] { return !program.outputLines().empty() && program.outputLines().back() == "50"; }))
            << "the show stopped answering: " << program.errors();
    }
}

RgbImage solidPhotograph(std::uint8_t red) {
    RgbImage photo;
    photo.width = 1024;
    photo.height = 768;
    for (int i = 0; i < photo.width * photo.height; ++i) {
        photo.pixels.insert(photo.pixels.end(), {red, 90, 160});
    }
    return photo;
}

// An unattended shuffled show, cleared a second after each visitor's shape, with a broken
// photograph among good ones: the broken one is named once, the pictures keep changing
// round after round, and the program keeps its size.
TEST(Kiosk, AShuffledShowWithABrokenPhotographKeepsChangingAndKeepsItsSize) {
    ProgramUnderX program;
    std::filesystem::create_directory(program.pictures().path("shots"));
    const std::vector<std::string> names = {"shots/a.png", "shots/b.png", "shots/c.png"};
    for (std::size_t i = 0; i < names.size(); ++i) {
        ASSERT_EQ(writePng(solidPhotograph(static_cast<std::uint8_t>(60 * i)),
                           program.pictures().path(names[i])),
                  "");
    }
    program.pictures().write("shots/d.png", std::string("\x89PNG\r\n\x1a\n", 8) + "cut short");
    program.start(
        {"--kiosk", "--photos", "shots", "--shuffle", "--clear-after", "1", "--regions=2"});
    ASSERT_TRUE(program.waitForOutputLines(1)) << program.errors();

    constexpr std::size_t shows = 13;
    long earlyKib = 0;
    program.movePointer(shapeX, shapeY);
    for (std::size_t shown = 1; shown < shows; ++shown) {
        if (shown == 4) {
            earlyKib = program.residentKib();
        }
        // A click paints a shape, and the clear a second later brings the next photograph.
        program.click(rightButton);
        ASSERT_TRUE(program.waitForOutputLines(shown + 1))
            << "photograph " << shown << " did not come: " << program.errors();
    }
    const long lateKib = program.residentKib();

    const std::vector<std::string> lines = program.outputLines();
    std::set<std::string> seen;
    for (std::size_t i = 0; i < lines.size(); ++i) {
        const std::string name = lines[i].substr(0, lines[i].find(':'));
        seen.insert(name);
        if (i > 0) {
            EXPECT_NE(name, lines[i - 1].substr(0, lines[i - 1].find(':'))) << "at " << i;
        }
    }
    EXPECT_EQ(seen, std::set<std::string>(names.begin(), names.end()));
    const std::string errors = program.errors();
    EXPECT_EQ(errors.find("shots/d.png: "), errors.rfind("shots/d.png: ")) << errors;
    EXPECT_NE(errors.find("shots/d.png: "), std::string::npos) << errors;
    if (ownMemoryIsMeasured) {
        EXPECT_LT(lateKib - earlyKib, 16 * 1024)
            << earlyKib << " KiB after 4, " << lateKib << " after " << shows;
    }
    EXPECT_EQ(program.terminate(), 0);
}

} // namespace
} // namespace tessera
