#include "session/recorder.h"

#include "replay/replay_writer.h"

#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <unistd.h>

namespace tessera {

Recorder::Recorder(const Canvas& canvas) : canvas(canvas) {}

Recorder::~Recorder() {
    if (file != nullptr) {
        std::fclose(file);
    }
}

std::string Recorder::open(const std::string& name) {
    path = name;
    // O_EXCL: an existing name, a link included, is never opened, even one that appeared
    // since the start-up checks.
    const int fd = ::open(path.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
    if (fd < 0) {
        return path + ": " + std::strerror(errno);
    }
    file = ::fdopen(fd, "w");
    if (file == nullptr) {
        const int error = errno;
        ::close(fd);
        ::unlink(path.c_str());
        return path + ": " + std::strerror(error);
    }
    return "";
}

std::string Recorder::start(ReplayHeader header) {
    if (file == nullptr) {
        return path + ": cannot write";
    }
    size = ReplayAtSize(header.width, header.height, header.width, header.height);
    const RecordedSize recorded = windowIs(header.width, header.height);
    header.width = recorded.width;
    header.height = recorded.height;
    std::string error = replayHeaderError(header);
    if (error.empty() && !write(replayHeaderText(header))) {
        error = path + ": cannot write";
    }
    if (!error.empty()) {
        // Nothing of the session is in it yet: what this program made is removed.
        if (file != nullptr) {
            std::fclose(file);
            file = nullptr;
        }
        ::unlink(path.c_str());
    }
    return error;
}

void Recorder::delivered(const InputEvent& event) {
    if (file == nullptr) {
        return;
    }
    if (event.kind == InputEvent::Reshape) {
        windowIs(event.width, event.height);
    }
    // A pointer event leaves the camera as it found it: the Canvas's camera after the event
    // is the one the event was seen through.
    const InputEvent recorded = size.map(event, canvas);
    if (run.add(recorded)) {
        writeAt(runStart, run.line());
        return;
    }
    if (recorded.kind == InputEvent::Idle) {
        runStart = std::ftell(file);
    }
    write(replayEventLine(recorded));
}

RecordedSize Recorder::windowIs(int width, int height) {
    const RecordedSize recorded = recordedSize(width, height);
    size.resize(recorded.width, recorded.height);
    if (!scaleTold && (recorded.width != width || recorded.height != height)) {
        scaleTold = true;
        std::fprintf(stderr,
                     "tessera: a recording holds a window of at most %d pixels a side: this %d x "
                     "%d one is recorded as %d x %d, the pointer where it shows the same board "
                     "point\n",
                     maxReplayWindowSide, width, height, recorded.width, recorded.height);
    }
    return recorded;
}

void Recorder::writeAt(long offset, const std::string& text) {
    if (offset >= 0 && std::fseek(file, offset, SEEK_SET) == 0) {
        write(text);
    } else {
        stop();
    }
}

bool Recorder::write(const std::string& text) {
    if (std::fputs(text.c_str(), file) >= 0 && std::fflush(file) == 0) {
        return true;
    }
    stop();
    return false;
}

void Recorder::stop() {
    std::fprintf(stderr, "tessera: the recording stopped: %s: %s\n", path.c_str(),
                 std::strerror(errno));
    std::fclose(file);
    file = nullptr;
}

} // namespace tessera
