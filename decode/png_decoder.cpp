#include "decode/png_decoder.h"

#include "decode/photo_header.h"

#include <cstring>
#include <png.h>

namespace tessera {
namespace {

struct PngErrorTrap {
    std::string message;
};

struct PngSource {
    const unsigned char* bytes;
    std::size_t length;
    std::size_t position;
};

// libpng's default handler prints to standard error before jumping; this one keeps the
// message for the caller's single report.
[[noreturn]] void failPng(png_structp png, png_const_charp message) {
    static_cast<PngErrorTrap*>(png_get_error_ptr(png))->message = message;
    png_longjmp(png, 1);
}

// Warnings concern ancillary data (colour profiles, text chunks), not the pixels.
void ignorePngWarning(png_structp, png_const_charp) {}

void readPngBytes(png_structp png, png_bytep out, png_size_t count) {
    auto* source = static_cast<PngSource*>(png_get_io_ptr(png));
    if (source->length - source->position < count) {
        png_error(png, "file ends early");
    }
    std::memcpy(out, source->bytes + source->position, count);
    source->position += count;
}

// Runs libpng between a setjmp and its possible longjmp. Nothing in this frame has a
// destructor; the caller owns every C++ object.
bool runPng(png_structp png, png_infop info, RgbImage& image, std::vector<png_bytep>& rows) {
    if (setjmp(png_jmpbuf(png)) != 0) {
        return false;
    }
    png_read_info(png, info);
    const png_uint_32 width = png_get_image_width(png, info);
    const png_uint_32 height = png_get_image_height(png, info);
    // Every colour type and depth arrives as 8-bit RGBA.
    png_set_expand(png);
    png_set_scale_16(png);
    png_set_gray_to_rgb(png);
    png_set_filler(png, 0xff, PNG_FILLER_AFTER);
    png_set_interlace_handling(png);
    png_read_update_info(png, info);
    if (png_get_rowbytes(png, info) != static_cast<std::size_t>(width) * 4) {
        png_error(png, "unexpected row layout after conversion");
    }
    image.width = static_cast<int>(width);
    image.height = static_cast<int>(height);
    image.pixels.resize(image.pixelCount() * 4);
    rows.resize(height);
    for (png_uint_32 y = 0; y < height; ++y) {
        rows[y] = image.pixels.data() + static_cast<std::size_t>(y) * width * 4;
    }
    png_read_image(png, rows.data());
    png_read_end(png, nullptr);
    return true;
}

// Packs RGBA into RGB in place, composing translucent pixels over black: the colour of the
// bars --fit pad lays around a photograph, so a transparent edge and a bar look alike.
void composeOverBlack(RgbImage& image) {
    std::uint8_t* data = image.pixels.data();
    const std::size_t count = image.pixelCount();
    for (std::size_t i = 0; i < count; ++i) {
        const unsigned alpha = data[4 * i + 3];
        for (int c = 0; c < 3; ++c) {
            const unsigned value = data[4 * i + c];
            data[3 * i + c] = static_cast<std::uint8_t>((value * alpha + 127) / 255);
        }
    }
    image.pixels.resize(count * 3); // keeps the capacity: copying would need both at once
}

} // namespace

std::string decodePng(const unsigned char* bytes, std::size_t length, DecodedPhoto& photo) {
    photo = DecodedPhoto{};
    // The header's own checks give plainer messages than libpng's "Invalid IHDR data".
    const std::string headerError = photoHeaderError(bytes, length);
    if (!headerError.empty()) {
        return headerError;
    }
    PngErrorTrap trap;
    png_structp png =
        png_create_read_struct(PNG_LIBPNG_VER_STRING, &trap, failPng, ignorePngWarning);
    png_infop info = png ? png_create_info_struct(png) : nullptr;
    if (info == nullptr) {
        png_destroy_read_struct(&png, nullptr, nullptr);
        return "cannot decode PNG: out of memory";
    }
    png_set_user_limits(png, maxPngSide, maxPngSide);
    PngSource source{bytes, length, 0};
    png_set_read_fn(png, &source, readPngBytes);
    std::vector<png_bytep> rows;
    const bool decoded = runPng(png, info, photo.image, rows);
    png_destroy_read_struct(&png, &info, nullptr);
    if (decoded) {
        composeOverBlack(photo.image);
        photo.storedWidth = photo.image.width;
        photo.storedHeight = photo.image.height;
        return "";
    }
    photo = DecodedPhoto{};
    return "cannot decode PNG: " + trap.message;
}

} // namespace tessera
