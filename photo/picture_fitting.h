#pragma once

#include "image/rgb_image.h"
#include "photo/fit_plan.h"

namespace tessera {

// The picture a photograph becomes: the part plan.source of the upright photograph,
// scaled to plan.placed on a black plan.width x plan.height picture. stored is the
// photograph as decoded, orientation its EXIF orientation; plan is made for a photograph
// of stored's upright size. Only the part shown is scaled, and it is turned upright after
// scaling, so no full-size copy of the photograph is made.
RgbImage fitPhotograph(const RgbImage& stored, int orientation, const FitPlan& plan);

} // namespace tessera
