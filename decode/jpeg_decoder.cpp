#include "decode/jpeg_decoder.h"

#include "decode/exif_orientation.h"

#include <csetjmp>
#include <cstdio> // jpeglib.h needs FILE declared first
#include <jerror.h>
#include <jpeglib.h>

namespace tessera {
namespace {

constexpr int scaleSteps = 8; // libjpeg scales by n/8

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

int orientationOf(const jpeg_decompress_struct& info) {
    for (jpeg_saved_marker_ptr marker = info.marker_list; marker; marker = marker->next) {
        if (marker->marker == JPEG_APP0 + 1) {
            const int orientation = exifOrientation(marker->data, marker->data_length);
            if (orientation != 1) {
                return orientation;
            }
        }
    }
    return 1;
}

// Sets the smallest scale the check accepts; the full size when it accepts none.
void chooseScale(jpeg_decompress_struct& info, int orientation, const ScaleCheck& acceptScale) {
    ScaleOffer offer;
    offer.storedWidth = static_cast<int>(info.image_width);
    offer.storedHeight = static_cast<int>(info.image_height);
    offer.orientation = orientation;
    for (int steps = 1; steps < scaleSteps; ++steps) {
        info.scale_num = static_cast<unsigned>(steps);
        info.scale_denom = scaleSteps;
        jpeg_calc_output_dimensions(&info);
        offer.width = static_cast<int>(info.output_width);
        offer.height = static_cast<int>(info.output_height);
        if (acceptScale(offer)) {
            return;
        }
    }
    info.scale_num = 1;
    info.scale_denom = 1;
}

// Packs CMYK into RGB in place: each ink takes away its share of the light its colour
// reflects, and black of all three. Files with Adobe's marker (Photoshop and most print
// work) store every ink inverted, 255 for none; others store the ink itself.
void rgbFromCmyk(RgbImage& image, bool inverted) {
    std::uint8_t* data = image.pixels.data();
    const std::size_t count = image.pixelCount();
    for (std::size_t i = 0; i < count; ++i) {
        unsigned paper[4]; // the light each ink lets through, 0 to 255
        for (int c = 0; c < 4; ++c) {
            paper[c] = inverted ? data[4 * i + c] : 255u - data[4 * i + c];
        }
        for (int c = 0; c < 3; ++c) {
            data[3 * i + c] = static_cast<std::uint8_t>((paper[c] * paper[3] + 127) / 255);
        }
    }
    image.pixels.resize(count * 3);
}

// Runs libjpeg between a setjmp and its possible longjmp. Nothing in this frame has a
// destructor, so the jump skips no clean-up; the caller owns every C++ object.
bool runJpeg(const unsigned char* bytes, std::size_t length, const ScaleCheck& acceptScale,
             DecodedPhoto& photo, JpegErrorTrap& trap, std::string& sizeError) {
    jpeg_decompress_struct info;
    info.err = jpeg_std_error(&trap.manager);
    trap.manager.error_exit = failJpeg;
    trap.manager.emit_message = warnJpeg;
    if (setjmp(trap.jump) != 0) {
        jpeg_destroy_decompress(&info);
        return false;
    }
    jpeg_create_decompress(&info);
    // Progressive pictures keep all coefficients while decoding; past this libjpeg stops
    // with "no backing store" instead of taking any amount of memory.
    info.mem->max_memory_to_use = static_cast<long>(maxDecodedBytes);
    jpeg_mem_src(&info, bytes, static_cast<unsigned long>(length));
    jpeg_save_markers(&info, JPEG_APP0 + 1, 0xffff);
    jpeg_read_header(&info, TRUE);
    photo.orientation = orientationOf(info);
    photo.storedWidth = static_cast<int>(info.image_width);
    photo.storedHeight = static_cast<int>(info.image_height);
    // Grey pictures are expanded to RGB by libjpeg. It cannot turn CMYK (or Adobe's YCCK)
    // into RGB, only into CMYK, which is converted here.
    const bool cmyk = info.jpeg_color_space == JCS_CMYK || info.jpeg_color_space == JCS_YCCK;
    info.out_color_space = cmyk ? JCS_CMYK : JCS_RGB;
    chooseScale(info, photo.orientation, acceptScale);
    jpeg_calc_output_dimensions(&info);
    const unsigned bytesPerPixel = cmyk ? 4 : 3;
    sizeError = decodedSizeError(info.output_width, info.output_height, bytesPerPixel);
    if (!sizeError.empty()) {
        jpeg_destroy_decompress(&info);
        return false;
    }
    jpeg_start_decompress(&info);
    RgbImage& image = photo.image;
    image.width = static_cast<int>(info.output_width);
    image.height = static_cast<int>(info.output_height);
    image.pixels.resize(image.pixelCount() * bytesPerPixel);
    const std::size_t rowBytes = static_cast<std::size_t>(image.width) * bytesPerPixel;
    while (info.output_scanline < info.output_height) {
        JSAMPROW row = image.pixels.data() + rowBytes * info.output_scanline;
        jpeg_read_scanlines(&info, &row, 1);
    }
    if (cmyk) {
        rgbFromCmyk(image, info.saw_Adobe_marker != 0);
    }
    jpeg_finish_decompress(&info);
    jpeg_destroy_decompress(&info);
    return true;
}

} // namespace

std::string decodeJpeg(const unsigned char* bytes, std::size_t length,
                       const ScaleCheck& acceptScale, DecodedPhoto& photo) {
    JpegErrorTrap trap{};
    std::string sizeError;
    if (runJpeg(bytes, length, acceptScale, photo, trap, sizeError)) {
        return "";
    }
    photo = DecodedPhoto{};
    if (!sizeError.empty()) {
        return sizeError;
    }
    if (trap.manager.msg_code == JERR_NO_BACKING_STORE) {
        return "cannot decode JPEG: it would take more than 1 GiB";
    }
    return std::string("cannot decode JPEG: ") + trap.message;
}

} // namespace tessera
