#include "session/replay_playback.h"

#include <cerrno>
#include <cstring>

namespace tessera {

ReplayPlayback::~ReplayPlayback() {
    close();
}

std::string ReplayPlayback::open(const std::string& path) {
    close();
    file = std::fopen(path.c_str(), "r");
    if (file == nullptr) {
        return path + ": cannot open: " + std::strerror(errno);
    }
    reader = std::make_unique<ReplayReader>(file, path);
    ReplayHeader header;
    std::string error = reader->readHeader(header);
    if (!error.empty()) {
        close();
    }
    return error;
}

bool ReplayPlayback::next(InputEvent& event, std::string& error) {
    error.clear();
    if (reader != nullptr && reader->next(event, error)) {
        return true;
    }
    close();
    return false;
}

void ReplayPlayback::close() {
    reader.reset();
    if (file != nullptr) {
        std::fclose(file);
        file = nullptr;
    }
}

} // namespace tessera
