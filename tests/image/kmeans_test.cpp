#include "image/kmeans.h"

#include <algorithm>
#include <cmath>
#include <gtest/gtest.h>

namespace tessera {
namespace {

TEST(KMeans, FindsTheTwoColoursOfATwoColourPicture) {
    const Lab orange = labFromRgb(230, 120, 20);
    const Lab blue = labFromRgb(30, 40, 160);
    std::vector<Lab> points;
    for (int i = 0; i < 300; ++i) {
        const std::uint8_t jitter = static_cast<std::uint8_t>(i % 7);
        points.push_back(labFromRgb(230 - jitter, 120 + jitter, 20));
        if (i % 3 == 0) {
            points.push_back(labFromRgb(30, 40 - jitter, 160 + jitter));
        }
    }
    KMeansSettings settings;
    settings.clusters = 2;

    std::vector<Lab> centres = findClusterCentres(points, settings);

    ASSERT_EQ(centres.size(), 2u);
    std::sort(centres.begin(), centres.end(),
              [](const Lab& x, const Lab& y) { return x.b < y.b; }); // blue first
    // The jitter moves each mean a few units; the two colours are about 140 units apart.
    EXPECT_LT(std::sqrt(squaredDistance(centres[0], blue)), 6.0);
    EXPECT_LT(std::sqrt(squaredDistance(centres[1], orange)), 6.0);
}

TEST(KMeans, MoreClustersThanColoursRepeatTheColoursInsteadOfFailing) {
    const Lab grey = labFromRgb(128, 128, 128);
    const Lab white = labFromRgb(255, 255, 255);
    const std::vector<Lab> points{grey, white, grey, grey};
    KMeansSettings settings;
    settings.clusters = 4;

    const std::vector<Lab> centres = findClusterCentres(points, settings);

    ASSERT_EQ(centres.size(), 4u);
    for (const Lab& centre : centres) {
        EXPECT_LT(std::min(squaredDistance(centre, grey), squaredDistance(centre, white)), 1e-9);
    }
    EXPECT_NE(nearestCentre(grey, centres), nearestCentre(white, centres));
}

TEST(LabColour, EverySrgbColourSurvivesTheRoundTrip) {
    for (int red = 0; red < 256; red += 15) {
        for (int green = 0; green < 256; green += 15) {
            for (int blue = 0; blue < 256; blue += 15) {
                std::uint8_t rgb[3];
                rgbFromLab(labFromRgb(red, green, blue), rgb);
                ASSERT_EQ(rgb[0], red);
                ASSERT_EQ(rgb[1], green);
                ASSERT_EQ(rgb[2], blue);
            }
        }
    }
    const Lab white = labFromRgb(255, 255, 255);
    EXPECT_NEAR(white.l, 100, 0.01);
    EXPECT_NEAR(white.a, 0, 0.01);
    EXPECT_NEAR(white.b, 0, 0.01);
}

} // namespace
} // namespace tessera
