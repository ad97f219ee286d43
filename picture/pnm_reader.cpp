#include "picture/pnm_reader.h"

#include "picture/fatal_error.h"
#include "picture/white_space.h"

#include <cerrno>
#include <climits>
#include <cstddef>
#include <utility>

namespace tessera {
namespace {

// What tells the two binary formats apart.
struct PnmFormat {
    const char* kind;    // names the file in messages
    const char* magic;   // the two-character magic word
    int samplesPerPixel; // bytes per pixel in the file
    int bytesPerPixel;   // bytes per pixel in the buffer; the rest is opaque alpha
};

constexpr PnmFormat ppmFormat{"ppm", "P6", 3, 4};
constexpr PnmFormat pgmFormat{"pgm", "P5", 1, 1};

std::string fault(const PnmFormat& format, const std::string& what) {
    return std::string(format.kind) + " " + what + "\n";
}

bool isDigit(int c) {
    return c >= '0' && c <= '9';
}

// The first word must be the magic word itself: a longer word such as "P6x" is another
// word, and is never copied anywhere.
bool readMagic(std::FILE* in, const PnmFormat& format) {
    skipWhiteSpace(in);
    for (int i = 0; i < 2; ++i) {
        if (std::getc(in) != format.magic[i]) {
            return false;
        }
    }
    const int next = std::getc(in);
    return next == EOF || isWhiteSpace(next);
}

// A header number is plain decimal digits (no sign) and must fit an int and be at least
// minimum. A '#' where a number should start is a comment, which these files may not hold.
std::string readHeaderNumber(std::FILE* in, const PnmFormat& format, const char* field, int minimum,
                             int& value) {
    if (skipWhiteSpace(in) == '#') {
        return fault(format, "header has a comment");
    }
    const std::string invalid = fault(format, std::string(field) + " invalid");
    int c = std::getc(in);
    if (!isDigit(c)) {
        return invalid;
    }
    long long number = 0;
    for (; isDigit(c); c = std::getc(in)) {
        number = number * 10 + (c - '0');
        if (number > INT_MAX) {
            return invalid;
        }
    }
    if (c != EOF) {
        std::ungetc(c, in);
    }
    if (number < minimum) {
        return invalid;
    }
    value = static_cast<int>(number);
    return {};
}

std::string parsePnm(std::FILE* in, const PnmFormat& format, Image& image) {
    if (!readMagic(in, format)) {
        return fault(format, std::string("type not ") + format.magic);
    }
    int width = 0;
    int height = 0;
    int maxValue = 0;
    if (auto error = readHeaderNumber(in, format, "width", 1, width); !error.empty()) {
        return error;
    }
    if (auto error = readHeaderNumber(in, format, "height", 1, height); !error.empty()) {
        return error;
    }
    // Refuse absurd sizes before allocating anything.
    if (width > maxImageSide || height > maxImageSide) {
        return fault(format, "size too large");
    }
    const std::size_t rowBytes = static_cast<std::size_t>(width) * format.bytesPerPixel;
    const std::size_t bytes = rowBytes * static_cast<std::size_t>(height);
    if (bytes > maxImageBytes) {
        return fault(format, "size too large");
    }
    // The maximum value only has to be a number: samples are one byte whatever it says.
    if (auto error = readHeaderNumber(in, format, "maximum value", 0, maxValue); !error.empty()) {
        return error;
    }
    // Exactly one white-space byte ends the header: the next byte is the first sample,
    // even when it has a white-space value itself.
    const int separator = std::getc(in);
    if (separator == EOF) {
        return fault(format, "data short");
    }
    if (!isWhiteSpace(separator)) {
        return fault(format, "maximum value invalid");
    }

    // The file runs top row first; the buffer bottom row first, as textures want it.
    std::vector<unsigned char> pixels(bytes);
    std::vector<unsigned char> samples(static_cast<std::size_t>(width) * format.samplesPerPixel);
    for (int fileRow = 0; fileRow < height; ++fileRow) {
        if (std::fread(samples.data(), 1, samples.size(), in) != samples.size()) {
            return fault(format, "data short");
        }
        unsigned char* row =
            pixels.data() + static_cast<std::size_t>(height - 1 - fileRow) * rowBytes;
        const unsigned char* sample = samples.data();
        for (int column = 0; column < width; ++column) {
            unsigned char* pixel = row + static_cast<std::size_t>(column) * format.bytesPerPixel;
            for (int s = 0; s < format.samplesPerPixel; ++s) {
                pixel[s] = *sample++;
            }
            for (int s = format.samplesPerPixel; s < format.bytesPerPixel; ++s) {
                pixel[s] = 255;
            }
        }
    }
    image.pixels = std::move(pixels);
    image.width = width;
    image.height = height;
    return {};
}

std::string loadPnm(const char* path, const PnmFormat& format, Image& image) {
    std::FILE* in = std::fopen(path, "rb");
    if (in == nullptr) {
        return std::string("error opening ") + format.kind + " file\n"; // fopen's errno stands
    }
    const std::string error = parsePnm(in, format, image);
    std::fclose(in);
    if (!error.empty()) {
        errno = EINVAL; // so that perror names a bad file, not "Success"
    }
    return error;
}

Image readOrDie(const char* path, const PnmFormat& format) {
    Image image;
    const std::string error = loadPnm(path, format, image);
    if (!error.empty()) {
        fatalError(error.c_str());
    }
    return image;
}

} // namespace

std::string parsePpm(std::FILE* in, Image& image) {
    return parsePnm(in, ppmFormat, image);
}

std::string parsePgm(std::FILE* in, Image& image) {
    return parsePnm(in, pgmFormat, image);
}

std::string loadPpm(const char* path, Image& image) {
    return loadPnm(path, ppmFormat, image);
}

std::string loadPgm(const char* path, Image& image) {
    return loadPnm(path, pgmFormat, image);
}

std::vector<unsigned char> readPpm(const char* path, int& width, int& height, int& bitsPerPixel) {
    Image image = readOrDie(path, ppmFormat);
    width = image.width;
    height = image.height;
    bitsPerPixel = 32;
    return std::move(image.pixels);
}

std::vector<unsigned char> readPgm(const char* path, int& width, int& height) {
    Image image = readOrDie(path, pgmFormat);
    width = image.width;
    height = image.height;
    return std::move(image.pixels);
}

} // namespace tessera
