#include "decode/exif_orientation.h"

#include <cstdint>
#include <cstring>

namespace tessera {
namespace {

constexpr unsigned char exifSignature[] = {'E', 'x', 'i', 'f', 0, 0};
constexpr unsigned orientationTag = 0x0112;
constexpr unsigned shortType = 3;
constexpr std::size_t entryBytes = 12;

// The TIFF block, read in its own byte order; every read is checked against its end.
class TiffReader {
public:
    TiffReader(const unsigned char* data, std::size_t length, bool bigEndian)
        : data(data), length(length), bigEndian(bigEndian) {}

    bool read16(std::size_t offset, unsigned& value) const {
        if (offset > length || length - offset < 2) {
            return false;
        }
        const unsigned char* p = data + offset;
        value = bigEndian ? (p[0] << 8 | p[1]) : (p[1] << 8 | p[0]);
        return true;
    }

    bool read32(std::size_t offset, std::uint32_t& value) const {
        unsigned high = 0;
        unsigned low = 0;
        if (!read16(offset, bigEndian ? high : low) ||
            !read16(offset + 2, bigEndian ? low : high)) {
            return false;
        }
        value = static_cast<std::uint32_t>(high) << 16 | low;
        return true;
    }

private:
    const unsigned char* data;
    std::size_t length;
    bool bigEndian;
};

} // namespace

int exifOrientation(const unsigned char* payload, std::size_t length) {
    if (length < sizeof exifSignature + 8 ||
        std::memcmp(payload, exifSignature, sizeof exifSignature) != 0) {
        return 1;
    }
    const unsigned char* tiff = payload + sizeof exifSignature;
    const std::size_t tiffLength = length - sizeof exifSignature;
    bool bigEndian = false;
    if (std::memcmp(tiff, "MM", 2) == 0) {
        bigEndian = true;
    } else if (std::memcmp(tiff, "II", 2) != 0) {
        return 1;
    }
    const TiffReader reader(tiff, tiffLength, bigEndian);
    unsigned magic = 0;
    std::uint32_t directory = 0;
    unsigned entries = 0;
    if (!reader.read16(2, magic) || magic != 42 || !reader.read32(4, directory) ||
        !reader.read16(directory, entries)) {
        return 1;
    }
    for (unsigned i = 0; i < entries; ++i) {
        const std::size_t entry = std::size_t{directory} + 2 + i * entryBytes;
        unsigned tag = 0;
        unsigned type = 0;
        std::uint32_t count = 0;
        unsigned value = 0;
        if (!reader.read16(entry, tag) || !reader.read16(entry + 2, type) ||
            !reader.read32(entry + 4, count) || !reader.read16(entry + 8, value)) {
            return 1;
        }
        if (tag == orientationTag) {
            const bool valid = type == shortType && count == 1 && value >= 1 && value <= 8;
            return valid ? static_cast<int>(value) : 1;
        }
    }
    return 1;
}

} // namespace tessera
