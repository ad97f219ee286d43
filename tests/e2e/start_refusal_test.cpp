#include "child_process.h"
#include "picture_folder.h"

#include <filesystem>
#include <gtest/gtest.h>

namespace tessera {
namespace {

using namespace std::chrono_literals;

// No display at all: anything that needs one fails with its own status, so a refusal
// with the picture's status shows that it came before the program looked for a display.
const std::vector<std::string> noDisplay{"DISPLAY="};

TEST(StartRefusal, APictureThatIsNoneIsNamedBeforeTheDisplayIsLookedFor) {
    PictureFolder folder;
    std::filesystem::create_directory(folder.path("shots"));

    ChildProcess run({TESSERA_PATH, "shots"}, folder.path(), noDisplay);

    ASSERT_EQ(run.waitForExit(10s), 255);
    EXPECT_EQ(run.errors().text(), "tessera: shots: a folder, not a photograph, nor a picture "
                                   "set shots.ppm, shots_mask.pgm, shots.map\n");
}

// A photograph that cannot be decoded would end the program with 255: the display's own
// status shows that the display was looked for first.
TEST(StartRefusal, ADisplayThatCannotBeOpenedHasItsOwnStatusBeforeAnyDecoding) {
    PictureFolder folder;
    folder.write("broken.png", std::string("\x89PNG\r\n\x1a\n", 8) + "cut short");

    ChildProcess unset({TESSERA_PATH, "broken.png"}, folder.path(), noDisplay);
    ChildProcess absent({TESSERA_PATH, "--window"}, folder.path(), {"DISPLAY=:8391"});

    ASSERT_EQ(unset.waitForExit(10s), 3);
    EXPECT_EQ(unset.errors().text(), "tessera: no display: DISPLAY is not set\n");
    ASSERT_EQ(absent.waitForExit(10s), 3);
    EXPECT_EQ(absent.errors().text(), "tessera: cannot open display ':8391'\n");
}

} // namespace
} // namespace tessera
