#pragma once

#include "screen_region.h"
#include "tools/screenshot/screen_image.h"

namespace tessera {

// The pixels of a region that differ at all between two shots of one size: over the bare
// picture, what a painted shape covers. The picture is drawn the same in every frame and
// shapes are flat fills, so no tolerance is needed to tell them from it.
struct ChangedPatch {
    int count = 0;
    // The mean position of the changed pixels, in window coordinates.
    double centreX = 0.0;
    double centreY = 0.0;
    // The smallest rectangle holding them.
    ScreenRegion bounds;
    // Their mean colour in the later shot: the shape's colour as lit.
    Rgb colour;
    // How far the patch reaches from its centre along the diagonals compared with along
    // the axes (the largest |dx| + |dy| over the largest of |dx| and |dy|): about 1.41
    // for a round patch, 2 for an upright square and about 1.8 for one tilted by 5 degrees.
    double cornerReach = 0.0;
    // The share of the bounding rectangle that the patch covers: about 0.7 for a round
    // patch, 1 for an upright square and 0.8 or more for a slightly tilted one.
    double fill = 0.0;

    bool empty() const { return count == 0; }
    // The patch keeps a margin inside the region, so the region cut none of it off.
    bool insideWithMargin(const ScreenRegion& region, int margin) const;
};

ChangedPatch changedPatch(const ScreenImage& before, const ScreenImage& after,
                          const ScreenRegion& region);

// A square of the given half size around a window point.
ScreenRegion around(int x, int y, int halfSize);

} // namespace tessera
