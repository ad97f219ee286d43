#include "tessera_render/video_encoder.h"

#include <algorithm>
#include <cerrno>
#include <csignal>
#include <cstring>
#include <fcntl.h>
#include <poll.h>
#include <spawn.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <thread>
#include <unistd.h>
#include <vector>

extern char** environ;

namespace tessera {
namespace {

// The temporary an interrupt (Ctrl-C) must not leave behind, and the ffmpeg writing it; a
// signal handler may only read them, so the path is a fixed buffer.
char pendingTemporary[4096];
volatile sig_atomic_t pendingEncoder = 0;

// ffmpeg is ended and reaped first: still running, it would make the file again.
void removePendingAndDie(int signal) {
    if (pendingEncoder > 0) {
        ::kill(pendingEncoder, SIGKILL);
        while (::waitpid(pendingEncoder, nullptr, 0) < 0 && errno == EINTR) {
        }
    }
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
    pendingEncoder = 0;
}

std::string exitDescription(int status) {
    if (WIFEXITED(status)) {
        return "ended with status " + std::to_string(WEXITSTATUS(status));
    }
    if (WIFSIGNALED(status)) {
        return "was killed by signal " + std::to_string(WTERMSIG(status)) + " (" +
               strsignal(WTERMSIG(status)) + ")";
    }
    return "ended abnormally";
}

// A time in seconds as a person reads it: "120", "0.25".
std::string seconds(std::chrono::milliseconds time) {
    char text[32];
    std::snprintf(text, sizeof text, "%g", static_cast<double>(time.count()) / 1000);
    return text;
}

} // namespace

VideoEncoder::~VideoEncoder() {
    stop();
}

std::string VideoEncoder::start(const std::string& program, const VideoContainer& container,
                                int width, int height, const std::string& path) {
    // No interrupt may come between making the temporary, or starting ffmpeg, and the
    // handler knowing of it: it would leave the one, or an ffmpeg to make it again.
    sigset_t interrupts;
    sigset_t before;
    sigemptyset(&interrupts);
    for (int signal : {SIGINT, SIGTERM, SIGHUP}) {
        sigaddset(&interrupts, signal);
    }
    ::sigprocmask(SIG_BLOCK, &interrupts, &before);
    std::string error = launch(program, container, width, height, path, before);
    ::sigprocmask(SIG_SETMASK, &before, nullptr);
    return error;
}

std::string VideoEncoder::launch(const std::string& program, const VideoContainer& container,
                                 int width, int height, const std::string& path,
                                 const sigset_t& childMask) {
    if (std::string error = output.create(path); !error.empty()) {
        return error;
    }
    kind = &container;
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
    // lets ffmpeg write into the file created for it. The file: protocol makes any name a
    // file's: "pipe:1.webm", "evening-20:15.mp4" or "-x.mp4" would otherwise be read as a
    // protocol or an option.
    for (const std::string& word : {std::string("-f"), std::string(container.format),
                                    std::string("-y"), "file:" + output.temporaryPath()}) {
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
    // What ffmpeg reports goes to a file of its own, read once it has ended: at -loglevel
    // error anything there is a fault, even when ffmpeg exits 0 (as 5.1 does when it cannot
    // close its output).
    std::FILE* report = std::tmpfile();
    if (report != nullptr) {
        posix_spawn_file_actions_adddup2(&actions, fileno(report), 2);
    }
    // ffmpeg starts with the signal mask this program had, not the blocked one.
    posix_spawnattr_t attributes;
    posix_spawnattr_init(&attributes);
    posix_spawnattr_setsigmask(&attributes, &childMask);
    posix_spawnattr_setflags(&attributes, POSIX_SPAWN_SETSIGMASK);
    const int spawned =
        posix_spawn(&encoder, program.c_str(), &actions, &attributes, argv.data(), environ);
    posix_spawnattr_destroy(&attributes);
    posix_spawn_file_actions_destroy(&actions);
    ::close(ends[0]);
    errors = report;
    if (spawned != 0) {
        ::close(ends[1]);
        encoder = -1;
        return "cannot start " + program + ": " + std::strerror(spawned);
    }
    pipe = ends[1];
    pendingEncoder = encoder;
    // A write waits in poll() instead, so that an ffmpeg that holds the pipe open without
    // reading cannot hold this program for ever.
    ::fcntl(pipe, F_SETFL, ::fcntl(pipe, F_GETFL) | O_NONBLOCK);
    return "";
}

std::string VideoEncoder::addFrame(const RgbImage& frame) {
    const std::uint8_t* bytes = frame.pixels.data();
    std::size_t left = frame.pixels.size();
    auto taken = std::chrono::steady_clock::now();
    while (left > 0) {
        const ssize_t written = ::write(pipe, bytes, left);
        if (written > 0) {
            bytes += written;
            left -= static_cast<std::size_t>(written);
            taken = std::chrono::steady_clock::now();
            continue;
        }
        if (written < 0 && errno == EINTR) {
            continue;
        }
        if (written < 0 && errno == EAGAIN) {
            const auto waited = std::chrono::steady_clock::now() - taken;
            if (waited >= patience.stall) {
                giveUp(std::chrono::milliseconds(0));
                return "ffmpeg took no frame data for " + seconds(patience.stall) +
                       " seconds and was killed; " + output.destination() + " was not written";
            }
            pollfd writable = {pipe, POLLOUT, 0};
            ::poll(
                &writable, 1,
                static_cast<int>(
                    std::chrono::ceil<std::chrono::milliseconds>(patience.stall - waited).count()));
            continue;
        }
        // ffmpeg has stopped reading: whatever it wrote is incomplete. It is likely ending
        // already, and its own status says more than the one a signal gives it.
        const int status = giveUp(patience.grace);
        return "ffmpeg stopped taking frames and " + exitDescription(status) + "; " +
               output.destination() + " was not written";
    }
    return "";
}

int VideoEncoder::giveUp(std::chrono::milliseconds ownEnd) {
    const int status = stopEncoder(ownEnd);
    encoderReport();
    output.discard();
    releaseTemporary();
    return status;
}

std::string VideoEncoder::finish() {
    const int status = awaitEncoder();
    const std::string reported = encoderReport();
    const bool success = WIFEXITED(status) && WEXITSTATUS(status) == 0;
    std::string error;
    struct stat file {};
    const bool empty = ::stat(output.temporaryPath().c_str(), &file) != 0 || file.st_size == 0;
    if (!success) {
        error = "ffmpeg " + exitDescription(status);
    } else if (!reported.empty()) {
        error = "ffmpeg reported a fault (" + reported + ")";
    } else if (empty) {
        error = "ffmpeg ended with status 0 but wrote nothing";
    } else if (const std::string fault = kind->fileFault(output.temporaryPath()); !fault.empty()) {
        error = "ffmpeg ended with status 0 but the video is not whole (" + fault + ")";
    }
    if (error.empty()) {
        error = output.commit();
    } else {
        output.discard();
        error += "; " + output.destination() + " was not written";
    }
    releaseTemporary();
    return error;
}

// Passes what ffmpeg reported on to standard error, where it has always gone, and gives
// its last line (empty when it reported nothing).
std::string VideoEncoder::encoderReport() {
    std::string text;
    if (errors != nullptr) {
        std::rewind(errors);
        char buffer[4096];
        std::size_t read = 0;
        while ((read = std::fread(buffer, 1, sizeof buffer, errors)) > 0) {
            text.append(buffer, read);
        }
        std::fclose(errors);
        errors = nullptr;
    }
    std::fputs(text.c_str(), stderr);
    while (!text.empty() && (text.back() == '\n' || text.back() == '\r')) {
        text.pop_back();
    }
    return text.substr(text.rfind('\n') == std::string::npos ? 0 : text.rfind('\n') + 1);
}

// The end of the frames tells ffmpeg to finish the file.
int VideoEncoder::awaitEncoder() {
    if (pipe >= 0) {
        ::close(pipe);
        pipe = -1;
    }
    int status = 0;
    if (encoder >= 0) {
        while (::waitpid(encoder, &status, 0) < 0 && errno == EINTR) {
        }
        encoder = -1;
        pendingEncoder = 0;
    }
    return status;
}

int VideoEncoder::stopEncoder(std::chrono::milliseconds ownEnd) {
    if (pipe >= 0) {
        ::close(pipe);
        pipe = -1;
    }
    int status = 0;
    if (encoder < 0 || reapWithin(ownEnd, status)) {
        return status;
    }
    ::kill(encoder, SIGTERM);
    if (reapWithin(patience.grace, status)) {
        return status;
    }
    ::kill(encoder, SIGKILL);
    return awaitEncoder();
}

bool VideoEncoder::reapWithin(std::chrono::milliseconds time, int& status) {
    const auto deadline = std::chrono::steady_clock::now() + time;
    while (::waitpid(encoder, &status, WNOHANG) != encoder) {
        const auto left = deadline - std::chrono::steady_clock::now();
        if (left <= left.zero()) {
            return false;
        }
        std::this_thread::sleep_for(
            std::min<std::chrono::steady_clock::duration>(left, std::chrono::milliseconds(10)));
    }
    encoder = -1;
    pendingEncoder = 0;
    return true;
}

// An encoding given up on: ffmpeg is stopped before the temporary is removed, so that it
// cannot write it again.
void VideoEncoder::stop() {
    stopEncoder(std::chrono::milliseconds(0));
    if (errors != nullptr) {
        std::fclose(errors);
        errors = nullptr;
    }
    output.discard();
    releaseTemporary();
}

} // namespace tessera
