#include "child_process.h"
#include "picture_folder.h"
#include "png_file.h"
#include "program_under_x.h"
#include "wait_until.h"
#include "window_layout.h"

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <gtest/gtest.h>
#include <iterator>
#include <thread>

namespace tessera {
namespace {

using namespace std::chrono_literals;

// How two pictures of one size differ: the largest difference in any channel, and the
// share of pixels that differ by more than a given amount.
struct Difference {
    int largest = 0;
    double shareAbove = 1.0;
};

Difference compare(const ScreenImage& a, const ScreenImage& b, int above) {
    Difference d;
    if (a.width != b.width || a.height != b.height || a.pixels.size() != b.pixels.size()) {
        return {255, 1.0};
    }
    std::size_t differing = 0;
    for (std::size_t i = 0; i < a.pixels.size(); i += 3) {
        int pixel = 0;
        for (std::size_t c = 0; c < 3; ++c) {
            pixel = std::max(pixel, std::abs(a.pixels[i + c] - b.pixels[i + c]));
        }
        d.largest = std::max(d.largest, pixel);
        differing += pixel > above ? 1 : 0;
    }
    d.shareAbove = static_cast<double>(differing) / static_cast<double>(a.pixels.size() / 3);
    return d;
}

// Runs tessera-render to its end; gives its exit status.
int render(const std::vector<std::string>& arguments, const std::string& folder) {
    std::vector<std::string> command{TESSERA_RENDER_PATH};
    command.insert(command.end(), arguments.begin(), arguments.end());
    ChildProcess renderer(command, folder);
    const int status = renderer.waitForExit(60s).value_or(-1);
    EXPECT_EQ(status, 0) << renderer.errors().text();
    return status;
}

TEST(Replay, ARecordedSessionRendersAndReplaysAsTheWindowShowedIt) {
    ProgramUnderX live;
    const std::string recording = live.pictures().path("session.tessera-replay");
    live.start({"--window", "--record", recording});
    ScreenImage shot;
    ASSERT_TRUE(live.waitForScreen(showsFruitPicture, shot, ProgramUnderX::startTimeout));
    // Paint a grown square and a trail of circles, and leave light 1 on the board.
    live.movePointer(toolCentreX[2], 462);
    live.click(1);
    live.movePointer(200, 150);
    live.pressButton(3);
    std::this_thread::sleep_for(600ms);
    live.releaseButton(3);
    live.movePointer(toolCentreX[1], 462);
    live.click(1);
    live.movePointer(300, 300);
    live.pressButton(3);
    for (int step = 1; step <= 8; ++step) {
        live.movePointer(300 + 25 * step, 300 - 8 * step);
        std::this_thread::sleep_for(50ms);
    }
    live.releaseButton(3);
    live.movePointer(420, 200);
    std::this_thread::sleep_for(300ms);
    const ScreenImage shown = live.screenshot();
    // Each line is on disk as soon as it is written: a crash now would lose nothing.
    std::ifstream written(recording);
    const std::string text{std::istreambuf_iterator<char>(written),
                           std::istreambuf_iterator<char>()};
    EXPECT_NE(text.find(" press 2 200 150\n"), std::string::npos) << text.substr(0, 400);
    live.pressKeys({"grave"});
    ASSERT_EQ(live.waitForExit(), 1) << live.errors();

    const std::string rendered = live.pictures().path("rendered.png");
    const std::string frames = live.pictures().path("frames");
    ASSERT_EQ(
        render({recording, "--snapshot", rendered, "--frames", frames}, live.pictures().path()), 0);
    const ScreenImage last = readPng(rendered);
    // The window was shot a few frames before the quit key: in between the shapes rocked
    // and pulsed a little more, which moves their edges by a pixel or two. So a few hundred
    // pixels (under 0.1 %) may differ, by any amount; a shape lost or misplaced would
    // change thousands. The frame the window showed itself must come back exactly.
    const Difference fromWindow = compare(shown, last, 48);
    EXPECT_LT(fromWindow.shareAbove, 0.001) << "largest difference " << fromWindow.largest;
    const ScreenImage bare = readPng(frames + "/frame-000001.png");
    EXPECT_GT(compare(shown, bare, 48).shareAbove, 0.002) << "the session painted nothing";
    bool found = false;
    for (int frame = 2; !found; ++frame) {
        char name[32];
        std::snprintf(name, sizeof name, "/frame-%06d.png", frame);
        if (!std::filesystem::exists(frames + name)) {
            break;
        }
        found = compare(shown, readPng(frames + name), 0).largest == 0;
    }
    EXPECT_TRUE(found) << "no rendered frame is the one the window showed";

    ProgramUnderX replay;
    replay.start({"--window", "--replay", recording, "--fast"});
    ASSERT_TRUE(waitUntil(ProgramUnderX::startTimeout, [&] {
        const std::vector<std::string> lines = replay.outputLines();
        return !lines.empty() && lines.back() == "replay ended";
    })) << replay.errors();
    ScreenImage replayed;
    EXPECT_TRUE(replay.waitForScreen(
        [&](const ScreenImage& image) { return compare(image, last, 0).largest == 0; }, replayed))
        << "the replay's window ends on the rendered frame";
    replay.pressKeys({"grave"});
    EXPECT_EQ(replay.waitForExit(), 1);
}

TEST(Replay, TheQuitKeyAnswersThroughAMinutesPauseInTheRecording) {
    std::ifstream demo(std::string(TESSERA_DATA_DIR) + "/demo.tessera-replay");
    const std::string text{std::istreambuf_iterator<char>(demo), std::istreambuf_iterator<char>()};
    const std::string header = text.substr(0, text.find("\nevents\n") + 8);
    ProgramUnderX replay;
    replay.pictures().write("pause.tessera-replay", header + "1000000 reshape 640 480\n"
                                                             "16666667 idle 0.0166666675\n"
                                                             "60016666667 idle 0.0166666675\n");
    replay.start({"--window", "--replay", "pause.tessera-replay"});
    ScreenImage shot;
    ASSERT_TRUE(replay.waitForScreen(showsFruitPicture, shot, ProgramUnderX::startTimeout))
        << replay.errors();

    replay.pressKeys({"grave"});

    EXPECT_EQ(replay.waitForExit(5s), 1) << "the window still waits out the pause";
    EXPECT_TRUE(replay.outputLines().empty() || replay.outputLines().back() != "replay ended");
}

// Playing somebody's recording writes nothing unless asked: its p presses save snapshots
// only with --snapshots.
TEST(Replay, SnapshotsAreSavedOnlyWhenAsked) {
    std::ifstream demo(std::string(TESSERA_DATA_DIR) + "/demo.tessera-replay");
    const std::string text{std::istreambuf_iterator<char>(demo), std::istreambuf_iterator<char>()};
    const std::string header = text.substr(0, text.find("\nevents\n") + 8);
    for (const bool asked : {false, true}) {
        SCOPED_TRACE(asked ? "--snapshots" : "by default");
        ProgramUnderX replay;
        replay.pictures().write("keys.tessera-replay", header + "1000000 reshape 640 480\n"
                                                                "2000000 key 112\n"
                                                                "16666667 idle 0.0166666675\n"
                                                                "17000000 key 112\n");
        std::vector<std::string> arguments{"--window", "--replay", "keys.tessera-replay", "--fast"};
        if (asked) {
            arguments.push_back("--snapshots");
        }
        replay.start(arguments);
        ASSERT_TRUE(waitUntil(ProgramUnderX::startTimeout, [&] {
            const std::vector<std::string> lines = replay.outputLines();
            return !lines.empty() && lines.back() == "replay ended";
        })) << replay.errors();
        std::vector<std::string> saved;
        for (const std::string& line : replay.outputLines()) {
            if (line.rfind("snapshot", 0) == 0) {
                saved.push_back(line);
            }
        }
        const std::vector<std::string> wanted{"snapshot tessera-0001.png",
                                              "snapshot tessera-0002.png"};
        EXPECT_EQ(saved, asked ? wanted : std::vector<std::string>());
        EXPECT_EQ(std::filesystem::exists(replay.pictures().path("tessera-0002.png")), asked);
        EXPECT_FALSE(std::filesystem::exists(replay.pictures().path("tessera-0003.png")));
        replay.pressKeys({"grave"});
        EXPECT_EQ(replay.waitForExit(), 1);
    }
}

// A recording carried to another computer finds its photograph where the command line
// says, and only one with the bytes recorded.
TEST(Replay, ARecordingOnAPhotographThatMovedPlaysWhereItIsNamed) {
    ProgramUnderX live;
    const std::string photo = live.pictures().path("picnic.jpg");
    std::filesystem::copy_file(std::string(TESSERA_DATA_DIR) + "/fruits.jpg", photo);
    live.start({"--window", "--record", "picnic.tessera-replay", "picnic.jpg"});
    ASSERT_TRUE(live.waitForOutputLines(1)) << live.errors();
    live.window();
    live.movePointer(300, 200);
    live.click(3);
    live.pressKeys({"grave"});
    ASSERT_EQ(live.waitForExit(), 1) << live.errors();
    std::filesystem::create_directory(live.pictures().path("moved"));
    std::filesystem::rename(photo, live.pictures().path("moved/picnic.jpg"));

    ChildProcess refused({TESSERA_PATH, "--replay", "picnic.tessera-replay"},
                         live.pictures().path());
    ASSERT_EQ(refused.waitForExit(10s), 255);
    EXPECT_EQ(refused.errors().text(),
              "tessera: picnic.jpg: No such file or directory (picnic.tessera-replay was recorded "
              "on the photograph picnic.jpg: name where it is after the recording: tessera "
              "--replay picnic.tessera-replay PICTURE)\n");

    ProgramUnderX replay;
    std::filesystem::copy_file(live.pictures().path("picnic.tessera-replay"),
                               replay.pictures().path("picnic.tessera-replay"));
    std::filesystem::copy_file(live.pictures().path("moved/picnic.jpg"),
                               replay.pictures().path("beach.jpg"));
    replay.start({"--window", "--fast", "--replay", "picnic.tessera-replay", "beach.jpg"});
    ASSERT_TRUE(waitUntil(ProgramUnderX::startTimeout, [&] {
        const std::vector<std::string> lines = replay.outputLines();
        return !lines.empty() && lines.back() == "replay ended";
    })) << replay.errors();
    const std::string summary = replay.outputLines().front();
    EXPECT_EQ(summary.rfind("beach.jpg: 512 x 480 picture from a 512 x 480 photograph, 64 x 60 cells", 0), 0u)
        << summary;
}

TEST(Replay, ACutFileIsRefusedBeforeAWindowOpens) {
    PictureFolder folder;
    folder.write("cut.tessera-replay", "tessera-replay 2\nwindow 640 480\npicture def");
    ChildProcess run({TESSERA_PATH, "--replay", "cut.tessera-replay"}, folder.path());

    ASSERT_EQ(run.waitForExit(10s), 255);
    EXPECT_EQ(run.errors().text(),
              "tessera: cut.tessera-replay:3: the file ends inside the header; expected "
              "\"picture default\", \"picture set PATH\" or \"picture photo PATH\"\n");
    EXPECT_EQ(run.output().text(), "");
}

} // namespace
} // namespace tessera
