#include "tessera_render/largest_window.h"

#include "replay/replay_reader.h"

#include <algorithm>

namespace tessera {

std::string largestWindow(const std::string& replayPath, int& width, int& height) {
    std::string error;
    std::FILE* file = openReplayFile(replayPath, error);
    if (file == nullptr) {
        return error;
    }
    ReplayReader reader(file, replayPath);
    ReplayHeader header;
    error = reader.readHeader(header);
    int widest = std::max(header.width, 1);
    int tallest = std::max(header.height, 1);
    InputEvent event;
    while (error.empty() && reader.next(event, error)) {
        if (event.kind == InputEvent::Reshape) {
            widest = std::max(widest, event.width);
            tallest = std::max(tallest, event.height);
        }
    }
    std::fclose(file);
    if (error.empty()) {
        width = widest;
        height = tallest;
    }
    return error;
}

} // namespace tessera
