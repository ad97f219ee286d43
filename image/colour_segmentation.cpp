#include "image/colour_segmentation.h"

#include "image/kmeans.h"

#include <algorithm>
#include <numeric>

namespace tessera {
namespace {

Lab pixelColour(const RgbImage& image, std::size_t pixel) {
    const std::uint8_t* rgb = image.pixels.data() + 3 * pixel;
    return labFromRgb(rgb[0], rgb[1], rgb[2]);
}

std::vector<Lab> samplePixels(const RgbImage& image) {
    const std::size_t total = image.pixelCount();
    const std::size_t count = std::min(total, clusteringSampleLimit);
    std::vector<Lab> samples(count);
    for (std::size_t i = 0; i < count; ++i) {
        // In 64 bits: where size_t has 32 (the web build), i * total wraps from 2^16 pixels.
        samples[i] = pixelColour(image, static_cast<std::size_t>(std::uint64_t{i} * total / count));
    }
    return samples;
}

// Gives every pixel the index of its nearest centre. Equal colours have the same nearest
// centre, and a photograph repeats its colours often enough that remembering them saves
// most of the searches. There are at most 255 centres, so 255 marks a colour not met yet.
std::vector<std::uint8_t> nearestCentres(const RgbImage& image, const std::vector<Lab>& centres) {
    constexpr std::uint8_t unknown = 255;
    std::vector<std::uint8_t> centreOfColour(std::size_t{1} << 24, unknown);
    std::vector<std::uint8_t> labels(image.pixelCount());
    for (std::size_t p = 0; p < labels.size(); ++p) {
        const std::uint8_t* rgb = image.pixels.data() + 3 * p;
        std::uint8_t& centre = centreOfColour[(rgb[0] << 16) | (rgb[1] << 8) | rgb[2]];
        if (centre == unknown) {
            centre = static_cast<std::uint8_t>(nearestCentre(pixelColour(image, p), centres));
        }
        labels[p] = centre;
    }
    return labels;
}

std::uint8_t roundedMean(std::uint64_t sum, std::uint64_t count) {
    return static_cast<std::uint8_t>((sum + count / 2) / count);
}

} // namespace

ColourSegmentation segmentColours(const RgbImage& image, int regionCount) {
    KMeansSettings settings;
    settings.clusters = regionCount;
    const std::vector<Lab> centres = findClusterCentres(samplePixels(image), settings);

    ColourSegmentation result;
    result.keys = nearestCentres(image, centres);
    std::vector<std::uint64_t> counts(centres.size(), 0);
    std::vector<std::uint64_t> sums(centres.size() * 3, 0);
    for (std::size_t p = 0; p < result.keys.size(); ++p) {
        const int cluster = result.keys[p];
        ++counts[cluster];
        for (int c = 0; c < 3; ++c) {
            sums[3 * cluster + c] += image.pixels[3 * p + c];
        }
    }

    // Keys in order of decreasing size; the stable sort keeps equal sizes in cluster order.
    std::vector<int> order(centres.size());
    std::iota(order.begin(), order.end(), 0);
    std::stable_sort(order.begin(), order.end(),
                     [&](int x, int y) { return counts[x] > counts[y]; });
    std::vector<std::uint8_t> keyOfCluster(centres.size());
    result.regions.resize(centres.size());
    for (std::size_t key = 0; key < order.size(); ++key) {
        const int cluster = order[key];
        keyOfCluster[cluster] = static_cast<std::uint8_t>(key);
        Region& region = result.regions[key];
        region.number = static_cast<std::uint8_t>(key);
        if (counts[cluster] == 0) {
            std::uint8_t rgb[3];
            rgbFromLab(centres[cluster], rgb);
            region.red = rgb[0];
            region.green = rgb[1];
            region.blue = rgb[2];
            continue;
        }
        region.red = roundedMean(sums[3 * cluster], counts[cluster]);
        region.green = roundedMean(sums[3 * cluster + 1], counts[cluster]);
        region.blue = roundedMean(sums[3 * cluster + 2], counts[cluster]);
    }
    for (std::uint8_t& key : result.keys) {
        key = keyOfCluster[key];
    }
    return result;
}

} // namespace tessera
