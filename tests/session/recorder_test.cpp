#include "canvas/canvas.h"
#include "replay/idle_run.h"
#include "replay/replay_reader.h"
#include "session/recorder.h"
#include "support/temp_dir.h"

#include <cmath>
#include <csignal>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <gtest/gtest.h>
#include <sys/wait.h>
#include <unistd.h>
#include <vector>

namespace tessera {
namespace {

namespace fs = std::filesystem;
using test::TempDir;

// Reads a replay file back whole: its events, and the fault if any.
std::string readBack(const std::string& path, std::vector<InputEvent>& events) {
    std::FILE* file = std::fopen(path.c_str(), "r");
    if (file == nullptr) {
        return path + ": cannot open";
    }
    ReplayReader reader(file, path);
    ReplayHeader header;
    std::string error = reader.readHeader(header);
    InputEvent event;
    while (error.empty() && reader.next(event, error)) {
        events.push_back(event);
    }
    std::fclose(file);
    return error;
}

TEST(Recorder, TheLastEventBeforeAKillIsOnDisk) {
    TempDir dir;
    const std::string path = dir.path("session.tessera-replay");
    // Ends in an idle run, whose line is written over itself as it grows.
    const std::vector<InputEvent> events = {
        InputEvent::idle(10, 1e-8f),   InputEvent::press(20, 2, 30, 40),
        InputEvent::keyPress(30, 'q'), InputEvent::idle(40, 1e-8f),
        InputEvent::idle(50, 1e-8f),   InputEvent::idle(60, 1e-8f)};
    const pid_t child = fork();
    ASSERT_GE(child, 0);
    if (child == 0) {
        // Killed with no chance to flush or close anything.
        const Canvas canvas;
        Recorder recorder(canvas);
        if (!recorder.open(path).empty() || !recorder.start(ReplayHeader()).empty()) {
            _exit(1);
        }
        for (const InputEvent& event : events) {
            recorder.delivered(event);
        }
        std::raise(SIGKILL);
    }
    int status = 0;
    ASSERT_EQ(waitpid(child, &status, 0), child);
    ASSERT_TRUE(WIFSIGNALED(status)) << "the recorder could not start";

    std::vector<InputEvent> read;
    EXPECT_EQ(readBack(path, read), "");
    EXPECT_EQ(read, events);
}

// count idle steps of dt from ticks first, each step ticks after the one before.
void addSteady(std::vector<InputEvent>& events, std::int64_t first, int count, std::int64_t step,
               float dt) {
    for (int i = 0; i < count; ++i) {
        events.push_back(InputEvent::idle(first + i * step, dt));
    }
}

TEST(Recorder, IdleStretchesTakeALineEachAndPlayBackTheSame) {
    constexpr std::int64_t frame = 16666666;
    const float frameDt = static_cast<float>(frame * 1e-9);
    struct Row {
        const char* name;
        std::vector<InputEvent> events;
        int lines;
    };
    std::vector<Row> rows;
    rows.push_back({"a minute at 60 a second", {}, 1});
    addSteady(rows.back().events, 0, 3600, frame, frameDt);
    rows.push_back({"a late frame between", {}, 3});
    addSteady(rows.back().events, 0, 10, frame, frameDt);
    rows.back().events.push_back(InputEvent::idle(11 * frame, 2 * frameDt));
    addSteady(rows.back().events, 12 * frame, 10, frame, frameDt);
    rows.push_back({"like steps at uneven times",
                    {InputEvent::idle(0, 1e-8f), InputEvent::idle(10, 1e-8f),
                     InputEvent::idle(25, 1e-8f), InputEvent::idle(35, 1e-8f)},
                    2});
    rows.push_back({"a press and a key between", {}, 4});
    addSteady(rows.back().events, 0, 5, frame, frameDt);
    rows.back().events.push_back(InputEvent::press(5 * frame, 2, 10, 20));
    addSteady(rows.back().events, 5 * frame, 5, frame, frameDt);
    rows.back().events.push_back(InputEvent::keyPress(10 * frame, 'r'));
    rows.push_back({"steps one float apart", {}, 2});
    addSteady(rows.back().events, 0, 3, 10, 1e-8f);
    addSteady(rows.back().events, 30, 3, 10, std::nextafter(1e-8f, 1.0f));
    rows.push_back({"steps at one instant", {}, 1});
    addSteady(rows.back().events, 5, 3, 0, 0.0f);
    rows.push_back({"steps too small to print plainly", {}, 1});
    addSteady(rows.back().events, 0, 4, 300, 3.0e-7f);
    rows.push_back({"steps sooner than their dt, a line each", {}, 3});
    addSteady(rows.back().events, 0, 3, 10, 0.25f);

    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        TempDir dir;
        const std::string path = dir.path("session.tessera-replay");
        {
            const Canvas canvas;
            Recorder recorder(canvas);
            ASSERT_EQ(recorder.open(path), "");
            ASSERT_EQ(recorder.start(ReplayHeader()), "");
            for (const InputEvent& event : row.events) {
                recorder.delivered(event);
            }
        }
        std::vector<InputEvent> read;
        EXPECT_EQ(readBack(path, read), "");
        EXPECT_EQ(read, row.events) << "every tick and dt comes back exactly";
        std::ifstream file(path);
        std::string line;
        int lines = 0;
        while (std::getline(file, line) && line != "events") {
        }
        while (std::getline(file, line)) {
            ++lines;
        }
        EXPECT_EQ(lines, row.lines);
    }
}

TEST(Recorder, OnABoardOfAnotherShapeThePointerIsRecordedWhereItWas) {
    TempDir dir;
    const std::string path = dir.path("session.tessera-replay");
    const std::vector<InputEvent> events = {InputEvent::motion(1, 300, 200),
                                            InputEvent::press(2, 2, 300, 200),
                                            InputEvent::release(3, 2, 301, 201)};
    {
        Canvas canvas;
        canvas.boardWidth = 480; // a 3:4 photograph's
        canvas.boardHeight = 640;
        Recorder recorder(canvas);
        ASSERT_EQ(recorder.open(path), "");
        ReplayHeader header;
        header.board = {480, 640};
        ASSERT_EQ(recorder.start(header), "");
        for (const InputEvent& event : events) {
            recorder.delivered(event);
        }
    }
    std::vector<InputEvent> read;
    EXPECT_EQ(readBack(path, read), "");
    EXPECT_EQ(read, events);
}

TEST(Recorder, AnIdleRunLineHoldsAtMostTheLongestRun) {
    IdleRun run;
    int lines = 0;
    for (std::int64_t i = 0; i <= maxReplayRun; ++i) {
        lines += run.add(InputEvent::idle(i, 1.0e-9f)) ? 0 : 1;
    }
    EXPECT_EQ(lines, 2);
}

TEST(Recorder, NeverWritesOverANameThatIsTaken) {
    TempDir dir;
    const std::string taken = dir.write("taken", "somebody's work");
    const std::string link = dir.path("link");
    fs::create_symlink(dir.path("nowhere"), link);

    for (const std::string& path : {taken, link}) {
        const Canvas canvas;
        Recorder recorder(canvas);
        EXPECT_EQ(recorder.open(path), path + ": File exists");
        EXPECT_NE(recorder.start(ReplayHeader()), "");
    }
    std::vector<InputEvent> none;
    EXPECT_EQ(readBack(taken, none), taken + ":1: not a tessera replay file");
    EXPECT_FALSE(fs::exists(dir.path("nowhere"))) << "the link is not followed";
}

TEST(Recorder, AHeaderThatCannotBeWrittenLeavesNoFile) {
    TempDir dir;
    const std::string path = dir.path("session.tessera-replay");
    ReplayHeader header;
    header.picture = ReplayHeader::PictureSet;
    header.picturePath = "two\nlines";
    const Canvas canvas;
    Recorder recorder(canvas);
    ASSERT_EQ(recorder.open(path), "");

    EXPECT_EQ(recorder.start(header), "a picture whose name holds a line break cannot be recorded");
    EXPECT_FALSE(fs::exists(path));
}

TEST(Recorder, AWindowTooLargeIsRecordedAtItsShapeWithThePointerOnTheSameBoardPoint) {
    TempDir dir;
    const std::string path = dir.path("wall.tessera-replay");
    Canvas canvas;
    canvas.cameraX = 320.0f; // as a load leaves the camera, over the board's centre
    canvas.cameraY = 240.0f;
    ReplayHeader header;
    header.width = 10240;
    header.height = 1200;
    const std::vector<std::pair<int, int>> pointer = {
        {0, 0}, {10239, 1199}, {5120, 600}, {7001, 313}};
    Recorder recorder(canvas);
    ::testing::internal::CaptureStderr();
    ASSERT_EQ(recorder.open(path), "");
    ASSERT_EQ(recorder.start(header), "");
    std::int64_t ticks = 0;
    for (const auto& [x, y] : pointer) {
        recorder.delivered(InputEvent::press(++ticks, 2, x, y));
    }
    recorder.delivered(InputEvent::reshape(++ticks, 9000, 9000));
    recorder.delivered(InputEvent::reshape(++ticks, 640, 480));
    recorder.delivered(InputEvent::motion(++ticks, 600, 400));
    EXPECT_EQ(::testing::internal::GetCapturedStderr(),
              "tessera: a recording holds a window of at most 8192 pixels a side: this 10240 x "
              "1200 one is recorded as 8192 x 960, the pointer where it shows the same board "
              "point\n")
        << "said once a session";

    ReplayHeader read;
    ASSERT_EQ(checkReplayFile(path, read), "") << "the readers take it";
    EXPECT_EQ(read.width, 8192);
    EXPECT_EQ(read.height, 960);
    std::vector<InputEvent> events;
    ASSERT_EQ(readBack(path, events), "");
    ASSERT_EQ(events.size(), pointer.size() + 3);
    for (std::size_t i = 0; i < pointer.size(); ++i) {
        float liveX = 0.0f;
        float liveY = 0.0f;
        float recordedX = 0.0f;
        float recordedY = 0.0f;
        ASSERT_EQ(canvas.unprojectIn({0, 0, 10240, 1200}, pointer[i].first, pointer[i].second,
                                     liveX, liveY),
                  1);
        ASSERT_EQ(
            canvas.unprojectIn({0, 0, 8192, 960}, events[i].x, events[i].y, recordedX, recordedY),
            1);
        // Within half a recorded pixel: 0.26 board units at this size.
        EXPECT_NEAR(recordedX, liveX, 0.3f) << i;
        EXPECT_NEAR(recordedY, liveY, 0.3f) << i;
    }
    EXPECT_EQ(events[pointer.size()], InputEvent::reshape(5, 8192, 8192));
    EXPECT_EQ(events[pointer.size() + 1], InputEvent::reshape(6, 640, 480));
    EXPECT_EQ(events.back(), InputEvent::motion(7, 600, 400)) << "a window it holds is as it was";
}

} // namespace
} // namespace tessera
