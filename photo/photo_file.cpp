#include "photo/photo_file.h"

#include <cerrno>
#include <cstdio>
#include <cstring>

namespace tessera {
namespace {

constexpr unsigned char jpegSignature[] = {0xff, 0xd8, 0xff};
constexpr unsigned char pngSignature[] = {0x89, 'P', 'N', 'G', '\r', '\n', 0x1a, '\n'};

bool startsWith(const unsigned char* bytes, std::size_t length, const unsigned char* signature,
                std::size_t signatureLength) {
    return length >= signatureLength && std::memcmp(bytes, signature, signatureLength) == 0;
}

std::string readAll(std::FILE* in, std::vector<unsigned char>& bytes) {
    constexpr std::size_t chunk = std::size_t{1} << 16;
    std::size_t filled = 0;
    for (;;) {
        if (filled > maxPhotoFileBytes) {
            return "file is larger than 1 GiB";
        }
        bytes.resize(filled + chunk);
        const std::size_t got = std::fread(bytes.data() + filled, 1, chunk, in);
        filled += got;
        if (got < chunk) {
            break;
        }
    }
    bytes.resize(filled);
    if (std::ferror(in)) {
        return std::string("cannot read: ") + std::strerror(errno);
    }
    return filled > maxPhotoFileBytes ? "file is larger than 1 GiB" : "";
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
