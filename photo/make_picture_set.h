#pragma once

#include "photo/photo_options.h"
#include "photo/picture_set.h"

#include <cstddef>
#include <string>

namespace tessera {

// Makes the picture set of a JPEG or PNG photograph in memory: the photograph is decoded
// (a large JPEG at a smaller scale), turned upright by its EXIF orientation, fitted to the
// board's shape and scaled down as options say; then its colours are grouped into regions
// and the mask grid is laid over the picture. The same bytes and options always give the
// same set. Returns an empty string on success, or a message naming what is wrong (without
// the file's name); set is then left empty.
std::string makePictureSetFromBytes(const unsigned char* bytes, std::size_t length,
                                    const PhotoOptions& options, PictureSet& set);

// The same for a file, which is read once, whole (readPhotoFile, a pipe or a device too),
// before decoding.
std::string makePictureSet(const char* path, const PhotoOptions& options, PictureSet& set);

} // namespace tessera
