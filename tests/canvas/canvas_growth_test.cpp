// A shape held under the right button grows by 1 + 1.3 dt each idle step, and a circle
// pulses, until its scale reaches maxGrownCells mask cells; below that every step is the
// product it always was.
#include "canvas_fixture.h"

#include <cmath>

namespace tessera {
namespace {

using test::CanvasTest;

struct Hold {
    const char* name;
    int tool;
    int maskHeight; // 480 / maskHeight board units a cell
    double seconds;
    float step;
    bool reachesTheCap;
};

// The squares start at a scale of half of (cell height - 5), the triangles at half of
// (cell width - 3) across. The demo's longest hold lasts 1.83 s, on a square. A circle's
// pulse adds to its scale, so its growth below the cap is not a plain product.
const Hold holds[] = {
    {"a tap", Canvas::SquareTool, 48, 0.0, 1.0f / 60.0f, false},
    {"a short press", Canvas::SquareTool, 48, 0.5, 1.0f / 60.0f, false},
    {"the demo's longest hold, on a square", Canvas::SquareTool, 48, 1.85, 1.0f / 60.0f, false},
    {"a triangle held a second", Canvas::TriangleTool, 48, 1.0, 1.0f / 60.0f, false},
    {"a six-second hold", Canvas::SquareTool, 48, 6.0, 1.0f / 60.0f, true},
    {"a triangle held six seconds", Canvas::TriangleTool, 48, 6.0, 1.0f / 60.0f, true},
    {"a circle held six seconds, pulsing", Canvas::CircleTool, 48, 6.0, 1.0f / 60.0f, true},
    {"a slow machine's long steps", Canvas::ParallelogramTool, 48, 6.0, 0.5f, true},
    {"large cells", Canvas::SquareTool, 12, 8.0, 1.0f / 60.0f, true},
    {"a finger resting an hour", Canvas::SquareTool, 48, 3600.0, 0.27f, true},
};

TEST_F(CanvasTest, AHeldShapeGrowsAsAlwaysUpToTheCapAndNoFurther) {
    for (const Hold& hold : holds) {
        SCOPED_TRACE(hold.name);
        loadWithMask(64, hold.maskHeight);
        const float cap = maxGrownCells * static_cast<float>(480 / hold.maskHeight);
        canvas.selectTool(hold.tool);
        canvas.buttonPressed(320, 240, 2);
        ASSERT_NE(canvas.stroke(0).painting, nullptr);
        Shape& shape = *canvas.stroke(0).painting;
        const float aspect = shape.scale.y / shape.scale.x;
        float uncapped = shape.scale.x;
        const auto steps = static_cast<int>(std::lround(hold.seconds / hold.step));
        for (int i = 0; i < steps; ++i) {
            canvas.advance(hold.step);
            uncapped *= hold.step * 1.3f + 1.0f;
        }
        if (hold.reachesTheCap) {
            EXPECT_FLOAT_EQ(shape.scale.x, cap);
            EXPECT_FLOAT_EQ(shape.scale.y / shape.scale.x, aspect) << "it keeps its shape";
        } else {
            ASSERT_LT(uncapped, cap);
            EXPECT_EQ(shape.scale.x, uncapped);
        }
        canvas.buttonReleased(320, 240, 2);
    }
}

// Only the shape held still under the button grows and is held to the cap: a size a shape
// has from elsewhere (a trade of sizes) is never cut down once the pointer moves on or the
// button is let go.
TEST_F(CanvasTest, OnlyTheShapeHeldStillGrowsAndMeetsTheCap) {
    load();
    canvas.buttonPressed(320, 240, 2);
    Shape& shape = *canvas.stroke(0).painting;
    const float start = shape.scale.x;
    canvas.stroke(0).paintMode = Canvas::Trailing;
    canvas.advance(0.5f);
    EXPECT_EQ(shape.scale.x, start);
    shape.setScale(200.0f, 200.0f, 1.0f);
    canvas.advance(0.5f);
    EXPECT_EQ(shape.scale.x, 200.0f);
    canvas.stroke(0).paintMode = Canvas::Growing;
    canvas.advance(0.01f);
    EXPECT_EQ(shape.scale.x, canvas.maxGrownScale());
    canvas.buttonReleased(320, 240, 2);
    shape.setScale(200.0f, 200.0f, 1.0f);
    canvas.advance(0.5f);
    EXPECT_EQ(shape.scale.x, 200.0f);
}

// A grow event (a tap's, or a recording's) grows only the shape being painted, and no
// further than a hold could, whatever its factor.
TEST_F(CanvasTest, AGrowEventGrowsTheShapeBeingPaintedUpToTheCap) {
    load();
    canvas.growPainting(2.0f);
    canvas.buttonPressed(320, 240, 2);
    Shape& shape = *canvas.stroke(0).painting;
    const float start = shape.scale.x;
    canvas.growPainting(2.0f);
    EXPECT_EQ(shape.scale.x, 2.0f * start);
    canvas.growPainting(1.0e6f);
    EXPECT_EQ(shape.scale.x, canvas.maxGrownScale());
    canvas.buttonReleased(320, 240, 2);
    canvas.growPainting(2.0f);
    EXPECT_EQ(shape.scale.x, canvas.maxGrownScale()) << "once let go it is painted no more";
}

} // namespace
} // namespace tessera
