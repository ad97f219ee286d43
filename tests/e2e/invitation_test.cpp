#include "photo/png_writer.h"
#include "program_under_x.h"
#include "window_layout.h"

#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <gtest/gtest.h>
#include <string>
#include <thread>
#include <vector>

namespace tessera {
namespace {

using namespace std::chrono_literals;

// The share of pixels where two shots of one size differ by more than a faint shimmer.
double changedShare(const ScreenImage& a, const ScreenImage& b) {
    if (a.pixels.size() != b.pixels.size() || a.pixels.empty()) {
        return 1.0;
    }
    std::size_t changed = 0;
    for (std::size_t i = 0; i < a.pixels.size(); i += 3) {
        for (std::size_t c = 0; c < 3; ++c) {
            if (std::abs(a.pixels[i + c] - b.pixels[i + c]) > 24) {
                ++changed;
                break;
            }
        }
    }
    return static_cast<double>(changed) / static_cast<double>(a.pixels.size() / 3);
}

TEST(Invitation, TheDemoPlaysOnAnUntouchedBoardAndTheFirstPressLeavesNoneOfIt) {
    ProgramUnderX program;
    program.start({"--window", "--invite", "--invite-after", "3"});
    ScreenImage bare;
    ASSERT_TRUE(program.waitForScreen(showsFruitPicture, bare, ProgramUnderX::startTimeout));
    ScreenImage invited;
    ASSERT_TRUE(program.waitForScreen(
        [&](const ScreenImage& shot) { return changedShare(bare, shot) > 0.01; }, invited, 20s))
        << "with no input the screen stayed the bare picture";

    program.movePointer(600, 60);
    program.click(1);
    ScreenImage visited;
    EXPECT_TRUE(program.waitForScreen(
        [&](const ScreenImage& shot) { return changedShare(bare, shot) < 0.002; }, visited, 2s))
        << "the invitation's shapes stayed: " << changedShare(bare, visited) << " changed";
}

// A kiosk's invitation that holds Escape and rests past --clear-after: nobody is there, so
// the photograph stays, and nothing it does is printed.
TEST(Invitation, UnderAKioskItLeavesThePhotographsAndTheOutputAlone) {
    ProgramUnderX program;
    std::filesystem::create_directory(program.pictures().path("shots"));
    for (const char* name : {"shots/a.png", "shots/b.png"}) {
        RgbImage photo;
        photo.width = 160;
        photo.height = 120;
        // Red and blue halves: a painted shape takes the one region's colour between them.
        for (int i = 0; i < photo.width * photo.height; ++i) {
            const bool left = i % photo.width < photo.width / 2;
            photo.pixels.insert(photo.pixels.end(),
                                {std::uint8_t(left ? 220 : 20), 30, std::uint8_t(left ? 20 : 220)});
        }
        ASSERT_EQ(writePng(photo, program.pictures().path(name)), "");
    }
    program.pictures().write("paints.tessera-replay",
                             "tessera-replay 3\nwindow 640 480\npicture default\n"
                             "canvas clear-after 0 max-shapes 0 reference-drawing 0 "
                             "idle-scatter 27\nchecksum 0000000000000000\nevents\n"
                             "0 reshape 640 480\n"
                             "16666667 idle 0.0166666675\n"
                             "33333334 press 2 320 240\n"
                             "50000001 idle 0.0166666675 x90 every 16666667\n"
                             "1550000011 release 2 320 240\n"
                             "1550000011 key 27\n"
                             "1566666678 idle 0.0166666675 x150 every 16666667\n");
    program.start({"--kiosk", "--photos", "shots", "--regions=1", "--clear-after", "1",
                   "--invite=paints.tessera-replay", "--invite-after", "1"});
    ScreenImage bare;
    ASSERT_TRUE(program.waitForScreen([](const ScreenImage& shot) { return !shot.pixels.empty(); },
                                      bare, ProgramUnderX::startTimeout));
    ASSERT_TRUE(program.waitForOutputLines(1));
    ScreenImage invited;
    ASSERT_TRUE(program.waitForScreen(
        [&](const ScreenImage& shot) { return changedShare(bare, shot) > 0.001; }, invited, 10s))
        << "the invitation did not paint: " << program.errors();
    // Two invitations, each cleared by --clear-after while it played.
    std::this_thread::sleep_for(8s);
    const std::vector<std::string> lines = program.outputLines();
    ASSERT_EQ(lines.size(), 1u) << lines.back();
    EXPECT_EQ(lines[0].rfind("shots/a.png: ", 0), 0u);
}

} // namespace
} // namespace tessera
