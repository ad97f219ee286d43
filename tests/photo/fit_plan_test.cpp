#include "photo/fit_plan.h"

#include <algorithm>
#include <gtest/gtest.h>

namespace tessera {
namespace {

std::string describe(const FitPlan& plan) {
    const auto rect = [](const PixelRect& r) {
        return std::to_string(r.x) + "," + std::to_string(r.y) + " " + std::to_string(r.width) +
               "x" + std::to_string(r.height);
    };
    return std::to_string(plan.width) + "x" + std::to_string(plan.height) + ": " +
           rect(plan.source) + " to " + rect(plan.placed) + " on " +
           std::to_string(plan.board.width) + "x" + std::to_string(plan.board.height);
}

TEST(FitPlan, SizesForEachShapeOfPhotograph) {
    // The picture's size, then the part of the photograph shown and where it lands.
    const struct {
        int width, height;
        Fit fit;
        const char* plan;
    } rows[] = {
        {4000, 2000, Fit::crop, "1024x768: 666,0 2667x2000 to 0,0 1024x768 on 640x480"},
        {3000, 4000, Fit::crop, "1024x768: 0,875 3000x2250 to 0,0 1024x768 on 640x480"},
        {1000, 1000, Fit::crop, "1000x750: 0,125 1000x750 to 0,0 1000x750 on 640x480"},
        {4000, 2000, Fit::pad, "1024x768: 0,0 4000x2000 to 0,128 1024x512 on 640x480"},
        {3000, 4000, Fit::pad, "1024x768: 0,0 3000x4000 to 224,0 576x768 on 640x480"},
        {3000, 4000, Fit::stretch, "576x768: 0,0 3000x4000 to 0,0 576x768 on 640x480"},
        {512, 480, Fit::stretch, "512x480: 0,0 512x480 to 0,0 512x480 on 640x480"},
        {3, 1, Fit::crop, "1x1: 1,0 1x1 to 0,0 1x1 on 640x480"},
        {3, 1, Fit::pad, "3x2: 0,0 3x1 to 0,0 3x1 on 640x480"},
        {1, 3, Fit::pad, "4x3: 0,0 1x3 to 1,0 1x3 on 640x480"},
        {65500, 10, Fit::stretch, "1024x1: 0,0 65500x10 to 0,0 1024x1 on 640x480"},
        // own: a board of the photograph's shape, square 10-unit cells, the bound turned.
        {4000, 3000, Fit::own, "1024x768: 0,0 4000x3000 to 0,0 1024x768 on 640x480"},
        {3000, 4000, Fit::own, "768x1024: 0,0 3000x4000 to 0,0 768x1024 on 480x640"},
        {1920, 1080, Fit::own, "1024x576: 0,0 1920x1080 to 0,0 1024x576 on 640x360"},
        {1170, 2532, Fit::own, "480x1024: 0,18 1170x2496 to 0,0 480x1024 on 300x640"},
        {1000, 3000, Fit::own, "416x1024: 0,269 1000x2462 to 0,0 416x1024 on 260x640"},
        {5000, 1000, Fit::own, "1024x416: 1269,0 2462x1000 to 0,0 1024x416 on 640x260"},
        {3, 1, Fit::own, "2x1: 0,0 2x1 to 0,0 2x1 on 640x260"},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(std::to_string(row.width) + " x " + std::to_string(row.height));
        EXPECT_EQ(describe(planFit(row.width, row.height, row.fit, 1024, 768)), row.plan);
    }
    // A screen's shape instead of the photograph's: a 390 x 844 phone.
    EXPECT_EQ(describe(planFit(4000, 3000, Fit::own, 1024, 768, 390.0 / 844.0)),
              "480x1024: 1297,0 1406x3000 to 0,0 480x1024 on 300x640");
    EXPECT_EQ(describe(planFit(4000, 3000, Fit::crop, 800, 800)),
              "800x600: 0,0 4000x3000 to 0,0 800x600 on 640x480");
}

// Over many small shapes and limits: the picture keeps to the limit, the part shown lies in
// the photograph and is never enlarged, the crop window is centred, pad centres the photo.
TEST(FitPlan, EveryPlanStaysInsideItsPicturesAndNeverEnlarges) {
    for (int width = 1; width <= 40; ++width) {
        for (int height = 1; height <= 40; ++height) {
            for (Fit fit : {Fit::crop, Fit::pad, Fit::stretch, Fit::own}) {
                for (int maxWidth : {1, 7, 16, 1024}) {
                    const int maxHeight = maxWidth == 7 ? 5 : maxWidth * 3 / 4 + 1;
                    const FitPlan plan = planFit(width, height, fit, maxWidth, maxHeight);
                    SCOPED_TRACE(std::to_string(width) + " x " + std::to_string(height) + " into " +
                                 std::to_string(maxWidth) + ": " + describe(plan));
                    const PixelRect& source = plan.source;
                    const PixelRect& placed = plan.placed;
                    const bool turned = fit == Fit::own && plan.board.height > plan.board.width;
                    ASSERT_TRUE(plan.width <= (turned ? maxHeight : maxWidth) &&
                                plan.height <= (turned ? maxWidth : maxHeight));
                    const BoardSize board = plan.board;
                    ASSERT_EQ(std::max(board.width, board.height), 640);
                    ASSERT_TRUE(board.width % 10 == 0 && board.height % 10 == 0);
                    ASSERT_LE(std::max(board.width, board.height),
                              2.5 * std::min(board.width, board.height));
                    ASSERT_TRUE(placed.width >= 1 && placed.height >= 1);
                    ASSERT_TRUE(placed.width <= source.width && placed.height <= source.height);
                    ASSERT_EQ(source.x, (width - source.width) / 2);
                    ASSERT_EQ(source.y, (height - source.height) / 2);
                    ASSERT_TRUE(source.x >= 0 && source.y >= 0);
                    ASSERT_EQ(placed.x, (plan.width - placed.width) / 2);
                    ASSERT_EQ(placed.y, (plan.height - placed.height) / 2);
                    ASSERT_TRUE(placed.x >= 0 && placed.y >= 0);
                }
            }
        }
    }
}

} // namespace
} // namespace tessera
