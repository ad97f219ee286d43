#include "tessera_render/video_file_check.h"

#include <cerrno>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace tessera {
namespace {

// The few bytes a check asks for, read where they stand in the file.
class Headers {
public:
    explicit Headers(const std::string& path)
        : fd(::open(path.c_str(), O_RDONLY | O_CLOEXEC)), openError(errno) {
        struct stat status {};
        if (fd >= 0 && ::fstat(fd, &status) == 0) {
            length = static_cast<std::uint64_t>(status.st_size);
        }
    }
    ~Headers() {
        if (fd >= 0) {
            ::close(fd);
        }
    }
    Headers(const Headers&) = delete;
    Headers& operator=(const Headers&) = delete;

    // Why the file cannot be checked at all, or an empty string.
    std::string fault() const {
        if (fd < 0) {
            return std::string("it cannot be read: ") + std::strerror(openError);
        }
        return length == 0 ? "the file is empty" : "";
    }
    std::uint64_t size() const { return length; }
    // The bytes at offset; fewer at the end of the file.
    std::size_t read(std::uint64_t offset, unsigned char* bytes, std::size_t count) const {
        if (offset >= length) {
            return 0;
        }
        const ssize_t got = ::pread(fd, bytes, count, static_cast<off_t>(offset));
        return got < 0 ? 0 : static_cast<std::size_t>(got);
    }

private:
    int fd;
    int openError;
    std::uint64_t length = 0;
};

std::uint64_t bigEndian(const unsigned char* bytes, int count) {
    std::uint64_t value = 0;
    for (int i = 0; i < count; ++i) {
        value = value << 8 | bytes[i];
    }
    return value;
}

std::string pastTheEnd(const std::string& what, std::uint64_t at, std::uint64_t length,
                       std::uint64_t left) {
    return what + " at byte " + std::to_string(at) + " is " + std::to_string(length) +
           " bytes long but only " + std::to_string(left) + " are left";
}

// A box type as text; bytes that are not printable show as '?'.
std::string boxName(const unsigned char* type) {
    std::string name = "'";
    for (int i = 0; i < 4; ++i) {
        name += type[i] >= 0x20 && type[i] < 0x7f ? static_cast<char>(type[i]) : '?';
    }
    return "the box " + name + "'";
}

std::string mp4Boxes(const Headers& file) {
    bool index = false;
    bool frames = false;
    std::uint64_t at = 0;
    while (at < file.size()) {
        unsigned char header[16];
        const std::uint64_t left = file.size() - at;
        const std::size_t got = file.read(at, header, 8);
        if (got < 8) {
            return "the box header at byte " + std::to_string(at) + " is cut after " +
                   std::to_string(got) + " of its 8 bytes";
        }
        const std::string name = boxName(header + 4);
        if (at == 0 && std::memcmp(header + 4, "ftyp", 4) != 0) {
            return "the file begins with " + name + ", not 'ftyp'";
        }
        std::uint64_t size = bigEndian(header, 4);
        std::uint64_t headerSize = 8;
        if (size == 1) {
            if (file.read(at + 8, header + 8, 8) < 8) {
                return "the 64-bit size of " + name + " at byte " + std::to_string(at) + " is cut";
            }
            size = bigEndian(header + 8, 8);
            headerSize = 16;
        } else if (size == 0) {
            size = left; // the last box, to the end of the file
        }
        if (size < headerSize) {
            return name + " at byte " + std::to_string(at) + " gives its size as " +
                   std::to_string(size) + ", less than its header";
        }
        if (size > left) {
            return pastTheEnd(name, at, size, left);
        }
        index = index || std::memcmp(header + 4, "moov", 4) == 0;
        frames = frames || std::memcmp(header + 4, "mdat", 4) == 0;
        at += size;
    }
    if (!index) {
        return "there is no 'moov' box (the index)";
    }
    return frames ? "" : "there is no 'mdat' box (the frames)";
}

// An EBML variable-length number at offset: its length is one more than the leading zero
// bits of its first byte, and a value of all ones means "unknown".
struct Vint {
    std::uint64_t value = 0;
    int length = 0;
    bool unknown = false;
};

std::string readVint(const Headers& file, std::uint64_t at, const std::string& what, Vint& number) {
    unsigned char bytes[8];
    if (file.read(at, bytes, 1) < 1) {
        return "the size of " + what + " is cut";
    }
    if (bytes[0] == 0) {
        return "the size of " + what + " is not a valid number";
    }
    number.length = 1;
    while ((bytes[0] & (0x80 >> (number.length - 1))) == 0) {
        ++number.length;
    }
    if (file.read(at, bytes, static_cast<std::size_t>(number.length)) <
        static_cast<std::size_t>(number.length)) {
        return "the size of " + what + " is cut";
    }
    const std::uint64_t all = bigEndian(bytes, number.length);
    const int bits = 7 * number.length;
    const std::uint64_t mask = (std::uint64_t{1} << bits) - 1;
    number.value = all & mask;
    number.unknown = number.value == mask;
    return "";
}

std::string webmElements(const Headers& file) {
    static const unsigned char ebml[4] = {0x1a, 0x45, 0xdf, 0xa3};
    static const unsigned char segment[4] = {0x18, 0x53, 0x80, 0x67};
    unsigned char id[4];
    if (file.read(0, id, 4) < 4 || std::memcmp(id, ebml, 4) != 0) {
        return "the file does not begin with an EBML header";
    }
    Vint header;
    if (std::string fault = readVint(file, 4, "the EBML header", header); !fault.empty()) {
        return fault;
    }
    if (header.unknown) {
        return "the size of the EBML header is unknown";
    }
    const std::uint64_t headerLength = 4 + header.length + header.value;
    if (headerLength > file.size()) {
        return pastTheEnd("the EBML header", 0, headerLength, file.size());
    }
    if (file.read(headerLength, id, 4) < 4 || std::memcmp(id, segment, 4) != 0) {
        return "no Segment follows the EBML header";
    }
    Vint body;
    if (std::string fault = readVint(file, headerLength + 4, "the Segment", body); !fault.empty()) {
        return fault;
    }
    if (body.unknown) {
        return "";
    }
    const std::uint64_t left = file.size() - headerLength;
    const std::uint64_t length = 4 + body.length + body.value;
    if (length > left) {
        return pastTheEnd("the Segment", headerLength, length, left);
    }
    if (length < left) {
        return "the Segment ends " + std::to_string(left - length) +
               " bytes before the end of the file";
    }
    return "";
}

std::string gifBytes(const Headers& file) {
    unsigned char signature[6];
    if (file.read(0, signature, 6) < 6 ||
        (std::memcmp(signature, "GIF87a", 6) != 0 && std::memcmp(signature, "GIF89a", 6) != 0)) {
        return "the file does not begin with GIF87a or GIF89a";
    }
    unsigned char last = 0;
    file.read(file.size() - 1, &last, 1);
    if (last != 0x3b) {
        char hex[5];
        std::snprintf(hex, sizeof hex, "0x%02X", last);
        return std::string("the last byte is ") + hex + ", not the GIF trailer 0x3B";
    }
    return "";
}

std::string check(const std::string& path, std::string (*walk)(const Headers&)) {
    const Headers file(path);
    if (std::string fault = file.fault(); !fault.empty()) {
        return fault;
    }
    return walk(file);
}

} // namespace

std::string mp4FileFault(const std::string& path) {
    return check(path, mp4Boxes);
}

std::string webmFileFault(const std::string& path) {
    return check(path, webmElements);
}

std::string gifFileFault(const std::string& path) {
    return check(path, gifBytes);
}

} // namespace tessera
