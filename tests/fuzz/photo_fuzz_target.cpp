#include "fuzz/fuzz_targets.h"
#include "photo/make_picture_set.h"

#include <cstdio>
#include <cstdlib>
#include <string>

namespace tessera {
namespace {

void require(bool holds, const char* what) {
    if (!holds) {
        std::fprintf(stderr, "photo fuzz target: %s\n", what);
        std::abort();
    }
}

// The options follow the input's length, so that every fit and several region counts are
// met; the picture made stays small, so that many inputs run each second.
PhotoOptions optionsFor(std::size_t size) {
    PhotoOptions options;
    options.fit = static_cast<Fit>(size % 3);
    options.regions = 1 + static_cast<int>(size % 7);
    options.cellsAcross = 4;
    options.cellsDown = 3;
    options.maxWidth = 96;
    options.maxHeight = 72;
    return options;
}

} // namespace

// What making a set promises: a failure is one line and leaves the set empty; a success is
// a picture within the size asked for, a mask of the grid asked for whose every key names
// one of at most K regions, and the photograph's size.
void fuzzPhoto(const std::uint8_t* data, std::size_t size) {
    const PhotoOptions options = optionsFor(size);
    PictureSet set;
    const std::string error = makePictureSetFromBytes(data, size, options, set);
    if (!error.empty()) {
        require(error.find('\n') == std::string::npos, "message is more than one line");
        require(set.picture.pixels.empty() && set.mask.empty() && set.regions.empty(),
                "failed make left a set");
        return;
    }
    const RgbImage& picture = set.picture;
    require(picture.width >= 1 && picture.width <= options.maxWidth, "width out of range");
    require(picture.height >= 1 && picture.height <= options.maxHeight, "height out of range");
    require(picture.pixels.size() == picture.pixelCount() * 3,
            "picture is not width x height pixels");
    require(set.maskWidth == options.cellsAcross && set.maskHeight == options.cellsDown &&
                set.mask.size() == static_cast<std::size_t>(set.maskWidth * set.maskHeight),
            "mask is not the grid asked for");
    require(!set.regions.empty() && set.regions.size() <= static_cast<std::size_t>(options.regions),
            "region count out of range");
    for (const std::uint8_t key : set.mask) {
        require(key < set.regions.size(), "mask key names no region");
    }
    require(set.photoWidth >= 1 && set.photoHeight >= 1, "photograph size missing");
}

} // namespace tessera
