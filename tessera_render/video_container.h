#pragma once

#include <string>
#include <vector>

namespace tessera {

// What a video file of one kind is made of: the container ffmpeg writes, the frame rate,
// and the encoder's arguments; and how a finished file of it is known to be whole. The
// output's extension chooses it.
struct VideoContainer {
    const char* extension;
    const char* format;
    int framesPerSecond;
    std::vector<std::string> encoderArguments;
    // An empty string, or what is wrong with the file at path (see video_file_check.h).
    std::string (*fileFault)(const std::string& path);
};

// The container for path's extension (any case), or nullptr for one that is not made.
const VideoContainer* videoContainer(const std::string& path);

// An empty string, or the line that says the path names no container that is made.
std::string videoContainerError(const std::string& path);

} // namespace tessera
