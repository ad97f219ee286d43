#pragma once

#include "image/rgb_image.h"

#include <cstdint>
#include <string>
#include <vector>

namespace tessera {

// A width x height picture filled with one colour.
RgbImage solidImage(int width, int height, std::uint8_t red, std::uint8_t green, std::uint8_t blue);

void setPixel(RgbImage& image, int x, int y, std::uint8_t red, std::uint8_t green,
              std::uint8_t blue);

// Small pictures written as letters, rows split by '/': "ab/cd" is 2 x 2 with every
// channel of a pixel holding its letter's code; '.' is black.
RgbImage letterImage(const std::string& rows);
std::string lettersOf(const RgbImage& image);

// Encoders for test inputs of the tool. writeRawPng takes 8-bit samples of any PNG colour
// type, rows top to bottom.
void writeRawPng(const std::string& path, int width, int height, int colourType,
                 const std::vector<std::uint8_t>& samples);
void writePng(const std::string& path, const RgbImage& image);
void writeJpeg(const std::string& path, const RgbImage& image);

// A JPEG in memory, with the given APP1 payload when it is not empty.
std::vector<unsigned char> encodeJpeg(const RgbImage& image,
                                      const std::vector<unsigned char>& app1 = {});

// A CMYK JPEG in memory from 4 ink samples a pixel (0 none, 255 full), stored as print
// work stores them: the inks themselves without Adobe's marker, or inverted with it, as
// CMYK or as YCCK.
enum class CmykStorage { plain, adobe, adobeYcck };
std::vector<unsigned char>
encodeCmykJpeg(int width, int height, const std::vector<std::uint8_t>& inks, CmykStorage storage);

// An EXIF APP1 payload holding only the orientation tag, in either byte order.
std::vector<unsigned char> exifWithOrientation(int orientation, bool bigEndian);

// Whole-file helpers.
std::vector<char> readBytes(const std::string& path);
void writeBytes(const std::string& path, const std::vector<char>& bytes);

} // namespace tessera
