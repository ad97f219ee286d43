#pragma once

#include <string>

namespace tessera {

class Canvas;
class InputDispatcher;
class OffscreenContext;
class ReplayAtSize;
class ReplayPlayback;

// The status of a run that needs a program which is not installed, as env(1) and the
// shell use it for a command not found.
constexpr int missingProgramStatus = 127;

// Finds the ffmpeg program that --video needs. Returns its path, or an empty string after
// saying on standard error that it is missing and which package brings it.
std::string findVideoEncoder();

// Plays the session that playback has just opened (the file at replayPath) into a video
// at out, made by the encoder program, frame by frame at the moments of the recorded clock
// that the container's rate sets. Every frame is the size the context has when this is
// called (the render size, at which size plays the session). Returns an empty string after
// saying what it wrote, or the fault (nothing is left at out then).
std::string renderVideo(const std::string& replayPath, const std::string& encoder,
                        const std::string& out, ReplayPlayback& playback, ReplayAtSize& size,
                        InputDispatcher& dispatcher, Canvas& canvas, OffscreenContext& context);

} // namespace tessera
