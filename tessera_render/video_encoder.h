#pragma once

#include "image/rgb_image.h"
#include "photo/atomic_file.h"
#include "tessera_render/encoder_patience.h"
#include "tessera_render/video_container.h"

#include <chrono>
#include <csignal>
#include <cstdio>
#include <string>
#include <sys/types.h>

namespace tessera {

// A video made by the ffmpeg program from raw frames sent down a pipe. ffmpeg writes a
// temporary file beside the destination, which takes the destination's place only when
// ffmpeg has finished it without fault and it is whole: a failed or interrupted encoding
// leaves nothing.
class VideoEncoder {
public:
    explicit VideoEncoder(EncoderPatience patience = EncoderPatience()) : patience(patience) {}
    VideoEncoder(const VideoEncoder&) = delete;
    VideoEncoder& operator=(const VideoEncoder&) = delete;
    // An encoding not finished is stopped and its file removed.
    ~VideoEncoder();

    // Creates the temporary beside path and starts program (ffmpeg) on it for frames of
    // width x height. Returns an empty string or the fault.
    std::string start(const std::string& program, const VideoContainer& container, int width,
                      int height, const std::string& path);
    // Sends one frame of the size given to start. An ffmpeg that takes none of it for the
    // patience's stall is stopped.
    std::string addFrame(const RgbImage& frame);
    // Waits for ffmpeg to finish the file, checks that the container is whole and puts it
    // in place.
    std::string finish();

private:
    std::string launch(const std::string& program, const VideoContainer& container, int width,
                       int height, const std::string& path, const sigset_t& childMask);
    // Closes the pipe and returns ffmpeg's wait status once it has ended by itself.
    int awaitEncoder();
    // Closes the pipe and ends ffmpeg: after ownEnd for it to end by itself, SIGTERM, and
    // SIGKILL after the patience's grace. Returns its wait status.
    int stopEncoder(std::chrono::milliseconds ownEnd);
    // Whether ffmpeg ended within the time given; status is its wait status then.
    bool reapWithin(std::chrono::milliseconds time, int& status);
    // Ends the encoding on a fault: ffmpeg stopped (see stopEncoder), its report passed
    // on, the file removed. Returns ffmpeg's wait status.
    int giveUp(std::chrono::milliseconds ownEnd);
    void stop();
    std::string encoderReport();

    EncoderPatience patience;
    const VideoContainer* kind = nullptr;
    AtomicFile output;
    pid_t encoder = -1;
    int pipe = -1;
    std::FILE* errors = nullptr;
};

} // namespace tessera
