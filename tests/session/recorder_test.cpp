#include "session/recorder.h"
#include "session/replay_reader.h"
#include "support/temp_dir.h"

#include <csignal>
#include <cstdio>
#include <filesystem>
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
    const std::vector<InputEvent> events = {InputEvent::idle(10, 0.5f),
                                            InputEvent::press(20, 2, 30, 40),
                                            InputEvent::keyPress(30, 'q')};
    const pid_t child = fork();
    ASSERT_GE(child, 0);
    if (child == 0) {
        // Killed with no chance to flush or close anything.
        Recorder recorder;
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

TEST(Recorder, NeverWritesOverANameThatIsTaken) {
    TempDir dir;
    const std::string taken = dir.write("taken", "somebody's work");
    const std::string link = dir.path("link");
    fs::create_symlink(dir.path("nowhere"), link);

    for (const std::string& path : {taken, link}) {
        Recorder recorder;
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
    Recorder recorder;
    ASSERT_EQ(recorder.open(path), "");

    EXPECT_EQ(recorder.start(header), "a picture whose name holds a line break cannot be recorded");
    EXPECT_FALSE(fs::exists(path));
}

} // namespace
} // namespace tessera
