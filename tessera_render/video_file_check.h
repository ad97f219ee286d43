#pragma once

#include <string>

namespace tessera {

// Whether a finished video file is whole, judged from its container's headers alone (the
// frames are not read): ffmpeg that cannot finish a file, as on a full disk, may still end
// with status 0. Each returns an empty string, or what is wrong, as "the box 'mdat' at byte
// 926 is 1512 bytes long but only 1511 are left".

// The top-level boxes, from an 'ftyp' first, reach exactly to the end, and the index
// ('moov') and the frames ('mdat') are among them.
std::string mp4FileFault(const std::string& path);
// An EBML header, then a Segment that ends at the end of the file (one of unknown size,
// as a stream is written, cannot be checked).
std::string webmFileFault(const std::string& path);
// The GIF87a or GIF89a signature, and the trailer as the last byte.
std::string gifFileFault(const std::string& path);

} // namespace tessera
