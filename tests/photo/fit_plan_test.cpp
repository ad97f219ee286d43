#include "photo/fit_plan.h"

#include <gtest/gtest.h>
#include <ostream>

namespace tessera {

std::ostream& operator<<(std::ostream& out, const PixelRect& rect) {
    return out << "(" << rect.x << ", " << rect.y << ") " << rect.width << " x " << rect.height;
}

namespace {

TEST(FitPlan, SizesForEachShapeOfPhotograph) {
    const struct {
        const char* name;
        int photoWidth, photoHeight;
        Fit fit;
        int maxWidth, maxHeight;
        int width, height;
        PixelRect source, placed;
    } rows[] = {
        {"landscape crop",
         4000,
         2000,
         Fit::crop,
         1024,
         768,
         1024,
         768,
         {666, 0, 2667, 2000},
         {0, 0, 1024, 768}},
        {"portrait crop",
         3000,
         4000,
         Fit::crop,
         1024,
         768,
         1024,
         768,
         {0, 875, 3000, 2250},
         {0, 0, 1024, 768}},
        {"square crop, not scaled",
         1000,
         1000,
         Fit::crop,
         1024,
         768,
         1000,
         750,
         {0, 125, 1000, 750},
         {0, 0, 1000, 750}},
        {"4:3 kept whole",
         640,
         480,
         Fit::crop,
         1024,
         768,
         640,
         480,
         {0, 0, 640, 480},
         {0, 0, 640, 480}},
        {"4:3 scaled down",
         4096,
         3072,
         Fit::crop,
         1024,
         768,
         1024,
         768,
         {0, 0, 4096, 3072},
         {0, 0, 1024, 768}},
        {"crop into a square limit",
         4000,
         3000,
         Fit::crop,
         800,
         800,
         800,
         600,
         {0, 0, 4000, 3000},
         {0, 0, 800, 600}},
        {"landscape pad",
         4000,
         2000,
         Fit::pad,
         1024,
         768,
         1024,
         768,
         {0, 0, 4000, 2000},
         {0, 128, 1024, 512}},
        {"portrait pad",
         3000,
         4000,
         Fit::pad,
         1024,
         768,
         1024,
         768,
         {0, 0, 3000, 4000},
         {224, 0, 576, 768}},
        {"small pad, not scaled",
         100,
         100,
         Fit::pad,
         1024,
         768,
         133,
         100,
         {0, 0, 100, 100},
         {16, 0, 100, 100}},
        {"landscape stretch",
         4000,
         2000,
         Fit::stretch,
         1024,
         768,
         1024,
         512,
         {0, 0, 4000, 2000},
         {0, 0, 1024, 512}},
        {"portrait stretch",
         3000,
         4000,
         Fit::stretch,
         1024,
         768,
         576,
         768,
         {0, 0, 3000, 4000},
         {0, 0, 576, 768}},
        {"small stretch, not scaled",
         512,
         480,
         Fit::stretch,
         1024,
         768,
         512,
         480,
         {0, 0, 512, 480},
         {0, 0, 512, 480}},
        {"3 x 1 crop", 3, 1, Fit::crop, 1024, 768, 1, 1, {1, 0, 1, 1}, {0, 0, 1, 1}},
        {"3 x 1 pad", 3, 1, Fit::pad, 1024, 768, 3, 2, {0, 0, 3, 1}, {0, 0, 3, 1}},
        {"3 x 1 stretch", 3, 1, Fit::stretch, 1024, 768, 3, 1, {0, 0, 3, 1}, {0, 0, 3, 1}},
        {"1 x 3 crop", 1, 3, Fit::crop, 1024, 768, 1, 1, {0, 1, 1, 1}, {0, 0, 1, 1}},
        {"1 x 3 pad", 1, 3, Fit::pad, 1024, 768, 4, 3, {0, 0, 1, 3}, {1, 0, 1, 3}},
        {"a thin panorama keeps a row",
         65500,
         10,
         Fit::stretch,
         1024,
         768,
         1024,
         1,
         {0, 0, 65500, 10},
         {0, 0, 1024, 1}},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.name);

        const FitPlan plan =
            planFit(row.photoWidth, row.photoHeight, row.fit, row.maxWidth, row.maxHeight);

        EXPECT_EQ(plan.width, row.width);
        EXPECT_EQ(plan.height, row.height);
        EXPECT_EQ(plan.source, row.source);
        EXPECT_EQ(plan.placed, row.placed);
    }
}

// Over many small shapes and limits: the picture keeps to the limit, the part shown lies in
// the photograph and is never enlarged, the crop window is centred, pad centres the photo.
TEST(FitPlan, EveryPlanStaysInsideItsPicturesAndNeverEnlarges) {
    for (int width = 1; width <= 40; ++width) {
        for (int height = 1; height <= 40; ++height) {
            for (Fit fit : {Fit::crop, Fit::pad, Fit::stretch}) {
                for (int maxWidth : {1, 7, 16, 1024}) {
                    const int maxHeight = maxWidth == 7 ? 5 : maxWidth * 3 / 4 + 1;
                    const FitPlan plan = planFit(width, height, fit, maxWidth, maxHeight);
                    SCOPED_TRACE(std::to_string(width) + " x " + std::to_string(height) + " into " +
                                 std::to_string(maxWidth) + " x " + std::to_string(maxHeight) +
                                 ", fit " + std::to_string(static_cast<int>(fit)));
                    const PixelRect& source = plan.source;
                    const PixelRect& placed = plan.placed;
                    ASSERT_GE(plan.width, 1);
                    ASSERT_GE(plan.height, 1);
                    ASSERT_LE(plan.width, maxWidth);
                    ASSERT_LE(plan.height, maxHeight);
                    ASSERT_GE(source.width, placed.width);
                    ASSERT_GE(source.height, placed.height);
                    ASSERT_GE(placed.width, 1);
                    ASSERT_GE(placed.height, 1);
                    ASSERT_LE(placed.x + placed.width, plan.width);
                    ASSERT_LE(placed.y + placed.height, plan.height);
                    ASSERT_LE(source.x + source.width, width);
                    ASSERT_LE(source.y + source.height, height);
                    ASSERT_EQ(source.x, (width - source.width) / 2);
                    ASSERT_EQ(source.y, (height - source.height) / 2);
                    ASSERT_EQ(placed.x, (plan.width - placed.width) / 2);
                    ASSERT_EQ(placed.y, (plan.height - placed.height) / 2);
                }
            }
        }
    }
}

} // namespace
} // namespace tessera
