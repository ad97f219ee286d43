#include "replay/replay_playback.h"

namespace tessera {

ReplayPlayback::~ReplayPlayback() {
    close();
}

std::string ReplayPlayback::open(const std::string& path) {
    close();
    std::string error;
    if ((file = openReplayFile(path, error)) == nullptr) {
        return error;
    }
    reader = std::make_unique<ReplayReader>(file, path);
    opened = ReplayHeader();
    error = reader->readHeader(opened);
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
