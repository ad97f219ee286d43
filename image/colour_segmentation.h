#pragma once

#include "image/rgb_image.h"
#include "picture/region.h"

#include <cstdint>
#include <vector>

namespace tessera {

// The picture's pixels grouped into colour regions. Keys run from 0 to regions - 1 in
// order of decreasing pixel count (ties: the earlier cluster first).
struct ColourSegmentation {
    std::vector<std::uint8_t> keys; // one per pixel, in the picture's pixel order
    std::vector<Region> regions;    // indexed by key: number = key, mean colour of its pixels
};

// k-means over at most this many pixels, evenly spread over the picture; every pixel is
// then given its nearest centre. This bounds the clustering time for large photographs
// while a picture of ordinary size is clustered in full.
constexpr std::size_t clusteringSampleLimit = std::size_t{1} << 18;

// Groups the pixels into regionCount colour regions (1 to 255, at most the pixel count).
// A region that ends without pixels gets its cluster centre's colour.
ColourSegmentation segmentColours(const RgbImage& image, int regionCount);

} // namespace tessera
