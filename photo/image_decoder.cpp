#include "photo/image_decoder.h"

#include "photo/jpeg_decoder.h"
#include "photo/png_decoder.h"

#include <cerrno>
#include <cstring>

namespace tessera {
namespace {

constexpr unsigned char jpegSignature[] = {0xff, 0xd8, 0xff};
constexpr unsigned char pngSignature[] = {0x89, 'P', 'N', 'G', '\r', '\n', 0x1a, '\n'};

bool startsWith(const unsigned char* head, std::size_t length, const unsigned char* signature,
                std::size_t signatureLength) {
    return length >= signatureLength && std::memcmp(head, signature, signatureLength) == 0;
}

std::string decodeStream(std::FILE* in, RgbImage& image) {
    unsigned char head[sizeof pngSignature];
    const std::size_t length = std::fread(head, 1, sizeof head, in);
    if (std::ferror(in)) {
        return std::string("cannot read: ") + std::strerror(errno);
    }
    std::rewind(in);
    if (startsWith(head, length, jpegSignature, sizeof jpegSignature)) {
        return decodeJpeg(in, image);
    }
    if (startsWith(head, length, pngSignature, sizeof pngSignature)) {
        return decodePng(in, image);
    }
    return "not a JPEG or PNG image";
}

} // namespace

std::string decodeImage(const char* path, RgbImage& image) {
    std::FILE* in = std::fopen(path, "rb");
    if (in == nullptr) {
        return std::string("cannot open: ") + std::strerror(errno);
    }
    std::string error = decodeStream(in, image);
    std::fclose(in);
    return error;
}

} // namespace tessera
