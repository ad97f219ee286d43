#include "decode/photo_header.h"

#include "decode/photo_file.h"
#include "decode/png_decoder.h"
#include "image/rgb_image.h"

#include <cstdint>
#include <cstring>

namespace tessera {
namespace {

unsigned long bigEndian32(const unsigned char* p) {
    return static_cast<unsigned long>(p[0]) << 24 | static_cast<unsigned long>(p[1]) << 16 |
           static_cast<unsigned long>(p[2]) << 8 | p[3];
}

std::uint32_t crc32(const unsigned char* bytes, std::size_t length) {
    std::uint32_t crc = 0xffffffffu;
    for (std::size_t i = 0; i < length; ++i) {
        crc ^= bytes[i];
        for (int bit = 0; bit < 8; ++bit) {
            crc = (crc >> 1) ^ (0xedb88320u & (0u - (crc & 1u)));
        }
    }
    return crc ^ 0xffffffffu;
}

// The depths PNG allows for each colour type, a bit for each depth.
bool pngDepthAllowed(unsigned type, unsigned depth) {
    switch (type) {
    case 0: // grey
        return depth == 1 || depth == 2 || depth == 4 || depth == 8 || depth == 16;
    case 3: // palette
        return depth == 1 || depth == 2 || depth == 4 || depth == 8;
    case 2: // RGB
    case 4: // grey and alpha
    case 6: // RGBA
        return depth == 8 || depth == 16;
    default:
        return false;
    }
}

// The signature, then IHDR: length 13, the name, width, height, depth, colour type,
// compression, filter, interlace, and the CRC of the name and the data. The size is judged
// first, as the decoder's limits say it, even in a header too short for its CRC.
std::string pngHeaderError(const unsigned char* bytes, std::size_t length) {
    constexpr std::size_t ihdrEnd = 8 + 4 + 4 + 13 + 4;
    if (length < 16) {
        return "";
    }
    if (bigEndian32(bytes + 8) != 13 || std::memcmp(bytes + 12, "IHDR", 4) != 0) {
        return "cannot decode PNG: the signature is not followed by an IHDR chunk";
    }
    if (length < 24) {
        return "";
    }
    const unsigned char* data = bytes + 16;
    const unsigned long width = bigEndian32(data);
    const unsigned long height = bigEndian32(data + 4);
    if (width > maxPngSide || height > maxPngSide) {
        return "picture is " + std::to_string(width) + " x " + std::to_string(height) +
               " pixels; at most " + std::to_string(maxPngSide) + " a side is supported";
    }
    if (std::string error = decodedSizeError(width, height, 4); !error.empty()) {
        return error;
    }
    if (length < ihdrEnd) {
        return "";
    }
    if (crc32(bytes + 12, 4 + 13) != bigEndian32(bytes + ihdrEnd - 4)) {
        return "cannot decode PNG: IHDR: CRC error";
    }
    if (width == 0 || height == 0) {
        return "cannot decode PNG: picture is " + std::to_string(width) + " x " +
               std::to_string(height) + " pixels";
    }
    if (!pngDepthAllowed(data[9], data[8]) || data[10] != 0 || data[11] != 0 || data[12] > 1) {
        return "cannot decode PNG: invalid IHDR data";
    }
    return "";
}

std::string hexByte(unsigned char byte) {
    static const char digits[] = "0123456789abcdef";
    return {'0', 'x', digits[byte >> 4], digits[byte & 0xf]};
}

bool isFrameHeader(unsigned char marker) {
    return marker >= 0xc0 && marker <= 0xcf && marker != 0xc4 && marker != 0xc8 && marker != 0xcc;
}

// From the start of image to the frame header, marker by marker: fill bytes, markers that
// stand alone and segments with their lengths. A segment that runs past the bytes given
// leaves the rest to the decoder.
std::string jpegHeaderError(const unsigned char* bytes, std::size_t length) {
    std::size_t at = 2;
    while (at < length) {
        if (bytes[at] != 0xff) {
            return "cannot decode JPEG: no marker at byte " + std::to_string(at) +
                   " before the frame header";
        }
        while (at < length && bytes[at] == 0xff) {
            ++at;
        }
        if (at >= length) {
            return "";
        }
        const unsigned char marker = bytes[at++];
        if (marker == 0x01 || (marker >= 0xd0 && marker <= 0xd7)) {
            continue;
        }
        if (marker == 0x00 || marker == 0xd8 || marker == 0xd9 || marker == 0xda) {
            return "cannot decode JPEG: marker " + hexByte(marker) + " before the frame header";
        }
        if (at + 2 > length) {
            return "";
        }
        const std::size_t segment = static_cast<std::size_t>(bytes[at]) << 8 | bytes[at + 1];
        if (segment < 2) {
            return "cannot decode JPEG: a segment of length " + std::to_string(segment);
        }
        if (isFrameHeader(marker)) {
            if (at + 7 > length) {
                return "";
            }
            const unsigned height = static_cast<unsigned>(bytes[at + 3]) << 8 | bytes[at + 4];
            const unsigned width = static_cast<unsigned>(bytes[at + 5]) << 8 | bytes[at + 6];
            if (width == 0 || height == 0) {
                return "cannot decode JPEG: picture is " + std::to_string(width) + " x " +
                       std::to_string(height) + " pixels";
            }
            return "";
        }
        at += segment;
    }
    return "";
}

} // namespace

std::string photoHeaderError(const unsigned char* bytes, std::size_t length) {
    switch (photoFormatOf(bytes, length)) {
    case PhotoFormat::jpeg:
        return jpegHeaderError(bytes, length);
    case PhotoFormat::png:
        return pngHeaderError(bytes, length);
    case PhotoFormat::unknown:
        break;
    }
    return "";
}

} // namespace tessera
