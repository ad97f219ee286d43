#include "photo/file_group_writer.h"

#include <cerrno>
#include <cstring>

namespace tessera {

std::string FileGroupWriter::stage(const std::string& path, std::string_view head,
                                   std::string_view body) {
    auto file = std::make_unique<AtomicFile>();
    if (std::string error = file->create(path); !error.empty()) {
        return "cannot write " + error;
    }
    for (std::string_view bytes : {head, body}) {
        if (!bytes.empty() &&
            std::fwrite(bytes.data(), 1, bytes.size(), file->stream()) != bytes.size()) {
            return "cannot write " + path + ": " + std::strerror(errno);
        }
    }
    // Flushed now, so that a full disk shows before any file of the group is in place.
    if (std::fflush(file->stream()) != 0) {
        return "cannot write " + path + ": " + std::strerror(errno);
    }
    staged.push_back(std::move(file));
    return "";
}

std::string FileGroupWriter::commit() {
    for (std::unique_ptr<AtomicFile>& file : staged) {
        if (std::string error = file->commit(); !error.empty()) {
            return "cannot write " + error;
        }
    }
    staged.clear();
    return "";
}

} // namespace tessera
