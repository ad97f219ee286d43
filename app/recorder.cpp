#include "app/recorder.h"

#include "app/replay_writer.h"

#include <cerrno>
#include <cstring>

namespace tessera {

Recorder::~Recorder() {
    if (file != nullptr) {
        std::fclose(file);
    }
}

std::string Recorder::open(const std::string& name) {
    path = name;
    file = std::fopen(path.c_str(), "w");
    return file != nullptr ? "" : path + ": " + std::strerror(errno);
}

std::string Recorder::start(const ReplayHeader& header) {
    if (std::string error = replayHeaderError(header); !error.empty()) {
        return error;
    }
    if (file == nullptr || !write(replayHeaderText(header))) {
        return path + ": cannot write";
    }
    return "";
}

void Recorder::delivered(const InputEvent& event) {
    if (file != nullptr) {
        write(replayEventLine(event));
    }
}

bool Recorder::write(const std::string& text) {
    if (std::fputs(text.c_str(), file) >= 0 && std::fflush(file) == 0) {
        return true;
    }
    std::fprintf(stderr, "tessera: the recording stopped: %s: %s\n", path.c_str(),
                 std::strerror(errno));
    std::fclose(file);
    file = nullptr;
    return false;
}

} // namespace tessera
