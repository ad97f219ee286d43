#include "photo/picture_fitting.h"

#include "image/box_resampler.h"
#include "image/orientation.h"

#include <algorithm>

namespace tessera {

RgbImage fitPhotograph(const RgbImage& stored, int orientation, const FitPlan& plan) {
    const PixelRect window = storedRect(plan.source, orientation, stored.width, stored.height);
    const bool swapped = swapsSides(orientation);
    const RgbImage shown =
        orientImage(resampleBox(stored, window, swapped ? plan.placed.height : plan.placed.width,
                                swapped ? plan.placed.width : plan.placed.height),
                    orientation);
    if (plan.placed == PixelRect{0, 0, plan.width, plan.height}) {
        return shown;
    }
    RgbImage picture;
    picture.width = plan.width;
    picture.height = plan.height;
    picture.pixels.assign(picture.pixelCount() * 3, 0);
    const std::size_t rowBytes = static_cast<std::size_t>(shown.width) * 3;
    for (int y = 0; y < shown.height; ++y) {
        std::copy_n(
            shown.pixels.data() + rowBytes * y, rowBytes,
            picture.pixels.data() +
                3 * (static_cast<std::size_t>(plan.placed.y + y) * picture.width + plan.placed.x));
    }
    return picture;
}

} // namespace tessera
