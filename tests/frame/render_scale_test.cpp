// The automatic render scale against loads of frames: what it settles at, and how often it
// moves on the way.
#include "frame/render_scale.h"

#include <algorithm>
#include <gtest/gtest.h>

namespace tessera {
namespace {

constexpr double budget = 1.0 / 60.0;
// Frames a minute at the budget.
constexpr int minute = 3600;

// The seconds frame number `frame` takes drawn at scale.
using Load = double (*)(double scale, int frame);

struct Course {
    double scale = 1.0;
    double lowest = 1.0;
    int changes = 0;
};

Course run(Load load, int frames) {
    RenderScale renderScale(budget);
    Course seen;
    for (int frame = 0; frame < frames; ++frame) {
        const bool changed = renderScale.frameTook(load(renderScale.scale(), frame));
        seen.changes += changed ? 1 : 0;
        seen.lowest = std::min(seen.lowest, renderScale.scale());
    }
    seen.scale = renderScale.scale();
    return seen;
}

TEST(RenderScale, FollowsTheLoadWithoutFlickering) {
    const struct {
        const char* name;
        Load load;
        int frames;
        double scale;
        double lowest;
        int mostChanges;
    } rows[] = {
        {"steady fast frames stay at 1", [](double, int) { return 0.5 * budget; }, minute, 1.0, 1.0,
         0},
        {"fill-bound frames too slow even at 0.5 step down to the floor and stay",
         [](double scale, int) { return 8.0 * scale * scale * budget; }, minute, 0.5, 0.5, 4},
        // Slow whatever the scale: each step down is taken back, ever more rarely tried.
        {"slow frames that no scale relieves stay at 1", [](double, int) { return 3.0 * budget; },
         10 * minute, 1.0, 0.85, 30},
        {"one slow frame in each window moves nothing",
         [](double, int frame) { return frame % 30 == 7 ? 20.0 * budget : 0.9 * budget; }, minute,
         1.0, 1.0, 0},
        {"frames a little over a vsync late still count as on time",
         [](double, int) { return 1.15 * budget; }, minute, 1.0, 1.0, 0},
        {"a load that ends lets it climb back",
         [](double scale, int frame) {
             return frame < 600 ? 8.0 * scale * scale * budget : 0.5 * budget;
         },
         2 * minute, 1.0, 0.5, 8},
        // Fill-bound: 1.3 budgets at 0.85, 0.88 at 0.7. Ten minutes at 0.7 with ever rarer
        // tries at 0.85, none of which holds.
        {"a load that fits only at 0.7 settles there",
         [](double scale, int) { return 1.8 * scale * scale * budget; }, 10 * minute, 0.7, 0.7, 30},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.name);
        const Course seen = run(row.load, row.frames);
        EXPECT_EQ(seen.scale, row.scale);
        EXPECT_EQ(seen.lowest, row.lowest);
        EXPECT_LE(seen.changes, row.mostChanges);
    }
}

TEST(RenderScale, TheViewportDrawnInKeepsItsCornerAndAtLeastAPixel) {
    using Viewport = std::array<int, 4>;
    EXPECT_EQ(scaledViewport({0, 20, 1920, 1080}, 0.85), (Viewport{0, 20, 1632, 918}));
    EXPECT_EQ(scaledViewport({0, 0, 641, 1}, 0.5), (Viewport{0, 0, 321, 1}));
    EXPECT_EQ(scaledViewport({0, 0, 640, 0}, 0.5), (Viewport{0, 0, 320, 0}));
}

} // namespace
} // namespace tessera
