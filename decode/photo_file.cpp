#include "decode/photo_file.h"

#include "decode/photo_header.h"

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace tessera {
namespace {

constexpr unsigned char jpegSignature[] = {0xff, 0xd8, 0xff};
constexpr unsigned char pngSignature[] = {0x89, 'P', 'N', 'G', '\r', '\n', 0x1a, '\n'};

bool startsWith(const unsigned char* bytes, std::size_t length, const unsigned char* signature,
                std::size_t signatureLength) {
    return length >= signatureLength && std::memcmp(bytes, signature, signatureLength) == 0;
}

const char* const tooLarge = "file is larger than 1 GiB";

std::string cannot(const char* what) {
    return std::string(what) + ": " + std::strerror(errno);
}

const char* kindOf(mode_t mode) {
    if (S_ISFIFO(mode)) {
        return "a FIFO";
    }
    if (S_ISDIR(mode)) {
        return "a folder";
    }
    if (S_ISCHR(mode) || S_ISBLK(mode)) {
        return "a device";
    }
    if (S_ISSOCK(mode)) {
        return "a socket";
    }
    return "a special file";
}

// A regular file says its size, so one above the cap is refused unread. Anything else (a
// pipe, a device) is read until it ends or fills the cap, and then one byte more tells
// whether it goes on; the buffer doubles up to the cap exactly, so an endless stream costs
// 1 GiB, not twice that.
std::string readAll(std::FILE* in, std::vector<unsigned char>& bytes) {
    struct stat info;
    if (fstat(fileno(in), &info) == 0 && S_ISREG(info.st_mode) &&
        static_cast<std::uintmax_t>(info.st_size) > maxPhotoFileBytes) {
        return tooLarge;
    }
    static_assert(photoHeaderBytes <= maxPhotoFileBytes);
    constexpr std::size_t chunk = photoHeaderBytes;
    std::size_t filled = 0;
    while (filled < maxPhotoFileBytes) {
        const std::size_t wanted = std::min(chunk, maxPhotoFileBytes - filled);
        if (bytes.capacity() < filled + wanted) {
            bytes.reserve(std::min(std::max(2 * bytes.capacity(), chunk), maxPhotoFileBytes));
        }
        bytes.resize(filled + wanted);
        const std::size_t got = std::fread(bytes.data() + filled, 1, wanted, in);
        // The first chunk is the header: what it shows to be wrong ends the reading.
        if (filled == 0 && !std::ferror(in)) {
            if (std::string error = photoHeaderError(bytes.data(), got); !error.empty()) {
                return error;
            }
        }
        filled += got;
        // The decoder refuses what starts like no photograph from its first bytes alone.
        if (got < wanted || photoFormatOf(bytes.data(), filled) == PhotoFormat::unknown) {
            break;
        }
    }
    bytes.resize(filled);
    unsigned char more = 0;
    if (filled == maxPhotoFileBytes && std::fread(&more, 1, 1, in) == 1) {
        return tooLarge;
    }
    if (std::ferror(in)) {
        return cannot("cannot read");
    }
    return "";
}

std::FILE* openStream(const char* path, PhotoFileKinds kinds, std::string& error) {
    if (kinds == PhotoFileKinds::any) {
        std::FILE* in = std::fopen(path, "rb");
        if (in == nullptr) {
            error = cannot("cannot open");
        }
        return in;
    }
    FileStamp stamp;
    const int fd = openPhotoFile(path, stamp, error);
    if (fd < 0) {
        return nullptr;
    }
    std::FILE* in = ::fdopen(fd, "rb");
    if (in == nullptr) {
        error = cannot("cannot open");
        ::close(fd);
    }
    return in;
}

} // namespace

PhotoFormat photoFormatOf(const unsigned char* bytes, std::size_t length) {
    if (startsWith(bytes, length, jpegSignature, sizeof jpegSignature)) {
        return PhotoFormat::jpeg;
    }
    if (startsWith(bytes, length, pngSignature, sizeof pngSignature)) {
        return PhotoFormat::png;
    }
    return PhotoFormat::unknown;
}

FileStamp fileStamp(const struct stat& info) {
    const auto nanoseconds = [](const timespec& time) {
        return static_cast<std::int64_t>(time.tv_sec) * 1000000000 + time.tv_nsec;
    };
    return {static_cast<std::uintmax_t>(info.st_size), nanoseconds(info.st_mtim),
            nanoseconds(info.st_ctim)};
}

int openPhotoFile(const char* path, FileStamp& stamp, std::string& error) {
    const int fd = ::open(path, O_RDONLY | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0) {
        error = cannot("cannot open");
        return -1;
    }
    struct stat info {};
    if (::fstat(fd, &info) != 0) {
        error = cannot("cannot open");
        ::close(fd);
        return -1;
    }
    if (!S_ISREG(info.st_mode)) {
        error = std::string("not a regular file but ") + kindOf(info.st_mode);
        ::close(fd);
        return -1;
    }
    ::fcntl(fd, F_SETFL, ::fcntl(fd, F_GETFL) & ~O_NONBLOCK);
    stamp = fileStamp(info);
    error.clear();
    return fd;
}

PhotoFormat photoFormatOfFile(const char* path, FileStamp& stamp, std::string& error) {
    const int fd = openPhotoFile(path, stamp, error);
    if (fd < 0) {
        return PhotoFormat::unknown;
    }
    unsigned char head[sizeof pngSignature];
    std::size_t length = 0;
    while (length < sizeof head) {
        const ssize_t got = ::read(fd, head + length, sizeof head - length);
        if (got < 0 && errno == EINTR) {
            continue;
        }
        if (got < 0) {
            error = cannot("cannot read");
        }
        if (got <= 0) {
            break;
        }
        length += static_cast<std::size_t>(got);
    }
    ::close(fd);
    return error.empty() ? photoFormatOf(head, length) : PhotoFormat::unknown;
}

PhotoFormat photoFormatOfFile(const char* path) {
    FileStamp stamp;
    std::string error;
    return photoFormatOfFile(path, stamp, error);
}

std::string readPhotoFile(const char* path, std::vector<unsigned char>& bytes,
                          PhotoFileKinds kinds) {
    bytes.clear();
    std::string error;
    std::FILE* in = openStream(path, kinds, error);
    if (in == nullptr) {
        return error;
    }
    error = readAll(in, bytes);
    std::fclose(in);
    if (!error.empty()) {
        bytes.clear();
        bytes.shrink_to_fit();
    }
    return error;
}

} // namespace tessera
