#include "scratch_folder.h"
#include "tessera_render/video_encoder.h"

#include <filesystem>
#include <fstream>
#include <gtest/gtest.h>
#include <iterator>

namespace tessera {
namespace {

using namespace std::chrono_literals;

// A frame bigger than a pipe holds, so that an ffmpeg that does not read blocks its write.
const RgbImage frame{std::vector<std::uint8_t>(256 * 256 * 3, 100), 256, 256};

std::string fakeEncoder(const ScratchFolder& folder, const std::string& script) {
    const std::string path = folder.path("ffmpeg");
    std::ofstream(path) << "#!/bin/sh\n" << script;
    std::filesystem::permissions(path, std::filesystem::perms::owner_all);
    return path;
}

std::string readText(const std::string& path) {
    std::ifstream in(path);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

// ffmpeg is asked to end first (SIGTERM, which the first fake notes), and one that does not
// is killed after the grace.
TEST(VideoEncoder, AnFfmpegThatTakesNoFramesIsStoppedAfterTheStall) {
    const struct {
        const char* name;
        const char* script;
        bool notesSigterm;
    } fakes[] = {
        {"holds its input open and sleeps",
         "trap 'kill $!; echo >\"$0.ended\"; exit 0' TERM\nsleep 60 &\nwait\n", true},
        {"ignores SIGTERM as well", "trap '' TERM\nexec sleep 60\n", false},
    };
    for (const auto& fake : fakes) {
        SCOPED_TRACE(fake.name);
        ScratchFolder folder;
        const std::string out = folder.path("out.mp4");
        std::ofstream(out) << "the old video";
        VideoEncoder encoder(EncoderPatience{50ms, 200ms});
        ASSERT_EQ(
            encoder.start(fakeEncoder(folder, fake.script), *videoContainer(out), 256, 256, out),
            "");
        const auto start = std::chrono::steady_clock::now();

        EXPECT_EQ(encoder.addFrame(frame),
                  "ffmpeg took no frame data for 0.2 seconds and was killed; " + out +
                      " was not written");
        EXPECT_LT(std::chrono::steady_clock::now() - start, 30s)
            << "ended by the fake's own end, not by this program";
        EXPECT_EQ(readText(out), "the old video");
        EXPECT_EQ(std::filesystem::exists(folder.path("ffmpeg.ended")), fake.notesSigterm);
        EXPECT_EQ(std::distance(std::filesystem::directory_iterator(folder.path()), {}),
                  fake.notesSigterm ? 3 : 2)
            << "the fake, the old video and what the fake noted; no temporary";
    }
}

// Each pause is shorter than the stall, both together longer: the limit counts from the
// last byte taken.
TEST(VideoEncoder, AnFfmpegThatPausesAndReadsOnIsWaitedFor) {
    ScratchFolder folder;
    const std::string out = folder.path("out.mp4");
    VideoEncoder encoder(EncoderPatience{50ms, 800ms});
    ASSERT_EQ(encoder.start(fakeEncoder(folder, "sleep 0.5\nhead -c 100000 >/dev/null\n"
                                                "sleep 0.5\nexec cat >/dev/null\n"),
                            *videoContainer(out), 256, 256, out),
              "");

    EXPECT_EQ(encoder.addFrame(frame), "");
}

} // namespace
} // namespace tessera
