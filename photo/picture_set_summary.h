#pragma once

#include "photo/picture_set.h"

#include <string>

namespace tessera {

// The one line that says what a photograph became, for example "beach.jpg: 1024 x 768
// picture from a 4000 x 3000 photograph, 64 x 48 cells, 12 regions".
std::string pictureSetSummary(const std::string& name, const PictureSet& set);

} // namespace tessera
