#include "app/video_encoder.h"

#include <cerrno>
#include <csignal>
#include <cstring>
#include <fcntl.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>
#include <vector>

extern char** environ;

namespace tessera {
namespace {

// The temporary an interrupt (Ctrl-C) must not leave behind; a signal handler may only
// read it, so it is a fixed buffer.
char pendingTemporary[4096];

void removePendingAndDie(int signal) {
    if (pendingTemporary[0] != '\0') {
        ::unlink(pendingTemporary);
    }
    std::signal(signal, SIG_DFL);
    std::raise(signal);
}

void guardTemporary(const std::string& path) {
    if (path.size() >= sizeof pendingTemporary) {
        return;
    }
    std::memcpy(pendingTemporary, path.c_str(), path.size() + 1);
    for (int signal : {SIGINT, SIGTERM, SIGHUP}) {
        std::signal(signal, removePendingAndDie);
    }
}

void releaseTemporary() {
    for (int signal : {SIGINT, SIGTERM, SIGHUP}) {
        std::signal(signal, SIG_DFL);
    }
    pendingTemporary[0] = '\0';
}

std::string exitDescription(int status) {
    if (WIFEXITED(status)) {
        return "ended with status " + std::to_string(WEXITSTATUS(status));
    }
    if (WIFSIGNALED(status)) {
        return std::string("was killed by ") + strsignal(WTERMSIG(status));
    }
    return "ended abnormally";
}

} // namespace

VideoEncoder::~VideoEncoder() {
    stop();
}

std::string VideoEncoder::start(const std::string& program, const VideoContainer& container,
                                int width, int height, const std::string& path) {
    if (std::string error = output.create(path); !error.empty()) {
        return error;
    }
    guardTemporary(output.temporaryPath());
    // An encoder that gives up closes the pipe: that must be a write error here, not the
    // end of this program.
    std::signal(SIGPIPE, SIG_IGN);
    int ends[2];
    if (::pipe2(ends, O_CLOEXEC) != 0) {
        return std::string("cannot make a pipe: ") + std::strerror(errno);
    }
    const std::vector<std::string> head = {program,
                                           "-hide_banner",
                                           "-nostdin",
                                           "-loglevel",
                                           "error",
                                           "-f",
                                           "rawvideo",
                                           "-pixel_format",
                                           "rgb24",
                                           "-video_size",
                                           std::to_string(width) + "x" + std::to_string(height),
                                           "-framerate",
                                           std::to_string(container.framesPerSecond),
                                           "-i",
                                           "pipe:0"};
    std::vector<std::string> words = head;
    words.insert(words.end(), container.encoderArguments.begin(), container.encoderArguments.end());
    // The temporary's name does not end in the extension, so the container is named; -y
    // lets ffmpeg write into the file created for it.
    for (const std::string& word : {std::string("-f"), std::string(container.format),
                                    std::string("-y"), output.temporaryPath()}) {
        words.push_back(word);
    }
    std::vector<char*> argv;
    for (std::string& word : words) {
        argv.push_back(word.data());
    }
    argv.push_back(nullptr);

    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_adddup2(&actions, ends[0], 0);
    posix_spawn_file_actions_addopen(&actions, 1, "/dev/null", O_WRONLY, 0);
    const int spawned =
        posix_spawn(&encoder, program.c_str(), &actions, nullptr, argv.data(), environ);
    posix_spawn_file_actions_destroy(&actions);
    ::close(ends[0]);
    if (spawned != 0) {
        ::close(ends[1]);
        encoder = -1;
        return "cannot start " + program + ": " + std::strerror(spawned);
    }
    pipe = ends[1];
    return "";
}

std::string VideoEncoder::addFrame(const RgbImage& frame) {
    const std::uint8_t* bytes = frame.pixels.data();
    std::size_t left = frame.pixels.size();
    while (left > 0) {
        const ssize_t written = ::write(pipe, bytes, left);
        if (written < 0 && errno == EINTR) {
            continue;
        }
        if (written <= 0) {
            // ffmpeg has stopped reading: whatever it wrote is incomplete.
            const int status = waitForEncoder();
            output.discard();
            releaseTemporary();
            return "ffmpeg stopped taking frames and " + exitDescription(status) + "; " +
                   output.destination() + " was not written";
        }
        bytes += written;
        left -= static_cast<std::size_t>(written);
    }
    return "";
}

std::string VideoEncoder::finish() {
    const int status = waitForEncoder();
    std::string error;
    if (WIFEXITED(status) && WEXITSTATUS(status) == 0) {
        error = output.commit();
    } else {
        output.discard();
        error =
            "ffmpeg " + exitDescription(status) + "; " + output.destination() + " was not written";
    }
    releaseTemporary();
    return error;
}

// The end of the frames tells ffmpeg to finish the file.
int VideoEncoder::waitForEncoder() {
    if (pipe >= 0) {
        ::close(pipe);
        pipe = -1;
    }
    int status = 0;
    if (encoder >= 0) {
        while (::waitpid(encoder, &status, 0) < 0 && errno == EINTR) {
        }
        encoder = -1;
    }
    return status;
}

// An encoding given up on: ffmpeg is stopped before the temporary is removed, so that it
// cannot write it again.
void VideoEncoder::stop() {
    if (pipe >= 0) {
        ::close(pipe);
        pipe = -1;
    }
    if (encoder >= 0) {
        ::kill(encoder, SIGTERM);
        while (::waitpid(encoder, nullptr, 0) < 0 && errno == EINTR) {
        }
        encoder = -1;
    }
    output.discard();
    releaseTemporary();
}

} // namespace tessera
