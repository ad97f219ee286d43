#include "photo/picture_set_summary.h"

namespace tessera {

std::string pictureSetSummary(const std::string& name, const PictureSet& set) {
    const std::size_t regions = set.regions.size();
    return name + ": " + std::to_string(set.picture.width) + " x " +
           std::to_string(set.picture.height) + " picture from a " +
           std::to_string(set.photoWidth) + " x " + std::to_string(set.photoHeight) +
           " photograph, " + std::to_string(set.maskWidth) + " x " +
           std::to_string(set.maskHeight) + " cells, " + std::to_string(regions) +
           (regions == 1 ? " region" : " regions");
}

} // namespace tessera
