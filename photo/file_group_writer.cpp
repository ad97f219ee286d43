#include "photo/file_group_writer.h"

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <fcntl.h>
#include <unistd.h>

namespace tessera {
namespace {

bool writeAll(int fd, std::string_view bytes) {
    while (!bytes.empty()) {
        const ssize_t written = ::write(fd, bytes.data(), bytes.size());
        if (written < 0) {
            if (errno == EINTR) {
                continue;
            }
            return false;
        }
        bytes.remove_prefix(static_cast<std::size_t>(written));
    }
    return true;
}

std::string failure(const std::string& path) {
    return "cannot write " + path + ": " + std::strerror(errno);
}

} // namespace

FileGroupWriter::~FileGroupWriter() {
    for (const StagedFile& file : staged) {
        std::remove(file.temporary.c_str());
    }
}

std::string FileGroupWriter::stage(const std::string& path, std::string_view head,
                                   std::string_view body) {
    // Same folder as the destination, so that the final rename cannot cross file systems.
    const std::string temporary = path + ".tmp-" + std::to_string(::getpid());
    const int fd = ::open(temporary.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
    if (fd < 0) {
        return failure(path);
    }
    staged.push_back({path, temporary});
    const bool written = writeAll(fd, head) && writeAll(fd, body);
    const int savedErrno = errno;
    if (::close(fd) != 0 || !written) {
        if (!written) {
            errno = savedErrno;
        }
        return failure(path);
    }
    return "";
}

std::string FileGroupWriter::commit() {
    while (!staged.empty()) {
        const StagedFile& file = staged.front();
        if (std::rename(file.temporary.c_str(), file.path.c_str()) != 0) {
            return failure(file.path);
        }
        staged.erase(staged.begin());
    }
    return "";
}

} // namespace tessera
