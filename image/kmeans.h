#pragma once

#include "image/lab_colour.h"

#include <cstdint>
#include <vector>

namespace tessera {

struct KMeansSettings {
    int clusters = 1;
    std::uint64_t seed = 0x7e55e7a5e7ULL;
    int maxIterations = 50; // Lloyd steps; most photographs settle well before this
};

// Groups the colours into settings.clusters clusters by k-means with a k-means++ start and
// returns the cluster centres. The result depends only on the points and the settings.
// When the points hold fewer distinct colours than clusters, the surplus centres repeat
// existing ones and attract no points. points must not be empty.
std::vector<Lab> findClusterCentres(const std::vector<Lab>& points, const KMeansSettings& settings);

// Index of the centre closest to point; ties go to the lowest index.
int nearestCentre(const Lab& point, const std::vector<Lab>& centres, double* distance = nullptr);

} // namespace tessera
