#include "photo/jpeg_decoder.h"

#include <csetjmp>
#include <jpeglib.h>

namespace tessera {
namespace {

// libjpeg's own error handler exits the process; this one jumps back to the decoder with
// the library's message instead.
struct JpegErrorTrap {
    jpeg_error_mgr manager;
    std::jmp_buf jump;
    char message[JMSG_LENGTH_MAX];
};

[[noreturn]] void failJpeg(j_common_ptr info) {
    auto* trap = reinterpret_cast<JpegErrorTrap*>(info->err);
    (*info->err->format_message)(info, trap->message);
    std::longjmp(trap->jump, 1);
}

void warnJpeg(j_common_ptr info, int level) {
    // Negative levels are corrupt-data warnings; positive ones are trace output.
    if (level < 0) {
        failJpeg(info);
    }
}

// Runs libjpeg between a setjmp and its possible longjmp. Nothing in this frame has a
// destructor, so the jump skips no clean-up; the caller owns every C++ object.
bool runJpeg(std::FILE* in, RgbImage& image, JpegErrorTrap& trap, std::string& sizeError) {
    jpeg_decompress_struct info;
    info.err = jpeg_std_error(&trap.manager);
    trap.manager.error_exit = failJpeg;
    trap.manager.emit_message = warnJpeg;
    if (setjmp(trap.jump) != 0) {
        jpeg_destroy_decompress(&info);
        return false;
    }
    jpeg_create_decompress(&info);
    jpeg_stdio_src(&info, in);
    jpeg_read_header(&info, TRUE);
    sizeError = imageSizeError(info.image_width, info.image_height);
    if (!sizeError.empty()) {
        jpeg_destroy_decompress(&info);
        return false;
    }
    // Grey pictures are expanded to RGB; libjpeg refuses CMYK here, which it cannot convert.
    info.out_color_space = JCS_RGB;
    jpeg_start_decompress(&info);
    image.width = static_cast<int>(info.output_width);
    image.height = static_cast<int>(info.output_height);
    image.pixels.resize(image.pixelCount() * 3);
    const std::size_t rowBytes = static_cast<std::size_t>(image.width) * 3;
    while (info.output_scanline < info.output_height) {
        JSAMPROW row = image.pixels.data() + rowBytes * info.output_scanline;
        jpeg_read_scanlines(&info, &row, 1);
    }
    jpeg_finish_decompress(&info);
    jpeg_destroy_decompress(&info);
    return true;
}

} // namespace

std::string decodeJpeg(std::FILE* in, RgbImage& image) {
    JpegErrorTrap trap{};
    std::string sizeError;
    if (runJpeg(in, image, trap, sizeError)) {
        return "";
    }
    image = RgbImage{};
    if (!sizeError.empty()) {
        return sizeError;
    }
    return std::string("cannot decode JPEG: ") + trap.message;
}

} // namespace tessera
