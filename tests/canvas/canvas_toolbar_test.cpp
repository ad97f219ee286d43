// The toolbar stays where the starting camera shows it, over every shape, whatever the
// camera does; a press there chooses the tool on both pick paths.
#include "canvas_fixture.h"

#include <cmath>

namespace tessera {
namespace {

using test::CanvasTest;

struct View {
    const char* name;
    int width;
    int height;
    const char* keys;
};

const View views[] = {
    {"the starting camera", 640, 480, ""},
    {"zoomed in", 640, 480, "======"},
    {"zoomed in and panned", 640, 480, "=====dddwwwaaaaaaaa"},
    {"zoomed out, the toolbar over the margin", 640, 480, "------"},
    {"a wide window, zoomed in and panned", 1280, 480, "====ddds"},
};

bool isIconYellow(const test::GlContext::Rgb& c) {
    return std::abs(c.r - 229) <= 2 && std::abs(c.g - 229) <= 2 && c.b == 0;
}

TEST_F(CanvasTest, ThePressWhereTheToolbarShowsChoosesTheToolAtAnyZoomAndPan) {
    for (const View& view : views) {
        for (const bool reference : {false, true}) {
            SCOPED_TRACE(std::string(view.name) + (reference ? ", selection mode" : ", CPU pick"));
            ASSERT_TRUE(gl.resize(view.width, view.height));
            load();
            // A load keeps the zoom and the tool.
            canvas.cameraDistance = startingCameraDistance;
            canvas.selectTool(Canvas::ParallelogramTool);
            canvas.referenceDrawing = reference;
            canvas.setProjection(0, 0, view.width, view.height);
            // The middle of the circle tool's icon, as the starting camera shows it.
            double x = 0.0;
            double y = 0.0;
            ASSERT_EQ(canvas.projectIn(canvas.viewport, 80.0f, 10.0f, x, y), 1);
            const int px = static_cast<int>(x);
            const int py = static_cast<int>(y);
            pressKeys(view.keys);
            renderFrame();
            const auto shown = gl.pixel(px, view.height - 1 - py);
            EXPECT_TRUE(isIconYellow(shown)) << shown.r << " " << shown.g << " " << shown.b;

            canvas.buttonPressed(px, py, 2);
            canvas.buttonReleased(px, py, 2);
            EXPECT_EQ(canvas.currentTool, Canvas::CircleTool);
            EXPECT_TRUE(canvas.shapes.empty()) << "a press on a tool paints nothing";
        }
    }
}

// The nearest depth a painted shape takes lies in front of the strip and the button faces.
TEST_F(CanvasTest, AShapePaintedUnderTheToolbarLeavesItInSight) {
    for (const bool reference : {false, true}) {
        SCOPED_TRACE(reference ? "immediate mode" : "batched");
        load();
        canvas.referenceDrawing = reference;
        Shape* shape = canvas.spawnShape(Canvas::SquareTool, 80.0f, 10.0f);
        shape->setPosition(80.0f, 10.0f, 4.5f);
        shape->setScale(60.0f, 60.0f, 1.0f);
        shape->setColour(1.0f, 0.0f, 1.0f);
        renderFrame();
        const auto face = gl.pixel(28, 33);
        EXPECT_EQ(face.r, 0);
        EXPECT_NEAR(face.b, 178, 2);
        EXPECT_TRUE(isIconYellow(gl.pixel(28, 16)));
        const auto strip = gl.pixel(58, 17);
        EXPECT_EQ(strip.r, strip.g);
        EXPECT_EQ(strip.g, strip.b);
        const auto above = gl.pixel(80, 60);
        EXPECT_GT(above.r, 100) << "the shape shows above the toolbar";
        EXPECT_EQ(above.g, 0);
    }
}

} // namespace
} // namespace tessera
