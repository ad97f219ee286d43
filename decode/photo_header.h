#pragma once

#include <cstddef>
#include <string>

namespace tessera {

// How much of a photograph's file is read and checked before the rest of it.
constexpr std::size_t photoHeaderBytes = std::size_t{1} << 16;

// What the first bytes of a JPEG or PNG already show to be wrong, in the decoders' words,
// so that a large file that cannot be a photograph is refused before its body is read: a
// PNG whose first chunk is no sound IHDR (its size, depth and type, and its CRC), a JPEG
// whose markers before the frame header are broken or whose frame has no size. Empty when
// the bytes given are sound so far, or are of neither format: the decoder has the last word.
std::string photoHeaderError(const unsigned char* bytes, std::size_t length);

} // namespace tessera
