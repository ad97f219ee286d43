#pragma once

#include "picture/image.h"

#include <cstdio>
#include <string>
#include <vector>

namespace tessera {

// Parsing cores: read a binary PPM (P6) or PGM (P5) from an open stream into image.
// They never exit; they return an empty string on success, or the message that
// describes the first thing wrong with the file (ending in a line feed).
std::string parsePpm(std::FILE* in, Image& image);
std::string parsePgm(std::FILE* in, Image& image);

// Open the named file and parse it. On failure errno describes the cause: the system's
// error when the file cannot be opened, EINVAL when its contents are bad.
std::string loadPpm(const char* path, Image& image);
std::string loadPgm(const char* path, Image& image);

// Entry points used by the program: on any failure they end it through fatalError.
std::vector<unsigned char> readPpm(const char* path, int& width, int& height, int& bitsPerPixel);
std::vector<unsigned char> readPgm(const char* path, int& width, int& height);

} // namespace tessera
