#include "photo/atomic_file.h"

#include <atomic>
#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <unistd.h>

namespace tessera {
namespace {

std::string failure(const std::string& path, int error) {
    return path + ": " + std::strerror(error);
}

// Beside the destination, so that the final rename cannot cross file systems; the process
// id and a counter keep two writers, or two files of one writer, apart.
std::string temporaryFor(const std::string& path) {
    static std::atomic<unsigned> counter{0};
    return path + ".tmp-" + std::to_string(::getpid()) + "-" + std::to_string(counter++);
}

} // namespace

AtomicFile::~AtomicFile() {
    discard();
}

std::string AtomicFile::create(const std::string& destinationPath) {
    discard();
    lastError = 0;
    path = destinationPath;
    for (int attempt = 0; attempt < 100; ++attempt) {
        temporary = temporaryFor(path);
        const int fd = ::open(temporary.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
        if (fd >= 0) {
            file = ::fdopen(fd, "wb");
            if (file == nullptr) {
                const int error = lastError = errno;
                ::close(fd);
                ::unlink(temporary.c_str());
                temporary.clear();
                return failure(path, error);
            }
            return "";
        }
        if (errno != EEXIST) {
            const int error = lastError = errno;
            temporary.clear();
            return failure(path, error);
        }
    }
    temporary.clear();
    lastError = EEXIST;
    return failure(path, EEXIST);
}

std::string AtomicFile::commitAs(const std::string& name, Replace replace) {
    if (temporary.empty()) {
        lastError = ENOENT;
        return name + ": nothing was written";
    }
    lastError = 0;
    if (file != nullptr) {
        // A full disk often shows only when the buffered bytes reach it, here.
        if (std::fflush(file) != 0 || std::ferror(file) != 0) {
            lastError = errno != 0 ? errno : EIO;
        }
        if (std::fclose(file) != 0 && lastError == 0) {
            lastError = errno;
        }
        file = nullptr;
    }
    if (lastError == 0) {
        if (replace == Replace::Allowed) {
            if (std::rename(temporary.c_str(), name.c_str()) == 0) {
                temporary.clear();
                return "";
            }
            lastError = errno;
        } else if (::link(temporary.c_str(), name.c_str()) == 0) {
            // A hard link never replaces what is there: the name is taken atomically.
            ::unlink(temporary.c_str());
            temporary.clear();
            return "";
        } else {
            lastError = errno;
            if (lastError == EEXIST) {
                return failure(name, lastError);
            }
        }
    }
    const int error = lastError;
    discard();
    lastError = error;
    return failure(name, error);
}

void AtomicFile::discard() {
    if (file != nullptr) {
        std::fclose(file);
        file = nullptr;
    }
    if (!temporary.empty()) {
        ::unlink(temporary.c_str());
        temporary.clear();
    }
}

std::string writeFileAtomically(const std::string& path, const std::string& bytes,
                                AtomicFile::Replace replace) {
    AtomicFile out;
    if (std::string error = out.create(path); !error.empty()) {
        return error;
    }
    if (!bytes.empty() &&
        std::fwrite(bytes.data(), 1, bytes.size(), out.stream()) != bytes.size()) {
        const std::string error = failure(path, errno);
        out.discard();
        return error;
    }
    return out.commit(replace);
}

} // namespace tessera
