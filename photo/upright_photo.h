#pragma once

#include "image/rgb_image.h"
#include "photo/photo_options.h"
#include "photo/picture_set.h"

#include <string>

namespace tessera {

// A photograph decoded and turned upright elsewhere (a browser's decoders do both), as RGBA
// rows top to bottom, made into a picture set as a decoded JPEG or PNG is: transparent
// parts over black, fitted to the board's shape, grouped into regions, under the mask grid.
// Returns an empty string, or the message saying what is wrong; set is then left empty.
std::string makePictureSetFromRgba(const unsigned char* rgba, int width, int height,
                                   const PhotoOptions& options, PictureSet& set);

// Empty when the regions and the grid fit the picture made (not the photograph) and the
// board, else why.
std::string pictureFitError(const PhotoOptions& options, const RgbImage& picture, BoardSize board);

// The picture set of a fitted picture: its regions and the options' grid over the board.
PictureSet buildPictureSet(RgbImage picture, const PhotoOptions& options, BoardSize board);

} // namespace tessera
