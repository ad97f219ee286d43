#pragma once

#include "picture/region.h"

#include <map>

namespace tessera {

// Mask value (region key) to region colour, keys ascending. insert() keeps the existing
// entry when the key is already present and reports which entry it is.
using RegionTable = std::map<int, Region>;

} // namespace tessera
