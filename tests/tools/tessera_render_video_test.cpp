// tessera-render --video, checked with the ffmpeg tools: what was made (container, codec,
// rate, length) and that its frames show the session at the moments they stand for.
#include "scratch_folder.h"
#include "tool_process.h"

#include <chrono>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <gtest/gtest.h>
#include <iterator>
#include <string>
#include <sys/wait.h>
#include <thread>
#include <unistd.h>

namespace tessera {
namespace {

namespace fs = std::filesystem;

const std::string demo = std::string(TESSERA_SOURCE_DIR) + "/data/demo.tessera-replay";

std::string readBytes(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

// The standard output of a shell command.
std::string capture(const std::string& command) {
    std::string text;
    if (std::FILE* pipe = ::popen(command.c_str(), "r")) {
        char buffer[4096];
        std::size_t read = 0;
        while ((read = std::fread(buffer, 1, sizeof buffer, pipe)) > 0) {
            text.append(buffer, read);
        }
        ::pclose(pipe);
    }
    return text;
}

// One value of ffprobe's report on the video stream or the file, e.g. "codec_name".
std::string probe(const std::string& path, const std::string& entry) {
    const std::string section = entry == "duration" || entry == "format_name" ? "format" : "stream";
    std::string value =
        capture("ffprobe -v error -select_streams v:0 -count_frames -show_entries " + section +
                "=" + entry + " -of default=nw=1:nk=1 '" + path + "'");
    while (!value.empty() && (value.back() == '\n' || value.back() == '\r')) {
        value.pop_back();
    }
    return value;
}

// The PSNR of a video's frame (counted from 0) against a PNG picture, in the video's own
// colours (BT.709, 4:2:0): what the encoding lost, not what the colour format cannot hold.
double psnr(const std::string& video, int frame, const std::string& png) {
    const std::string picked = video + "-frame.y4m";
    capture("ffmpeg -v error -i '" + video + "' -vf 'select=eq(n\\," + std::to_string(frame) +
            ")' -frames:v 1 -y '" + picked + "'");
    const std::string report =
        capture("ffmpeg -i '" + picked + "' -i '" + png +
                "' -lavfi '[1:v]scale=out_color_matrix=bt709,format=yuv420p[b];[0:v][b]psnr' -f "
                "null - 2>&1");
    const std::size_t average = report.find("average:");
    return average == std::string::npos ? 0.0 : std::stod(report.substr(average + 8));
}

// The demo up to the event at limit ticks, as a recording stopped there would be.
std::string demoUpTo(long long limit, long long& lastTicks) {
    const std::string text = oneEventALine(readBytes(demo));
    std::size_t end = text.find("events\n") + 7;
    while (end < text.size() && std::stoll(text.substr(end)) <= limit) {
        lastTicks = std::stoll(text.substr(end));
        end = text.find('\n', end) + 1;
    }
    return text.substr(0, end);
}

class TesseraRenderVideo : public ::testing::Test {
protected:
    void SetUp() override {
        if (capture("command -v ffmpeg ffprobe").empty()) {
            GTEST_SKIP() << "ffmpeg and ffprobe are not installed (Debian package ffmpeg)";
        }
    }

    ScratchFolder outputs;
    ScratchFolder logs;
    std::string output(const std::string& name) const { return outputs.path(name); }
    ToolRun render(const std::vector<std::string>& arguments) {
        return runTool(TESSERA_RENDER_PATH, arguments, logs.path());
    }
    // The session's first event is at 1 ms; a short one ends at limit.
    std::string shortSession(long long limit, long long& lastTicks) {
        const std::string path = output("short.tessera-replay");
        std::ofstream(path) << demoUpTo(limit, lastTicks);
        return path;
    }
};

TEST_F(TesseraRenderVideo, AnMp4LastsAsLongAsTheSessionAndShowsItsFramesAtTheirMoments) {
    long long last = 0;
    const std::string session = shortSession(1010000000LL, last);
    const ToolRun video = render({session, "--video", output("session.mp4")});
    const ToolRun frames = render({session, "--frames", output("frames")});

    ASSERT_EQ(video.status, 0) << video.errors;
    ASSERT_EQ(frames.status, 0) << frames.errors;
    EXPECT_NE(video.output.find("wrote " + output("session.mp4") +
                                " (640 x 480, 60 frames at 60 a second)\n"),
              std::string::npos)
        << video.output;
    const std::string mp4 = output("session.mp4");
    EXPECT_EQ(probe(mp4, "codec_name"), "h264");
    EXPECT_EQ(probe(mp4, "pix_fmt"), "yuv420p");
    EXPECT_EQ(probe(mp4, "r_frame_rate"), "60/1");
    EXPECT_EQ(probe(mp4, "nb_read_frames"), "60");
    EXPECT_NEAR(std::stod(probe(mp4, "duration")), (last - 1000000) / 1e9, 1.0 / 60);

    // Video frame 32 stands for 32/60 s after the first event, 1 ms in; the PNG frames are
    // drawn after each idle step, one every 1/60 s from 1/60 s on. Between PNG frames 31 and
    // 32 a tool is chosen on the toolbar, so a video frame early shows the other tool.
    const double same = psnr(mp4, 32, output("frames/frame-000032.png"));
    const double before = psnr(mp4, 32, output("frames/frame-000031.png"));
    EXPECT_GE(same, 35.0);
    EXPECT_GT(same, before + 1.0) << "the video frame shows the moment before";
}

TEST_F(TesseraRenderVideo, TheExtensionChoosesTheContainer) {
    long long last = 0;
    const std::string session = shortSession(500000000LL, last);
    for (const auto& [name, format, codec, rate] :
         {std::tuple{"clip.webm", "matroska,webm", "vp9", "60/1"},
          std::tuple{"clip.GIF", "gif", "gif", "50/1"}}) {
        SCOPED_TRACE(name);
        const ToolRun run = render({session, "--video", output(name)});
        ASSERT_EQ(run.status, 0) << run.errors;
        EXPECT_EQ(probe(output(name), "format_name"), format);
        EXPECT_EQ(probe(output(name), "codec_name"), codec);
        EXPECT_EQ(probe(output(name), "r_frame_rate"), rate);
        // A GIF frame shorter than 2/100 s plays at 10/100 s, and ffprobe counts it so.
        EXPECT_NEAR(std::stod(probe(output(name), "duration")), (last - 1000000) / 1e9, 0.02);
    }
    const ToolRun unknown = render({session, "--video", output("clip.avi")});
    EXPECT_EQ(unknown.status, 2);
    EXPECT_EQ(unknown.errors.rfind("tessera-render: --video needs a file name ending in .mp4, "
                                   ".webm or .gif, not '" +
                                       output("clip.avi") + "'\n",
                                   0),
              0u)
        << unknown.errors;
}

// Runs tessera-render with PATH set to folder only.
class PathOnly {
public:
    explicit PathOnly(const std::string& folder) : saved(std::getenv("PATH")) {
        ::setenv("PATH", folder.c_str(), 1);
    }
    ~PathOnly() { ::setenv("PATH", saved.c_str(), 1); }

private:
    std::string saved;
};

TEST_F(TesseraRenderVideo, WithoutFfmpegItSaysWhichPackageBringsItAndWritesNothing) {
    ScratchFolder emptyPath;
    PathOnly path(emptyPath.path());
    const ToolRun run = render({demo, "--video", output("demo.mp4")});

    EXPECT_EQ(run.status, 127);
    EXPECT_NE(run.errors.find("ffmpeg program, which is not installed"), std::string::npos)
        << run.errors;
    EXPECT_NE(run.errors.find("apt install ffmpeg"), std::string::npos) << run.errors;
    EXPECT_EQ(run.output, "") << "nothing is rendered";
    EXPECT_TRUE(outputs.isEmpty());
}

TEST_F(TesseraRenderVideo, AFailedEncodingLeavesTheOldFileAndNoTemporary) {
    long long last = 0;
    const std::string session = shortSession(500000000LL, last);
    // ffmpegs that write part of their output (the temporary, given last) and fail: at
    // once, or at the end, as on a full disk.
    for (const std::string readsFrames : {"", "cat >/dev/null\n"}) {
        SCOPED_TRACE(readsFrames.empty() ? "fails at once" : "fails at the end");
        ScratchFolder fakePath;
        const std::string fake = fakePath.path("ffmpeg");
        std::ofstream(fake) << "#!/bin/sh\n"
                            << readsFrames
                            << "for last; do :; done\necho partial > \"${last#file:}\"\n"
                               "echo 'ffmpeg: No space left on device' >&2\nexit 1\n";
        fs::permissions(fake, fs::perms::owner_all);
        std::ofstream(output("demo.mp4")) << "the old video";
        PathOnly path(fakePath.path() + ":/usr/bin:/bin");

        const ToolRun run = render({session, "--video", output("demo.mp4")});

        EXPECT_EQ(run.status, 255);
        EXPECT_NE(run.errors.find("No space left on device\ntessera-render: ffmpeg "),
                  std::string::npos)
            << run.errors;
        EXPECT_NE(run.errors.find(output("demo.mp4") + " was not written\n"), std::string::npos)
            << run.errors;
        EXPECT_EQ(readBytes(output("demo.mp4")), "the old video");
        int files = 0;
        for ([[maybe_unused]] const auto& entry : fs::directory_iterator(outputs.path())) {
            ++files;
        }
        EXPECT_EQ(files, 2) << "the session and the old video, nothing more";
    }
}

// ffmpegs that fail without saying so by their status: none may put its file in place, and
// none may make tessera-render wait for ever.
TEST_F(TesseraRenderVideo, AnEncoderThatFailsQuietlyOrStopsReadingWritesNothing) {
    long long last = 0;
    const std::string session = shortSession(500000000LL, last);
    const struct {
        const char* name;
        std::string script;
        std::string says;
    } fakes[] = {
        {"cannot close its output, exits 0",
         "cat >/dev/null\nfor last; do :; done\necho cut > \"${last#file:}\"\n"
         "echo 'Error closing file x: No space left on device' >&2\nexit 0\n",
         "ffmpeg reported a fault (Error closing file x: No space left on device)"},
        {"exits 0 and writes nothing", "cat >/dev/null\nexit 0\n",
         "ffmpeg ended with status 0 but wrote nothing"},
        {"exits 0 and writes an MP4 cut short",
         R"(cat >/dev/null
for last; do :; done
printf '\0\0\0\020ftypisom\0\0\2\0\0\0\0\014moov\0\0\0\0\0\0\020\0mdatcut' >"${last#file:}"
)",
         "ffmpeg ended with status 0 but the video is not whole (the box 'mdat' at byte 28 is "
         "4096 bytes long but only 11 are left)"},
        // Given the grace to end by itself, then SIGTERM.
        {"closes its input and sleeps", "exec 0<&-\nsleep 60\n",
         "ffmpeg stopped taking frames and was killed by signal 15 (Terminated)"},
    };
    for (const auto& fake : fakes) {
        SCOPED_TRACE(fake.name);
        ScratchFolder fakePath;
        std::ofstream(fakePath.path("ffmpeg")) << "#!/bin/sh\n" << fake.script;
        fs::permissions(fakePath.path("ffmpeg"), fs::perms::owner_all);
        std::ofstream(output("demo.mp4")) << "the old video";
        PathOnly path(fakePath.path() + ":/usr/bin:/bin");

        const ToolRun run = render({session, "--video", output("demo.mp4")});

        EXPECT_EQ(run.status, 255);
        EXPECT_NE(run.errors.find(fake.says + "; " + output("demo.mp4") + " was not written\n"),
                  std::string::npos)
            << run.errors;
        EXPECT_EQ(run.output.find("wrote"), std::string::npos);
        EXPECT_EQ(readBytes(output("demo.mp4")), "the old video");
        EXPECT_EQ(std::distance(fs::directory_iterator(outputs.path()), fs::directory_iterator()),
                  2)
            << "the session and the old video, nothing more";
    }
}

// A small file must not ask for endless work: a day and a nanosecond, or 10^18 ns, is refused.
TEST_F(TesseraRenderVideo, ASessionLongerThanADayIsRefusedBeforeAnyFrame) {
    long long first = 0;
    const std::string head = demoUpTo(1000000, first);
    for (const auto& [end, seconds] : {std::pair{first + 86400000000001LL, "86400"},
                                       std::pair{1000000000000000000LL, "999999999"}}) {
        SCOPED_TRACE(end);
        std::ofstream(output("long.tessera-replay")) << head << end << " idle 0.01\n";
        const ToolRun run = render({output("long.tessera-replay"), "--video", output("long.gif")});
        EXPECT_EQ(run.status, 255);
        EXPECT_EQ(run.errors,
                  "tessera-render: " + output("long.tessera-replay") + ": the session lasts " +
                      seconds + " seconds; a video is made of at most 24 hours (86400 seconds)\n");
        EXPECT_FALSE(fs::exists(output("long.gif")));
    }
}

// Names that ffmpeg would read as a protocol or an option are files like any other.
TEST_F(TesseraRenderVideo, EveryOutputNameIsAFile) {
    long long last = 0;
    const std::string session = shortSession(200000000LL, last);
    for (const std::string name : {"pipe:1.webm", "file:z.mp4", "evening-20:15.mp4", "-x.mp4"}) {
        SCOPED_TRACE(name);
        std::ofstream(output(name)) << "somebody's file";
        const ToolRun run = runTool("/bin/sh",
                                    {"-c", "cd \"$1\" && exec \"$2\" \"$3\" --video \"$4\"", "sh",
                                     outputs.path(), TESSERA_RENDER_PATH, session, name},
                                    logs.path());
        EXPECT_EQ(run.status, 0) << run.errors;
        EXPECT_EQ(probe(output(name), "format_name").substr(0, 3),
                  name.find(".webm") != std::string::npos ? "mat" : "mov");
    }
}

// An interrupted video leaves nothing of its own, whenever the signal comes: ffmpeg is ended
// before its temporary is removed, so that it cannot make it again.
TEST_F(TesseraRenderVideo, ASignalAtAnyMomentLeavesNoTemporary) {
    long long last = 0;
    const std::string session = shortSession(20000000000LL, last);
    for (const int signal : {SIGTERM, SIGINT}) {
        for (const int after : {20, 150, 400, 900}) {
            SCOPED_TRACE(std::to_string(signal) + " after " + std::to_string(after) + " ms");
            std::ofstream(output("demo.mp4")) << "the old video";
            const pid_t child = ::fork();
            if (child == 0) {
                std::signal(SIGINT, SIG_DFL); // a shell's background job starts with it ignored
                ::execl(TESSERA_RENDER_PATH, TESSERA_RENDER_PATH, session.c_str(), "--video",
                        output("demo.mp4").c_str(), static_cast<char*>(nullptr));
                ::_exit(127);
            }
            std::this_thread::sleep_for(std::chrono::milliseconds(after));
            ::kill(child, signal);
            int status = 0;
            ::waitpid(child, &status, 0);
            std::this_thread::sleep_for(
                std::chrono::milliseconds(200)); // an orphan would write now
            EXPECT_TRUE(WIFSIGNALED(status)) << status;
            EXPECT_EQ(readBytes(output("demo.mp4")), "the old video");
            EXPECT_EQ(
                std::distance(fs::directory_iterator(outputs.path()), fs::directory_iterator()), 2)
                << "the session and the old video, nothing more";
            for (const auto& entry : fs::directory_iterator(outputs.path())) {
                if (entry.path() != session) {
                    fs::remove(entry.path());
                }
            }
        }
    }
}

// A run killed outright (SIGKILL) leaves its temporary; the next video to the same file
// removes it, and not one of a run still going.
TEST_F(TesseraRenderVideo, ATemporaryLeftByAKilledRunGoesWithTheNextVideo) {
    long long last = 0;
    const std::string session = shortSession(300000000LL, last);
    const pid_t gone = ::fork();
    if (gone == 0) {
        ::_exit(0);
    }
    ::waitpid(gone, nullptr, 0);
    const std::string stale = output("demo.mp4.tmp-" + std::to_string(gone) + "-1");
    const std::string going = output("demo.mp4.tmp-" + std::to_string(::getpid()) + "-0");
    std::ofstream(stale) << "part of a video";
    std::ofstream(going) << "part of a video";

    const ToolRun run = render({session, "--video", output("demo.mp4")});

    ASSERT_EQ(run.status, 0) << run.errors;
    EXPECT_NE(run.errors.find("removed " + stale + ", left by "), std::string::npos) << run.errors;
    EXPECT_FALSE(fs::exists(stale));
    EXPECT_TRUE(fs::exists(going));
}

} // namespace
} // namespace tessera
