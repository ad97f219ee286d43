#include "photo/upright_photo.h"

#include "photo/fit_plan.h"
#include "photo/picture_fitting.h"

#include <utility>

namespace tessera {

namespace {

std::string sizeText(const RgbImage& picture) {
    return std::to_string(picture.width) + " x " + std::to_string(picture.height);
}

// Upright: no turn of the EXIF kind is left to make.
constexpr int upright = 1;

} // namespace

std::string pictureFitError(const PhotoOptions& options, const RgbImage& picture, BoardSize board) {
    if (static_cast<std::size_t>(options.regions) > picture.pixelCount()) {
        return "the picture made is " + sizeText(picture) +
               " pixels: fewer pixels than --regions " + std::to_string(options.regions);
    }
    int across = 0;
    int down = 0;
    cellsFor(options, board, across, down);
    const std::string grid = std::to_string(across) + "x" + std::to_string(down);
    if (across > picture.width || down > picture.height) {
        return "the picture made is " + sizeText(picture) + " pixels: too small for --cells " +
               grid;
    }
    if (across > board.width || down > board.height) {
        return "the board is " + std::to_string(board.width) + " x " +
               std::to_string(board.height) + " units: too small for --cells " + grid;
    }
    return "";
}

PictureSet buildPictureSet(RgbImage picture, const PhotoOptions& options, BoardSize board) {
    int across = 0;
    int down = 0;
    cellsFor(options, board, across, down);
    PictureSet set = buildPictureSet(std::move(picture), options.regions, across, down);
    set.board = board;
    return set;
}

std::string makePictureSetFromRgba(const unsigned char* rgba, int width, int height,
                                   const PhotoOptions& options, PictureSet& set) {
    set = PictureSet{};
    std::string error = photoOptionsError(options);
    if (error.empty() && (width <= 0 || height <= 0)) {
        error = "the picture has no pixels";
    }
    if (error.empty()) {
        error = decodedSizeError(static_cast<unsigned long>(width),
                                 static_cast<unsigned long>(height), 4);
    }
    if (!error.empty()) {
        return error;
    }
    RgbImage photo;
    photo.width = width;
    photo.height = height;
    photo.pixels.resize(photo.pixelCount() * 3);
    for (std::size_t i = 0; i < photo.pixelCount(); ++i) {
        const unsigned alpha = rgba[4 * i + 3];
        for (std::size_t c = 0; c < 3; ++c) {
            photo.pixels[3 * i + c] =
                static_cast<std::uint8_t>((rgba[4 * i + c] * alpha + 127) / 255);
        }
    }
    const FitPlan plan =
        planFit(width, height, options.fit, options.maxWidth, options.maxHeight, options.shape);
    RgbImage picture = fitPhotograph(photo, upright, plan);
    if (error = pictureFitError(options, picture, plan.board); !error.empty()) {
        return error;
    }
    set = buildPictureSet(std::move(picture), options, plan.board);
    set.photoWidth = width;
    set.photoHeight = height;
    return "";
}

} // namespace tessera
