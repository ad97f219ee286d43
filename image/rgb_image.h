#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

namespace tessera {

// A decoded photograph: 3 bytes (red, green, blue) per pixel, rows top to bottom as in
// the source file, no padding.
struct RgbImage {
    std::vector<std::uint8_t> pixels;
    int width = 0;
    int height = 0;

    std::size_t pixelCount() const {
        return static_cast<std::size_t>(width) * static_cast<std::size_t>(height);
    }
};

// A photograph is decoded whole before the picture is made from it; its pixels may take at
// most this much memory (a 16384 x 16384 picture with 4 bytes a pixel). A fuzzing build
// (tools/fuzz) keeps within the fuzzer's memory limit instead: 64 MiB.
#ifdef FUZZING_BUILD_MODE_UNSAFE_FOR_PRODUCTION
constexpr std::size_t maxDecodedBytes = std::size_t{1} << 26;
#else
constexpr std::size_t maxDecodedBytes = std::size_t{1} << 30;
#endif

// Returns an empty string when width x height pixels of bytesPerPixel bytes fit in
// maxDecodedBytes, or the message that says they do not.
inline std::string decodedSizeError(unsigned long width, unsigned long height,
                                    unsigned bytesPerPixel) {
    if (static_cast<unsigned long long>(width) * height * bytesPerPixel <= maxDecodedBytes) {
        return "";
    }
    return "picture is " + std::to_string(width) + " x " + std::to_string(height) +
           " pixels; decoding it would take more than 1 GiB";
}

} // namespace tessera
