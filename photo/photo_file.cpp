#include "photo/photo_file.h"

#include <algorithm>
#include <cerrno>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <sys/stat.h>

namespace tessera {
namespace {

constexpr unsigned char jpegSignature[] = {0xff, 0xd8, 0xff};
constexpr unsigned char pngSignature[] = {0x89, 'P', 'N', 'G', '\r', '\n', 0x1a, '\n'};

bool startsWith(const unsigned char* bytes, std::size_t length, const unsigned char* signature,
                std::size_t signatureLength) {
    return length >= signatureLength && std::memcmp(bytes, signature, signatureLength) == 0;
}

const char* const tooLarge = "file is larger than 1 GiB";

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
    constexpr std::size_t chunk = std::size_t{1} << 16;
    std::size_t filled = 0;
    while (filled < maxPhotoFileBytes) {
        const std::size_t wanted = std::min(chunk, maxPhotoFileBytes - filled);
        if (bytes.capacity() < filled + wanted) {
            bytes.reserve(std::min(std::max(2 * bytes.capacity(), chunk), maxPhotoFileBytes));
        }
        bytes.resize(filled + wanted);
        const std::size_t got = std::fread(bytes.data() + filled, 1, wanted, in);
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
        return std::string("cannot read: ") + std::strerror(errno);
    }
    return "";
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

PhotoFormat photoFormatOfFile(const char* path) {
    std::FILE* in = std::fopen(path, "rb");
    if (in == nullptr) {
        return PhotoFormat::unknown;
    }
    unsigned char head[sizeof pngSignature];
    const std::size_t length = std::fread(head, 1, sizeof head, in);
    std::fclose(in);
    return photoFormatOf(head, length);
}

std::string readPhotoFile(const char* path, std::vector<unsigned char>& bytes) {
    bytes.clear();
    std::FILE* in = std::fopen(path, "rb");
    if (in == nullptr) {
        return std::string("cannot open: ") + std::strerror(errno);
    }
    std::string error = readAll(in, bytes);
    std::fclose(in);
    if (!error.empty()) {
        bytes.clear();
        bytes.shrink_to_fit();
    }
    return error;
}

} // namespace tessera
