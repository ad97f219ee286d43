#include "tessera_render/video_render.h"

#include "canvas/canvas.h"
#include "program/snapshot.h"
#include "replay/replay_playback.h"
#include "session/input_dispatcher.h"
#include "session/replay_at_size.h"
#include "tessera_render/offscreen_context.h"
#include "tessera_render/program_search.h"
#include "tessera_render/video_container.h"
#include "tessera_render/video_encoder.h"
#include "tessera_render/video_schedule.h"

#include <array>
#include <cstdio>

namespace tessera {
namespace {

// The readings of the session's first and last events; false for a session without any.
bool sessionSpan(const std::string& replayPath, std::int64_t& first, std::int64_t& last,
                 std::string& error) {
    ReplayPlayback scan;
    if (error = scan.open(replayPath); !error.empty()) {
        return false;
    }
    InputEvent event;
    bool any = false;
    while (scan.next(event, error)) {
        if (!any) {
            first = event.ticks;
            any = true;
        }
        last = event.ticks;
    }
    return any && error.empty();
}

// The frame as a window of the render size shows it, whatever size the Canvas was last
// told of.
RgbImage drawVideoFrame(Canvas& canvas, const OffscreenContext& context) {
    const std::array<int, 4> window = canvas.viewport;
    canvas.showFrame(context.width(), context.height());
    RgbImage image = readFrame(context.width(), context.height(), context.frameBottom());
    canvas.setProjection(window[0], window[1], window[2], window[3]);
    return image;
}

} // namespace

std::string findVideoEncoder() {
    const std::string program = findProgram("ffmpeg");
    if (program.empty()) {
        std::fprintf(stderr, "tessera-render: --video needs the ffmpeg program, which is not "
                             "installed (or not on PATH); Debian's package ffmpeg brings it: "
                             "apt install ffmpeg\n");
    }
    return program;
}

std::string renderVideo(const std::string& replayPath, const std::string& encoderProgram,
                        const std::string& out, ReplayPlayback& playback, ReplayAtSize& size,
                        InputDispatcher& dispatcher, Canvas& canvas, OffscreenContext& context) {
    std::int64_t first = 0;
    std::int64_t last = 0;
    std::string error;
    if (!sessionSpan(replayPath, first, last, error)) {
        return error.empty() ? replayPath + ": the session has no events to make a video of"
                             : error;
    }
    const VideoContainer& container = *videoContainer(out);
    // Far beyond any session a person records, and a bound on the work a small file asks.
    constexpr std::int64_t longestVideoSeconds = 24 * 60 * 60;
    if (last - first > longestVideoSeconds * 1000000000) {
        return replayPath + ": the session lasts " + std::to_string((last - first) / 1000000000) +
               " seconds; a video is made of at most 24 hours (86400 seconds)";
    }
    const VideoSchedule schedule(first, last, container.framesPerSecond);
    const int width = context.width();
    const int height = context.height();
    VideoEncoder encoder;
    if (error = encoder.start(encoderProgram, container, width, height, out); !error.empty()) {
        return error;
    }
    InputEvent event;
    bool pending = playback.next(event, error);
    for (std::int64_t frame = 0; frame < schedule.frames(); ++frame) {
        const std::int64_t moment = schedule.momentOf(frame);
        while (pending && event.ticks <= moment) {
            // A video keeps one size: recorded resizes and pointer positions are taken
            // to it.
            dispatcher.deliver(size.map(event, canvas));
            pending = playback.next(event, error);
        }
        if (!error.empty()) {
            return error;
        }
        if (error = encoder.addFrame(drawVideoFrame(canvas, context)); !error.empty()) {
            return error;
        }
    }
    if (error = encoder.finish(); !error.empty()) {
        return error;
    }
    std::printf("wrote %s (%d x %d, %lld frames at %d a second)\n", out.c_str(), width, height,
                static_cast<long long>(schedule.frames()), container.framesPerSecond);
    return "";
}

} // namespace tessera
