#include "replay/recorded_photo_name.h"

#include "photo/printable_name.h"
#include "replay/replay_header.h"
#include "replay/replay_writer.h"

#include <algorithm>

namespace tessera {

std::string recordedPhotoName(const std::string& fileName, std::string& name) {
    const std::string own = fileName.substr(fileName.find_last_of('/') + 1);
    if (own.empty()) {
        return "a photograph without a file name cannot be recorded";
    }
    const bool control = std::any_of(own.begin(), own.end(), [](char c) {
        const auto byte = static_cast<unsigned char>(c);
        return byte < 0x20 || byte == 0x7f;
    });
    if (control) {
        return printableName(own) +
               ": a name with a control character cannot be recorded; rename the file";
    }
    ReplayHeader header;
    header.picture = ReplayHeader::Photograph;
    header.picturePath = own;
    if (std::string error = replayHeaderError(header); !error.empty()) {
        return error;
    }
    name = own;
    return "";
}

} // namespace tessera
