#include "replay/picture_checksum.h"
#include "replay/replay_writer.h"
#include "scratch_folder.h"
#include "tool_process.h"

#include <filesystem>
#include <fstream>
#include <gtest/gtest.h>
#include <iterator>
#include <string>

namespace tessera {
namespace {

namespace fs = std::filesystem;

const std::string sourceDir = TESSERA_SOURCE_DIR;
const std::string demo = sourceDir + "/data/demo.tessera-replay";

std::string readBytes(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

// The demo's header and its first events, one a line.
std::string demoOpening(int events) {
    const std::string text = oneEventALine(readBytes(demo));
    std::size_t end = text.find("\nevents\n") + 8;
    for (int line = 0; line < events; ++line) {
        end = text.find('\n', end) + 1;
    }
    return text.substr(0, end);
}

class TesseraRender : public ::testing::Test {
protected:
    ScratchFolder outputs;
    ScratchFolder logs;

    std::string output(const std::string& name) const { return outputs.path(name); }
    ToolRun render(const std::vector<std::string>& arguments) {
        return runTool(TESSERA_RENDER_PATH, arguments, logs.path());
    }
};

TEST_F(TesseraRender, TheDemoRendersToTheSameBytesEveryTime) {
    const ToolRun first = render(
        {demo, "--snapshot", output("first.png"), "--frames", output("frames"), "--every", "700"});
    const ToolRun second = render({demo, "--snapshot", output("second.png")});

    ASSERT_EQ(first.status, 0) << first.errors;
    ASSERT_EQ(second.status, 0) << second.errors;
    EXPECT_NE(first.output.find("connection (time="), std::string::npos)
        << "the session's own output comes as it did:\n"
        << first.output;
    EXPECT_NE(first.output.find("wrote 3 frames to " + output("frames") + "\nwrote " +
                                output("first.png") + " (640 x 480, frame 2100)\n"),
              std::string::npos)
        << first.output;
    const std::string bytes = readBytes(output("first.png"));
    EXPECT_GT(bytes.size(), 1000u);
    EXPECT_EQ(bytes, readBytes(output("second.png")));
    EXPECT_TRUE(fs::is_regular_file(output("frames/frame-000003.png")));
}

TEST_F(TesseraRender, RendersAtAnotherSizeWhenAsked) {
    // The demo's first 120 lines: its opening, with the first shape painted.
    std::ofstream(output("opening.tessera-replay")) << demoOpening(114);

    const ToolRun run = render(
        {output("opening.tessera-replay"), "--size", "1920x1080", "--snapshot", output("big.png")});

    ASSERT_EQ(run.status, 0) << run.errors;
    EXPECT_NE(run.output.find("wrote " + output("big.png") + " (1920 x 1080, frame "),
              std::string::npos)
        << run.output;
}

TEST_F(TesseraRender, AWindowThatGrewAndShrankShowsWhatOneThatNeverChangedShows) {
    // The opening paints a shape at (120, 130); a left press there after the window has
    // been larger picks it, and the frame shows the gesture's line. The grown window opens
    // larger than it ever is later, and shrinks at its first event.
    std::string steady = demoOpening(194);
    std::string grown = steady;
    grown.replace(grown.find("\nwindow 640 480\n"), 16, "\nwindow 1200 900\n");
    std::int64_t ticks = 3400000000;
    const auto add = [&](const std::string& event, bool resize) {
        const std::string line = std::to_string(ticks += 16666667) + " " + event + "\n";
        grown += line;
        steady += resize ? "" : line;
    };
    for (const char* size : {"1000 700", "640 900", "1200 300", "640 480"}) {
        add(std::string("reshape ") + size, true);
        add("idle 0.0166666675", false);
    }
    add("press 0 120 130", false);
    add("motion 300 200", false);
    add("idle 0.0166666675", false);
    std::ofstream(output("grown.tessera-replay")) << grown;
    std::ofstream(output("steady.tessera-replay")) << steady;

    for (const char* name : {"grown", "steady"}) {
        const std::string session = name;
        const ToolRun run =
            render({output(session + ".tessera-replay"), "--snapshot", output(session + ".png"),
                    "--frames", output(session), "--every", "189"});
        ASSERT_EQ(run.status, 0) << run.errors;
        EXPECT_NE(run.output.find("wrote 2 frames"), std::string::npos) << run.output;
        EXPECT_NE(run.output.find("(640 x 480, frame 190)"), std::string::npos) << run.output;
    }

    for (const char* file : {".png", "/frame-000001.png", "/frame-000002.png"}) {
        EXPECT_TRUE(readBytes(output("grown") + file) == readBytes(output("steady") + file))
            << file;
    }
}

TEST_F(TesseraRender, ManyResizesCostNoMoreMemoryThanTheLargest) {
    // 150 times 2048 x 2048 and 1 x 1 by turns: a buffer for each would take 2.5 GB, one of
    // the larger size 16 MB.
    std::string text = demoOpening(0);
    for (int i = 0; i < 150; ++i) {
        const std::int64_t ticks = 1000000 + 33333334LL * i;
        const int side = i % 2 == 0 ? 2048 : 1;
        text += std::to_string(ticks) + " reshape " + std::to_string(side) + " " +
                std::to_string(side) + "\n" + std::to_string(ticks + 16666667) +
                " idle 0.0166666675\n";
    }
    std::ofstream(output("resizes.tessera-replay")) << text;

    const ToolRun run =
        render({output("resizes.tessera-replay"), "--snapshot", output("last.png")});

    ASSERT_EQ(run.status, 0) << run.errors;
    EXPECT_NE(run.output.find("(1 x 1, frame 150)"), std::string::npos) << run.output;
    EXPECT_LT(run.peakKib, 600 * 1024) << "measured: 132 MB, 353 MB with the address sanitizer";
    std::printf("peak memory of 150 resizes: %ld MB\n", run.peakKib / 1024);
}

TEST_F(TesseraRender, TheShippedDemoIsWhatItsGeneratorWrites) {
    const ToolRun made = runTool(TESSERA_MAKE_DEMO_PATH, {sourceDir + "/data/fruit"}, logs.path());
    ASSERT_EQ(made.status, 0) << made.errors;
    EXPECT_TRUE(made.output == readBytes(demo))
        << "remake it: tessera-make-demo data/fruit > data/demo.tessera-replay";
}

TEST_F(TesseraRender, ABadReplayFileEndsItWithOneLineAndNothingWritten) {
    // The first 100 lines, then an event from before the last of them.
    const std::string text = oneEventALine(readBytes(demo));
    std::size_t end = 0;
    for (int line = 0; line < 100; ++line) {
        end = text.find('\n', end) + 1;
    }
    const std::size_t lastLine = text.rfind('\n', end - 2) + 1;
    const std::string lastTicks = text.substr(lastLine, text.find(' ', lastLine) - lastLine);
    std::ofstream(output("reordered.tessera-replay")) << text.substr(0, end) << "1 key 97\n";

    const ToolRun run =
        render({output("reordered.tessera-replay"), "--snapshot", output("never.png")});

    EXPECT_EQ(run.status, 255);
    EXPECT_EQ(run.errors, "tessera-render: " + output("reordered.tessera-replay") +
                              ":101: the time goes backwards: 1 comes after " + lastTicks + "\n");
    EXPECT_EQ(run.output, "") << "nothing is played before the whole file is checked";
    EXPECT_FALSE(fs::exists(output("never.png")));
}

TEST_F(TesseraRender, APictureOtherThanTheRecordedOneIsRefused) {
    for (const char* suffix : {".ppm", "_mask.pgm", ".map"}) {
        fs::copy_file(sourceDir + "/data/fruit" + suffix, output(std::string("fruit") + suffix));
    }
    std::ofstream(output("fruit.map"), std::ios::app) << "\n";

    const ToolRun run =
        render({demo, "--picture", output("fruit"), "--snapshot", output("never.png")});

    EXPECT_EQ(run.status, 255);
    EXPECT_EQ(run.errors.rfind("tessera-render: " + output("fruit") + ": not the picture " + demo +
                                   " was recorded on, the default picture (checksum ",
                               0),
              0u)
        << run.errors;
    EXPECT_FALSE(fs::exists(output("never.png")));
}

TEST_F(TesseraRender, ARecordingOnAPhotographPlaysOnTheFileGivenWithTheSameBytesOnly) {
    // As the web page records one: the photograph by its file's name alone, the page's
    // options, the file's checksum; the demo's opening events.
    const std::string photo = sourceDir + "/data/fruits.jpg";
    fs::copy_file(photo, output("picnic.jpg"));
    fs::copy_file(photo, output("other.jpg"));
    std::ofstream(output("other.jpg"), std::ios::app) << '\0'; // decodes as before
    ReplayHeader header;
    header.picture = ReplayHeader::Photograph;
    header.picturePath = "picnic.jpg";
    ASSERT_EQ(checksumFiles({photo}, header.checksum), "");
    const std::string opening = demoOpening(200);
    const std::string recording = output("picnic.tessera-replay");
    std::ofstream(recording) << replayHeaderText(header)
                             << opening.substr(opening.find("\nevents\n") + 8);

    const struct {
        const char* name;
        std::vector<std::string> picture;
        int status;
        std::string said;
    } rows[] = {
        {"the file given", {"--picture", output("picnic.jpg")}, 0, ""},
        {"none given",
         {},
         255,
         "tessera-render: picnic.jpg: No such file or directory (" + recording +
             " was recorded on the photograph picnic.jpg: name where it is with --picture "
             "PICTURE)\n"},
        {"another photograph",
         {"--picture", output("other.jpg")},
         255,
         "tessera-render: " + output("other.jpg") + ": not the picture " + recording +
             " was recorded on, the photograph picnic.jpg (checksum "},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.name);
        std::vector<std::string> arguments = {recording, "--snapshot", output("last.png")};
        arguments.insert(arguments.end(), row.picture.begin(), row.picture.end());
        const ToolRun run = render(arguments);

        EXPECT_EQ(run.status, row.status) << run.errors;
        EXPECT_EQ(run.errors.substr(0, row.said.size()), row.said);
        EXPECT_EQ(fs::exists(output("last.png")), row.status == 0);
        if (row.status == 0) {
            EXPECT_EQ(run.output.rfind(output("picnic.jpg") + ": 512 x 384 picture from a 512 x "
                                                              "480 photograph, 64 x 48 cells, ",
                                       0),
                      0u)
                << run.output;
            EXPECT_NE(run.output.find("wrote " + output("last.png") + " (640 x 480, frame "),
                      std::string::npos)
                << run.output;
        }
        fs::remove(output("last.png"));
    }
}

TEST_F(TesseraRender, NeverWritesOverWhatTheSessionReadsNorOverADevice) {
    fs::copy_file(demo, output("demo.tessera-replay"));
    for (const char* suffix : {".ppm", "_mask.pgm", ".map"}) {
        fs::copy_file(sourceDir + "/data/fruit" + suffix, output(std::string("fruit") + suffix));
    }
    fs::create_directory(output("frames"));
    fs::create_hard_link(output("demo.tessera-replay"), output("frames/frame-000001.png"));
    fs::create_symlink("/dev/full", output("full.png"));
    const std::vector<std::string> session = {output("demo.tessera-replay"), "--picture",
                                              output("fruit")};
    struct Refused {
        std::vector<std::string> outputs;
        std::string fault;
    };
    const Refused cases[] = {
        {{"--snapshot", output("demo.tessera-replay")}, ": one of the files this session reads"},
        {{"--snapshot", output("fruit.ppm")}, ": one of the files this session reads"},
        {{"--snapshot", output("fruit_mask.pgm")}, ": one of the files this session reads"},
        {{"--snapshot", output("fruit.map")}, ": one of the files this session reads"},
        {{"--frames", output("frames")}, ": one of the files this session reads"},
        {{"--snapshot", output("full.png")}, ": there already and not a regular file"},
    };
    for (const Refused& refused : cases) {
        const std::string& named = refused.outputs[1];
        SCOPED_TRACE(named);
        // Reading /dev/full would never end.
        const auto bytes = [&] {
            return fs::is_regular_file(named) ? readBytes(named) : std::string();
        };
        const std::string before = bytes();
        std::vector<std::string> arguments = session;
        arguments.insert(arguments.end(), refused.outputs.begin(), refused.outputs.end());
        const ToolRun run = render(arguments);

        EXPECT_EQ(run.status, 2);
        const std::string path =
            refused.outputs[0] == "--frames" ? output("frames/frame-000001.png") : named;
        EXPECT_EQ(run.errors.rfind("tessera-render: " + path + refused.fault + "\nusage: ", 0), 0u)
            << run.errors;
        EXPECT_EQ(run.output, "");
        EXPECT_EQ(bytes(), before);
    }
    EXPECT_TRUE(fs::is_symlink(output("full.png")));
}

TEST_F(TesseraRender, AFrameThatWouldReplaceADeviceStopsTheRenderAndKeepsIt) {
    fs::create_directory(output("frames"));
    fs::create_symlink("/dev/full", output("frames/frame-000002.png"));

    const ToolRun run = render({demo, "--frames", output("frames"), "--every", "700"});

    EXPECT_EQ(run.status, 2);
    EXPECT_EQ(run.errors, "tessera-render: " + output("frames/frame-000002.png") +
                              ": there already and not a regular file\n");
    EXPECT_TRUE(fs::is_symlink(output("frames/frame-000002.png")));
    EXPECT_TRUE(fs::is_regular_file(output("frames/frame-000001.png")));
    EXPECT_FALSE(fs::exists(output("frames/frame-000003.png")));
}

TEST_F(TesseraRender, AnOutputFolderThatTakesNoFileIsNamedBeforeAnythingPlays) {
    std::ofstream(output("plain")) << "a file, not a folder";
    for (const std::string& snapshot : {output("missing/last.png"), output("plain/last.png")}) {
        const ToolRun run = render({demo, "--snapshot", snapshot});

        EXPECT_EQ(run.status, 255);
        const char* reason =
            snapshot == output("plain/last.png") ? "Not a directory" : "No such file or directory";
        EXPECT_EQ(run.errors, "tessera-render: " + snapshot + ": " + reason + "\n");
        EXPECT_EQ(run.output, "") << "nothing is played";
    }
}

} // namespace
} // namespace tessera
