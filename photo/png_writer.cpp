#include "photo/png_writer.h"

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <png.h>
#include <vector>
#include <zlib.h>

namespace tessera {
namespace {

// libpng's default handler prints to standard error before jumping; this one keeps the
// message for the caller's single report.
[[noreturn]] void failPng(png_structp png, png_const_charp message) {
    *static_cast<std::string*>(png_get_error_ptr(png)) = message;
    png_longjmp(png, 1);
}

void ignorePngWarning(png_structp, png_const_charp) {}

// Runs libpng between a setjmp and its possible longjmp. Nothing in this frame has a
// destructor; the caller owns every C++ object.
bool runPng(png_structp png, png_infop info, std::FILE* out, const RgbImage& image,
            std::vector<png_bytep>& rows, PngPacking packing) {
    if (setjmp(png_jmpbuf(png)) != 0) {
        return false;
    }
    png_init_io(png, out);
    if (packing == PngPacking::Small) {
        png_set_compression_level(png, 9);
    } else {
        // One cheap filter and Huffman coding alone: the adaptive filter choice and the
        // string matching are what make a frame slow to write.
        png_set_filter(png, 0, PNG_FILTER_SUB);
        png_set_compression_strategy(png, Z_HUFFMAN_ONLY);
    }
    png_set_IHDR(png, info, static_cast<png_uint_32>(image.width),
                 static_cast<png_uint_32>(image.height), 8, PNG_COLOR_TYPE_RGB, PNG_INTERLACE_NONE,
                 PNG_COMPRESSION_TYPE_DEFAULT, PNG_FILTER_TYPE_DEFAULT);
    png_write_info(png, info);
    png_write_image(png, rows.data());
    png_write_end(png, nullptr);
    return true;
}

} // namespace

std::string encodePng(const RgbImage& image, std::FILE* out, PngPacking packing) {
    if (image.width <= 0 || image.height <= 0 || image.pixels.size() != image.pixelCount() * 3) {
        return "nothing to write: the image is empty or inconsistent";
    }
    std::vector<png_bytep> rows(static_cast<std::size_t>(image.height));
    for (int y = 0; y < image.height; ++y) {
        // libpng takes non-const rows but only reads them when writing.
        rows[static_cast<std::size_t>(y)] = const_cast<png_bytep>(
            image.pixels.data() + static_cast<std::size_t>(y) * image.width * 3);
    }
    std::string message;
    errno = 0;
    png_structp png =
        png_create_write_struct(PNG_LIBPNG_VER_STRING, &message, failPng, ignorePngWarning);
    png_infop info = png != nullptr ? png_create_info_struct(png) : nullptr;
    const bool written = info != nullptr && runPng(png, info, out, image, rows, packing);
    png_destroy_write_struct(&png, &info);
    if (written) {
        return "";
    }
    // libpng says only "Write Error" where the system knows why (a full disk, say).
    if (std::ferror(out) != 0 && errno != 0) {
        return std::strerror(errno);
    }
    return message.empty() ? "cannot set up the PNG encoder" : message;
}

std::string writePng(const RgbImage& image, const std::string& path, PngPacking packing,
                     AtomicFile::Replace replace) {
    AtomicFile out;
    if (std::string error = out.create(path); !error.empty()) {
        return error;
    }
    if (std::string error = encodePng(image, out.stream(), packing); !error.empty()) {
        return path + ": " + error;
    }
    return out.commit(replace);
}

} // namespace tessera
