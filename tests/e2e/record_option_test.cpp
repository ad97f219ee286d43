#include "child_process.h"
#include "picture_folder.h"

#include <filesystem>
#include <fstream>
#include <gtest/gtest.h>
#include <iterator>

namespace tessera {
namespace {

namespace fs = std::filesystem;
using namespace std::chrono_literals;

std::string bytesOf(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

// No X server answers there: a refusal that came only after the window opened would end
// with freeglut's own message instead.
const std::vector<std::string> noDisplay{"DISPLAY=:7913"};

TEST(RecordOption, NeverReplacesAFileNorOneTheSessionReads) {
    PictureFolder folder;
    fs::copy_file(fs::path(TESSERA_DATA_DIR) / "fruits.jpg", folder.path("fruits.jpg"));
    folder.write("notes.txt", "somebody's notes");
    struct Refused {
        std::vector<std::string> arguments;
        std::string message;
    };
    const Refused cases[] = {
        {{"--record", "fruit.ppm", "fruit"},
         "--record fruit.ppm: one of the files this session "
         "reads"},
        {{"--record", "fruit_mask.pgm"},
         "--record fruit_mask.pgm: one of the files this "
         "session reads"},
        {{"fruits.jpg", "--record", "./fruits.jpg"},
         "--record ./fruits.jpg: one of the files "
         "this session reads"},
        {{"--record", "notes.txt", "fruit"},
         "--record notes.txt: already there, and never "
         "written over"},
    };
    for (const Refused& refused : cases) {
        SCOPED_TRACE(refused.message);
        const std::vector<std::string> before = {
            bytesOf(folder.path("fruit.ppm")), bytesOf(folder.path("fruit_mask.pgm")),
            bytesOf(folder.path("fruits.jpg")), bytesOf(folder.path("notes.txt"))};
        std::vector<std::string> command{TESSERA_PATH};
        command.insert(command.end(), refused.arguments.begin(), refused.arguments.end());
        ChildProcess run(command, folder.path(), noDisplay);

        ASSERT_EQ(run.waitForExit(10s), 2) << run.errors().text();
        const std::vector<std::string> lines = run.errors().lines();
        ASSERT_GE(lines.size(), 2u);
        EXPECT_EQ(lines[0], "tessera: " + refused.message);
        EXPECT_EQ(lines[1].rfind("usage: tessera ", 0), 0u);
        EXPECT_EQ(before, (std::vector<std::string>{bytesOf(folder.path("fruit.ppm")),
                                                    bytesOf(folder.path("fruit_mask.pgm")),
                                                    bytesOf(folder.path("fruits.jpg")),
                                                    bytesOf(folder.path("notes.txt"))}));
    }
}

TEST(RecordOption, AStartRefusedAfterTheOptionsLeavesNoRecording) {
    PictureFolder folder;
    for (const char* suffix : {".ppm", "_mask.pgm", ".map"}) {
        fs::copy_file(folder.path(std::string("fruit") + suffix),
                      folder.path(std::string("two\nlines") + suffix));
    }
    ChildProcess run({TESSERA_PATH, "--record", "new.tessera-replay", "two\nlines"}, folder.path(),
                     noDisplay);

    ASSERT_EQ(run.waitForExit(10s), 255);
    EXPECT_EQ(run.errors().text(),
              "tessera: cannot record: a picture whose name holds a line break cannot be "
              "recorded\n");
    EXPECT_FALSE(fs::exists(folder.path("new.tessera-replay")));
}

} // namespace
} // namespace tessera
