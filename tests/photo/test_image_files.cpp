#include "test_image_files.h"

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <iterator>
#include <jpeglib.h>
#include <png.h>
#include <stdexcept>

namespace tessera {

RgbImage solidImage(int width, int height, std::uint8_t red, std::uint8_t green,
                    std::uint8_t blue) {
    RgbImage image;
    image.width = width;
    image.height = height;
    image.pixels.resize(image.pixelCount() * 3);
    for (std::size_t i = 0; i < image.pixelCount(); ++i) {
        image.pixels[3 * i] = red;
        image.pixels[3 * i + 1] = green;
        image.pixels[3 * i + 2] = blue;
    }
    return image;
}

void setPixel(RgbImage& image, int x, int y, std::uint8_t red, std::uint8_t green,
              std::uint8_t blue) {
    std::uint8_t* pixel = image.pixels.data() + 3 * (static_cast<std::size_t>(y) * image.width + x);
    pixel[0] = red;
    pixel[1] = green;
    pixel[2] = blue;
}

RgbImage letterImage(const std::string& rows) {
    const int width =
        static_cast<int>(rows.find('/') == std::string::npos ? rows.size() : rows.find('/'));
    RgbImage image = solidImage(width, static_cast<int>(rows.size() + 1) / (width + 1), 0, 0, 0);
    for (std::size_t i = 0, pixel = 0; i < rows.size(); ++i) {
        if (rows[i] != '/') {
            const std::uint8_t value = rows[i] == '.' ? 0 : static_cast<std::uint8_t>(rows[i]);
            std::fill_n(image.pixels.begin() + 3 * pixel++, 3, value);
        }
    }
    return image;
}

std::string lettersOf(const RgbImage& image) {
    std::string rows;
    for (std::size_t pixel = 0; pixel < image.pixelCount(); ++pixel) {
        if (pixel > 0 && pixel % image.width == 0) {
            rows += '/';
        }
        const std::uint8_t value = image.pixels[3 * pixel];
        rows += value == 0 ? '.' : static_cast<char>(value);
    }
    return rows;
}

void writeRawPng(const std::string& path, int width, int height, int colourType,
                 const std::vector<std::uint8_t>& samples) {
    std::FILE* out = std::fopen(path.c_str(), "wb");
    if (out == nullptr) {
        throw std::runtime_error("cannot create " + path);
    }
    png_structp png = png_create_write_struct(PNG_LIBPNG_VER_STRING, nullptr, nullptr, nullptr);
    png_infop info = png_create_info_struct(png);
    png_init_io(png, out);
    png_set_IHDR(png, info, width, height, 8, colourType, PNG_INTERLACE_NONE,
                 PNG_COMPRESSION_TYPE_DEFAULT, PNG_FILTER_TYPE_DEFAULT);
    png_write_info(png, info);
    const std::size_t rowBytes = samples.size() / height;
    for (int y = 0; y < height; ++y) {
        png_write_row(png, samples.data() + rowBytes * y);
    }
    png_write_end(png, nullptr);
    png_destroy_write_struct(&png, &info);
    std::fclose(out);
}

void writePng(const std::string& path, const RgbImage& image) {
    writeRawPng(path, image.width, image.height, PNG_COLOR_TYPE_RGB, image.pixels);
}

namespace {

// Compresses image into the destination that setDestination installs, at quality 95.
template <typename SetDestination>
void compressJpeg(const RgbImage& image, const std::vector<unsigned char>& app1,
                  SetDestination setDestination) {
    jpeg_compress_struct info;
    jpeg_error_mgr errors;
    info.err = jpeg_std_error(&errors);
    jpeg_create_compress(&info);
    setDestination(info);
    info.image_width = static_cast<JDIMENSION>(image.width);
    info.image_height = static_cast<JDIMENSION>(image.height);
    info.input_components = 3;
    info.in_color_space = JCS_RGB;
    jpeg_set_defaults(&info);
    jpeg_set_quality(&info, 95, TRUE);
    jpeg_start_compress(&info, TRUE);
    if (!app1.empty()) {
        jpeg_write_marker(&info, JPEG_APP0 + 1, app1.data(), static_cast<unsigned>(app1.size()));
    }
    while (info.next_scanline < info.image_height) {
        JSAMPROW row = const_cast<JSAMPROW>(
            image.pixels.data() + static_cast<std::size_t>(info.next_scanline) * image.width * 3);
        jpeg_write_scanlines(&info, &row, 1);
    }
    jpeg_finish_compress(&info);
    jpeg_destroy_compress(&info);
}

} // namespace

void writeJpeg(const std::string& path, const RgbImage& image) {
    std::FILE* out = std::fopen(path.c_str(), "wb");
    if (out == nullptr) {
        throw std::runtime_error("cannot create " + path);
    }
    compressJpeg(image, {}, [out](jpeg_compress_struct& info) { jpeg_stdio_dest(&info, out); });
    std::fclose(out);
}

std::vector<unsigned char> encodeJpeg(const RgbImage& image,
                                      const std::vector<unsigned char>& app1) {
    unsigned char* buffer = nullptr;
    unsigned long size = 0;
    compressJpeg(image, app1,
                 [&](jpeg_compress_struct& info) { jpeg_mem_dest(&info, &buffer, &size); });
    std::vector<unsigned char> bytes(buffer, buffer + size);
    std::free(buffer);
    return bytes;
}

std::vector<unsigned char>
encodeCmykJpeg(int width, int height, const std::vector<std::uint8_t>& inks, CmykStorage storage) {
    std::vector<std::uint8_t> samples = inks;
    if (storage != CmykStorage::plain) {
        for (std::uint8_t& sample : samples) {
            sample = static_cast<std::uint8_t>(255 - sample);
        }
    }
    jpeg_compress_struct info;
    jpeg_error_mgr errors;
    info.err = jpeg_std_error(&errors);
    jpeg_create_compress(&info);
    unsigned char* buffer = nullptr;
    unsigned long size = 0;
    jpeg_mem_dest(&info, &buffer, &size);
    info.image_width = static_cast<JDIMENSION>(width);
    info.image_height = static_cast<JDIMENSION>(height);
    info.input_components = 4;
    info.in_color_space = JCS_CMYK;
    jpeg_set_defaults(&info);
    if (storage == CmykStorage::adobeYcck) {
        jpeg_set_colorspace(&info, JCS_YCCK);
    }
    info.write_Adobe_marker = storage == CmykStorage::plain ? FALSE : TRUE;
    jpeg_set_quality(&info, 95, TRUE);
    jpeg_start_compress(&info, TRUE);
    while (info.next_scanline < info.image_height) {
        JSAMPROW row = samples.data() + static_cast<std::size_t>(info.next_scanline) * width * 4;
        jpeg_write_scanlines(&info, &row, 1);
    }
    jpeg_finish_compress(&info);
    jpeg_destroy_compress(&info);
    std::vector<unsigned char> bytes(buffer, buffer + size);
    std::free(buffer);
    return bytes;
}

std::vector<unsigned char> exifWithOrientation(int orientation, bool bigEndian) {
    std::vector<unsigned char> block{'E', 'x', 'i', 'f', 0, 0};
    const auto put = [&](std::uint32_t value, int bytes) {
        for (int i = 0; i < bytes; ++i) {
            const int shift = 8 * (bigEndian ? bytes - 1 - i : i);
            block.push_back(static_cast<unsigned char>(value >> shift));
        }
    };
    block.push_back(bigEndian ? 'M' : 'I');
    block.push_back(bigEndian ? 'M' : 'I');
    put(42, 2);
    put(8, 4); // the directory follows the header
    put(1, 2); // one entry: orientation, SHORT, count 1, the value in the first two bytes
    put(0x0112, 2);
    put(3, 2);
    put(1, 4);
    put(static_cast<std::uint32_t>(orientation), 2);
    put(0, 2);
    put(0, 4); // no next directory
    return block;
}

std::vector<char> readBytes(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

void writeBytes(const std::string& path, const std::vector<char>& bytes) {
    std::ofstream out(path, std::ios::binary);
    out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
}

} // namespace tessera
