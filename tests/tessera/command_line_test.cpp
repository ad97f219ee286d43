#include "tessera/command_line.h"

#include <gtest/gtest.h>
#include <vector>

namespace tessera {
namespace {

std::string parse(const std::vector<const char*>& arguments, CommandLine& options) {
    return parseCommandLine(static_cast<int>(arguments.size()), arguments.data(), options);
}

TEST(CommandLine, NoArgumentsMeanTheDefaultStart) {
    CommandLine options;
    EXPECT_EQ(parse({}, options), "");
    EXPECT_EQ(options.windowMode, WindowMode::Default);
    EXPECT_EQ(options.picture, "");
    EXPECT_FALSE(options.photoOptionsGiven);
    EXPECT_EQ(options.clearAfterSeconds, 0.0);
    EXPECT_EQ(options.maxShapes, 0);
    EXPECT_EQ(options.idleScatterSeconds, 27.0);
    EXPECT_FALSE(options.touch);
}

TEST(CommandLine, TakesOptionsAndThePictureInAnyOrderWithEitherValueForm) {
    CommandLine options;
    ASSERT_EQ(parse({"--regions=7", "shots/beach.jpg", "--cells", "32x24", "--window",
                     "--clear-after", "90.5", "--max-shapes=5000", "--touch", "--idle-scatter=0"},
                    options),
              "");
    EXPECT_EQ(options.picture, "shots/beach.jpg");
    EXPECT_EQ(options.windowMode, WindowMode::Window);
    EXPECT_EQ(options.photo.regions, 7);
    EXPECT_EQ(options.photo.cellsAcross, 32);
    EXPECT_EQ(options.photo.cellsDown, 24);
    EXPECT_TRUE(options.photoOptionsGiven);
    EXPECT_EQ(options.clearAfterSeconds, 90.5);
    EXPECT_EQ(options.maxShapes, 5000);
    EXPECT_EQ(options.idleScatterSeconds, 0.0);
    EXPECT_TRUE(options.touch);
}

TEST(CommandLine, AcceptsUnambiguousAbbreviationsAndEndsOptionsAtDoubleDash) {
    CommandLine options;
    ASSERT_EQ(parse({"--full", "--ref", "--", "--window"}, options), "");
    EXPECT_TRUE(options.referenceDrawing);
    EXPECT_EQ(options.windowMode, WindowMode::FullScreen);
    EXPECT_EQ(options.picture, "--window");
}

TEST(CommandLine, AWindowOfAGivenSize) {
    CommandLine options;
    ASSERT_EQ(parse({"--window-size", "1280x720", "--window"}, options), "");
    EXPECT_EQ(options.windowMode, WindowMode::Window);
    EXPECT_EQ(options.windowWidth, 1280);
    EXPECT_EQ(options.windowHeight, 720);
}

TEST(CommandLine, AReplayMayNameThePictureAndTheWindow) {
    CommandLine options;
    ASSERT_EQ(
        parse({"--replay", "demo.tessera-replay", "--fast", "--window", "moved/fruit"}, options),
        "");
    EXPECT_EQ(options.replay, "demo.tessera-replay");
    EXPECT_TRUE(options.fast);
    EXPECT_EQ(options.picture, "moved/fruit");
}

TEST(CommandLine, AKioskFillsTheScreenAndAFolderOfPhotographsTakesThePhotographOptions) {
    CommandLine options;
    ASSERT_EQ(parse({"--kiosk", "--photos", "shots", "--shuffle", "--regions=5"}, options), "");
    EXPECT_EQ(options.windowMode, WindowMode::FullScreen);
    EXPECT_TRUE(options.kiosk);
    EXPECT_EQ(options.photos, "shots");
    EXPECT_TRUE(options.shuffle);
    EXPECT_EQ(options.photo.regions, 5);
}

TEST(CommandLine, ASharedShowListensWhereItIsToldForAsManyPhonesAsItIsTold) {
    CommandLine options;
    ASSERT_EQ(
        parse({"--share", "192.168.1.20:8080", "--share-max=4", "--share-code", "off"}, options),
        "");
    EXPECT_TRUE(options.share);
    EXPECT_EQ(options.shareAddress.host, "192.168.1.20");
    EXPECT_EQ(options.shareAddress.port, 8080);
    EXPECT_EQ(options.shareMax, 4);
    EXPECT_FALSE(options.shareCode);
}

TEST(CommandLine, AnInvitationIsTheDemoUnlessAFileIsJoinedToTheOption) {
    const struct {
        const char* name;
        std::vector<const char*> arguments;
        const char* file;
        const char* picture;
        double after;
    } rows[] = {
        {"the demo after a minute", {"--invite"}, "", "", 60.0},
        {"a file after it", {"--invite=mine.tessera-replay"}, "mine.tessera-replay", "", 60.0},
        {"the word after it is the picture", {"--invite", "beach.jpg"}, "", "beach.jpg", 60.0},
        {"a time of its own", {"--invite-after", "12.5", "--invite"}, "", "", 12.5},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.name);
        CommandLine options;
        ASSERT_EQ(parse(row.arguments, options), "");
        EXPECT_TRUE(options.invite);
        EXPECT_EQ(options.inviteFile, row.file);
        EXPECT_EQ(options.picture, row.picture);
        EXPECT_EQ(options.inviteAfterSeconds, row.after);
    }
}

TEST(CommandLine, HelpWinsOverEverythingAfterIt) {
    CommandLine options;
    EXPECT_EQ(parse({"--help", "--bogus"}, options), "");
    EXPECT_TRUE(options.help);
}

TEST(CommandLine, NamesWhatIsWrong) {
    const struct {
        const char* name;
        std::vector<const char*> arguments;
        const char* message;
    } rows[] = {
        {"unknown option", {"--bogus=3"}, "unknown option '--bogus'"},
        {"unknown short option", {"-x"}, "unknown option '-x'"},
        // getopt is still inside a group: the argument before it is not at fault.
        {"unknown group first", {"-xyz"}, "unknown option '-x'"},
        {"unknown group after the picture", {"pic.jpg", "-qz"}, "unknown option '-q'"},
        {"missing value", {"--regions"}, "--regions needs a value"},
        {"value on a switch", {"--window=yes"}, "--window takes no value"},
        {"both window modes",
         {"--window", "--fullscreen"},
         "--window and --fullscreen cannot be given together"},
        {"a window and full screen",
         {"--fullscreen", "--window-size=800x600"},
         "--fullscreen and --window-size cannot be given together"},
        {"window size without a height",
         {"--window-size", "800"},
         "--window-size needs WxH with W and H from 1 to 8192, not '800'"},
        {"window size too wide",
         {"--window-size=8193x600"},
         "--window-size needs WxH with W and H from 1 to 8192, not '8193x600'"},
        {"two pictures", {"a.jpg", "b.jpg"}, "more than one picture given: 'a.jpg' and 'b.jpg'"},
        {"two pictures for a replay",
         {"--replay", "a", "x.jpg", "y.jpg"},
         "more than one picture given: 'x.jpg' and 'y.jpg'"},
        {"regions 0", {"--regions", "0"}, "--regions needs a whole number from 1 to 255, not '0'"},
        {"regions 256",
         {"--regions=256"},
         "--regions needs a whole number from 1 to 255, not '256'"},
        {"regions signed",
         {"--regions=+5"},
         "--regions needs a whole number from 1 to 255, not '+5'"},
        {"cells without x",
         {"--cells=64"},
         "--cells needs auto or WxH with W from 1 to 640 and H from 1 to 640, not '64'"},
        {"cells too tall",
         {"--cells=64x641"},
         "--cells needs auto or WxH with W from 1 to 640 and H from 1 to 640, not '64x641'"},
        {"clear-after zero",
         {"--clear-after=0"},
         "--clear-after needs a number of seconds above 0, not '0'"},
        {"clear-after negative",
         {"--clear-after", "-5"},
         "--clear-after needs a number of seconds above 0, not '-5'"},
        {"clear-after not a number",
         {"--clear-after=1e3"},
         "--clear-after needs a number of seconds above 0, not '1e3'"},
        {"idle-scatter negative",
         {"--idle-scatter=-1"},
         "--idle-scatter needs a number of seconds, 0 for never, not '-1'"},
        {"idle-scatter empty",
         {"--idle-scatter="},
         "--idle-scatter needs a number of seconds, 0 for never, not ''"},
        {"max-shapes too many",
         {"--max-shapes=100000001"},
         "--max-shapes needs a whole number from 1 to 100000000, not '100000001'"},
        {"record and replay",
         {"--record=a.tessera-replay", "--replay", "b.tessera-replay"},
         "--record and --replay cannot be given together"},
        {"touch in a replay",
         {"--replay=a", "--touch"},
         "--touch and --replay cannot be given together"},
        {"fast without replay", {"--fast", "--record=a"}, "--fast only goes with --replay"},
        {"snapshots without replay", {"--snapshots"}, "--snapshots only goes with --replay"},
        {"invite in a replay",
         {"--replay=a", "--invite"},
         "--invite and --replay cannot be given together"},
        {"invite-after alone", {"--invite-after=5"}, "--invite-after only goes with --invite"},
        {"invite-after zero",
         {"--invite", "--invite-after=0"},
         "--invite-after needs a number of seconds above 0, not '0'"},
        {"replay with the canvas's options",
         {"--replay=a", "--max-shapes=5"},
         "--replay takes --regions, --cells, --fit, --max-size, --clear-after, --idle-scatter, "
         "--max-shapes and --reference-drawing from the recording"},
        {"photos and a picture",
         {"--photos", "shots", "beach.jpg"},
         "--photos and a picture cannot be given together"},
        {"photos recorded",
         {"--record=a", "--photos=shots"},
         "--record and --photos cannot be given together"},
        {"photos replayed",
         {"--photos=shots", "--replay=a"},
         "--replay and --photos cannot be given together"},
        {"photos without a folder", {"--photos="}, "--photos needs a folder"},
        {"shuffle without photos", {"--shuffle"}, "--shuffle only goes with --photos"},
        {"share a host name",
         {"--share=gallery.local:8080"},
         "--share: \"gallery.local\" is not an IPv4 address such as 192.168.1.20 (host names "
         "are not taken)"},
        {"share in a replay",
         {"--replay=a", "--share=8080"},
         "--share and --replay cannot be given together"},
        {"share-max alone", {"--share-max=4"}, "--share-max only goes with --share"},
        {"share-max none",
         {"--share=8080", "--share-max=0"},
         "--share-max needs a whole number from 1 to 100, not '0'"},
        {"share-code neither",
         {"--share=8080", "--share-code=no"},
         "--share-code needs on or off, not 'no'"},
        {"kiosk in a window",
         {"--kiosk", "--window"},
         "--kiosk fills the screen; --window cannot be given with it"},
        {"render scale below a half",
         {"--render-scale=0.4"},
         "--render-scale needs auto or a number from 0.5 to 1, not '0.4'"},
        {"render scale a word",
         {"--render-scale=fast"},
         "--render-scale needs auto or a number from 0.5 to 1, not 'fast'"},
        {"kiosk in a window of a size",
         {"--window-size=800x600", "--kiosk"},
         "--kiosk fills the screen; --window-size cannot be given with it"},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.name);
        CommandLine options;
        EXPECT_EQ(parse(row.arguments, options), row.message);
    }
}

TEST(CommandLine, AReplayRefusesEveryOptionThatTheRecordingSets) {
    // Each of these would make the replay differ from the session recorded, so each one is
    // refused on its own, whichever side of --replay it stands.
    const struct {
        const char* name;
        std::vector<const char*> arguments;
    } rows[] = {
        {"--regions", {"--regions=7", "--replay=a"}},
        {"--cells", {"--replay=a", "--cells", "32x24"}},
        {"--fit", {"--replay=a", "--fit=pad"}},
        {"--max-size", {"--max-size=300x200", "--replay", "a"}},
        {"--clear-after", {"--replay=a", "--clear-after=30"}},
        {"--idle-scatter", {"--idle-scatter=0", "--replay=a"}},
        {"--max-shapes", {"--max-shapes=5", "--replay=a"}},
        {"--reference-drawing", {"--replay=a", "--reference-drawing"}},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.name);
        CommandLine options;
        EXPECT_EQ(parse(row.arguments, options),
                  "--replay takes --regions, --cells, --fit, --max-size, --clear-after, "
                  "--idle-scatter, --max-shapes and --reference-drawing from the recording");
    }
}

} // namespace
} // namespace tessera
