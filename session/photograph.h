#pragma once

#include "photo/photo_options.h"
#include "photo/picture_set_buffers.h"

#include <string>

namespace tessera {

// A photograph given on the command line, made into a picture set in memory before the
// window opens. Returns an empty string and fills buffers and summary (one line saying
// what was made), or returns "PATH: what is wrong", the path printed escaped. Only a regular
// file is read, and opening it never waits (photo/photo_file.h).
std::string preparePhotograph(const std::string& path, const PhotoOptions& options,
                              PictureSetBuffers& buffers, std::string& summary);

} // namespace tessera
