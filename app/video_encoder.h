#pragma once

#include "app/video_container.h"
#include "photo/atomic_file.h"
#include "photo/rgb_image.h"

#include <chrono>
#include <csignal>
#include <cstdio>
#include <string>
#include <sys/types.h>

namespace tessera {

// A video made by the ffmpeg program from raw frames sent down a pipe. ffmpeg writes a
// temporary file beside the destination, which takes the destination's place only when
// ffmpeg has finished it without fault: a failed or interrupted encoding leaves nothing.
class VideoEncoder {
public:
    VideoEncoder() = default;
    VideoEncoder(const VideoEncoder&) = delete;
    VideoEncoder& operator=(const VideoEncoder&) = delete;
    // An encoding not finished is stopped and its file removed.
    ~VideoEncoder();

    // Creates the temporary beside path and starts program (ffmpeg) on it for frames of
    // width x height. Returns an empty string or the fault.
    std::string start(const std::string& program, const VideoContainer& container, int width,
                      int height, const std::string& path);
    // Sends one frame of the size given to start.
    std::string addFrame(const RgbImage& frame);
    // Waits for ffmpeg to finish the file and puts it in place.
    std::string finish();

private:
    std::string launch(const std::string& program, const VideoContainer& container, int width,
                       int height, const std::string& path, const sigset_t& childMask);
    // Closes the pipe and returns ffmpeg's wait status once it has ended; with a grace, one
    // that has not ended by then is killed.
    int waitForEncoder(std::chrono::milliseconds grace = std::chrono::milliseconds(0));
    static constexpr std::chrono::milliseconds stopGrace{2000};
    void stop();
    std::string encoderReport();

    AtomicFile output;
    pid_t encoder = -1;
    int pipe = -1;
    std::FILE* errors = nullptr;
};

} // namespace tessera
