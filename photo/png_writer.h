#pragma once

#include "image/rgb_image.h"
#include "photo/atomic_file.h"

#include <cstdio>
#include <string>

namespace tessera {

// Writes the image as an 8-bit RGB PNG file: the program's snapshots, the screenshot tool
// and offscreen renders. The same image always gives the same bytes. Returns an empty
// string on success or a one-line reason for failure ("PATH: reason"). The file is written
// whole under a temporary name and only then put at path: a failed write leaves path as it
// was, and with Replace::Never an existing path is never touched.
enum class PngPacking {
    Small, // the smallest file: snapshots and screenshots, few and kept
    Quick  // a few times quicker, files a sixth larger: a render's many frames
};
std::string writePng(const RgbImage& image, const std::string& path,
                     PngPacking packing = PngPacking::Small,
                     AtomicFile::Replace replace = AtomicFile::Replace::Allowed);

// Encodes the image as a PNG into an open stream. Returns an empty string or the reason.
std::string encodePng(const RgbImage& image, std::FILE* out, PngPacking packing);

} // namespace tessera
