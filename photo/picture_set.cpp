#include "photo/picture_set.h"

#include "photo/cell_mask.h"
#include "photo/colour_segmentation.h"

#include <utility>

namespace tessera {
namespace {

void swapKeys(ColourSegmentation& segmentation, std::uint8_t first, std::uint8_t second) {
    for (std::uint8_t& key : segmentation.keys) {
        if (key == first) {
            key = second;
        } else if (key == second) {
            key = first;
        }
    }
    std::swap(segmentation.regions[first], segmentation.regions[second]);
    segmentation.regions[first].number = first;
    segmentation.regions[second].number = second;
}

// The picture's first byte is the top-left pixel's red value; moving it to the nearest
// value outside 9-13 and 32 changes that one pixel invisibly and keeps the picture whole.
void keepPictureStartReadable(RgbImage& picture) {
    std::uint8_t& red = picture.pixels[0];
    if (red == 32) {
        red = 33;
    } else if (red >= 9 && red <= 11) {
        red = 8;
    } else if (red >= 12 && red <= 13) {
        red = 14;
    }
}

} // namespace

bool isHeaderSpace(std::uint8_t value) {
    return (value >= 9 && value <= 13) || value == 32;
}

PictureSet buildPictureSet(RgbImage photograph, int regionCount, int cellsAcross, int cellsDown) {
    ColourSegmentation segmentation = segmentColours(photograph, regionCount);
    PictureSet set;
    set.mask = buildCellMask(segmentation.keys, photograph.width, photograph.height, cellsAcross,
                             cellsDown);
    // The mask's first byte is the top-left cell's key. When the readers would take it for
    // header space, that region trades keys with region 0, which then wins the cell again
    // (same pixels, and now the lowest key on any tie).
    if (isHeaderSpace(set.mask[0])) {
        swapKeys(segmentation, set.mask[0], 0);
        set.mask = buildCellMask(segmentation.keys, photograph.width, photograph.height,
                                 cellsAcross, cellsDown);
    }
    set.maskWidth = cellsAcross;
    set.maskHeight = cellsDown;
    set.regions = std::move(segmentation.regions);
    set.picture = std::move(photograph);
    keepPictureStartReadable(set.picture);
    return set;
}

} // namespace tessera
