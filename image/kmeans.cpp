#include "image/kmeans.h"

#include "image/seeded_random.h"

#include <algorithm>

namespace tessera {
namespace {

// Picks an index with probability proportional to its weight.
std::size_t pickWeighted(const std::vector<double>& weights, double total, SeededRandom& random) {
    const double target = random.nextUnit() * total;
    double sum = 0;
    std::size_t lastPositive = 0;
    for (std::size_t i = 0; i < weights.size(); ++i) {
        if (weights[i] > 0) {
            sum += weights[i];
            lastPositive = i;
            if (sum > target) {
                return i;
            }
        }
    }
    return lastPositive; // rounding left the target just past the final sum
}

// k-means++: each further centre is drawn with probability proportional to the squared
// distance to the nearest centre so far, which spreads the start over the colours.
std::vector<Lab> seedCentres(const std::vector<Lab>& points, int clusters, SeededRandom& random) {
    std::vector<Lab> centres;
    centres.push_back(points[random.nextIndex(points.size())]);
    std::vector<double> distances(points.size());
    for (std::size_t i = 0; i < points.size(); ++i) {
        distances[i] = squaredDistance(points[i], centres[0]);
    }
    while (static_cast<int>(centres.size()) < clusters) {
        double total = 0;
        for (double d : distances) {
            total += d;
        }
        if (total <= 0) {
            centres.push_back(centres.back()); // every colour already has a centre
            continue;
        }
        const Lab& chosen = points[pickWeighted(distances, total, random)];
        centres.push_back(chosen);
        for (std::size_t i = 0; i < points.size(); ++i) {
            distances[i] = std::min(distances[i], squaredDistance(points[i], chosen));
        }
    }
    return centres;
}

// Moves each centre to the mean of its points. A centre left without points restarts at
// the point worst served by its own centre, so no cluster is wasted while colours remain.
void updateCentres(const std::vector<Lab>& points, const std::vector<int>& labels,
                   std::vector<double>& distances, std::vector<Lab>& centres) {
    std::vector<Lab> sums(centres.size());
    std::vector<std::size_t> counts(centres.size(), 0);
    for (std::size_t i = 0; i < points.size(); ++i) {
        Lab& sum = sums[labels[i]];
        sum.l += points[i].l;
        sum.a += points[i].a;
        sum.b += points[i].b;
        ++counts[labels[i]];
    }
    for (std::size_t c = 0; c < centres.size(); ++c) {
        if (counts[c] > 0) {
            const double n = static_cast<double>(counts[c]);
            centres[c] = Lab{sums[c].l / n, sums[c].a / n, sums[c].b / n};
            continue;
        }
        const auto worst = std::max_element(distances.begin(), distances.end());
        if (*worst > 0) {
            centres[c] = points[worst - distances.begin()];
            *worst = 0;
        }
    }
}

} // namespace

int nearestCentre(const Lab& point, const std::vector<Lab>& centres, double* distance) {
    int best = 0;
    double bestDistance = squaredDistance(point, centres[0]);
    for (std::size_t c = 1; c < centres.size(); ++c) {
        const double d = squaredDistance(point, centres[c]);
        if (d < bestDistance) {
            bestDistance = d;
            best = static_cast<int>(c);
        }
    }
    if (distance != nullptr) {
        *distance = bestDistance;
    }
    return best;
}

std::vector<Lab> findClusterCentres(const std::vector<Lab>& points,
                                    const KMeansSettings& settings) {
    SeededRandom random(settings.seed);
    std::vector<Lab> centres = seedCentres(points, settings.clusters, random);
    std::vector<int> labels(points.size(), -1);
    std::vector<double> distances(points.size());
    for (int iteration = 0; iteration < settings.maxIterations; ++iteration) {
        bool changed = false;
        for (std::size_t i = 0; i < points.size(); ++i) {
            const int label = nearestCentre(points[i], centres, &distances[i]);
            changed = changed || label != labels[i];
            labels[i] = label;
        }
        if (!changed) {
            break;
        }
        updateCentres(points, labels, distances, centres);
    }
    return centres;
}

} // namespace tessera
