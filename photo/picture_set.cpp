#include "photo/picture_set.h"

#include "image/cell_mask.h"
#include "image/colour_segmentation.h"

#include <utility>

namespace tessera {

PictureSet buildPictureSet(RgbImage photograph, int regionCount, int cellsAcross, int cellsDown) {
    ColourSegmentation segmentation = segmentColours(photograph, regionCount);
    PictureSet set;
    set.mask = buildCellMask(segmentation.keys, photograph.width, photograph.height, cellsAcross,
                             cellsDown);
    set.maskWidth = cellsAcross;
    set.maskHeight = cellsDown;
    set.regions = std::move(segmentation.regions);
    set.picture = std::move(photograph);
    return set;
}

} // namespace tessera
