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

namespace tessera {
namespace {

using test::CanvasTest;

// The tools' faces as drawn along the row through the middle of the grey strip, left to
// right: each a run of pixels other than the strip's grey with grey on both sides (the
// strip's, or a white board's lit beyond it).
struct Face {
    int left;
    int right;
};

std::vector<Face> facesOnRow(const test::GlContext& gl, int row) {
    const auto grey = [&](int x) {
        const auto c = gl.pixel(x, row);
        return c.r > 40 && std::abs(c.r - c.g) <= 3 && std::abs(c.g - c.b) <= 3;
    };
    std::vector<Face> faces;
    for (int x = 1; x < gl.width(); ++x) {
        if (grey(x) || !grey(x - 1)) {
            continue;
        }
        int right = x;
        while (right + 1 < gl.width() && !grey(right + 1)) {
            ++right;
        }
        if (right + 1 < gl.width()) {
            faces.push_back({x, right});
        }
        x = right;
    }
    return faces;
}

struct FingerScreen {
    const char* name;
    int width;
    int height;
    double leastPixels;
    // Too small for four tools that wide: the toolbar grows only as far as the window holds it.
    bool roomForThem;
    // A tool's width with the mouse.
    double mouseWidth;
};

const FingerScreen fingerScreens[] = {
    {"a portrait phone, 390 x 844 at three pixels a point", 1170, 2532, 144.0, true, 72.0},
    {"a landscape phone, 844 x 390 at three pixels a point", 2532, 1170, 144.0, true, 95.0},
    {"a 640 x 480 window", 640, 480, 48.0, true, 39.0},
    {"a 1920 x 1080 screen, whose tools are that wide already", 1920, 1080, 48.0, true, 88.0},
    {"a 200 x 150 window", 200, 150, 48.0, false, 12.0},
};

const char* const fingerViews[] = {"", "======", "=====dddwwwaaaaaaaa", "------"};

TEST_F(CanvasTest, AFingersToolbarHasToolsAtLeastTheLeastWideAndAPressAtEachChoosesIt) {
    for (const FingerScreen& screen : fingerScreens) {
        for (const char* keys : fingerViews) {
            SCOPED_TRACE(std::string(screen.name) + ", keys '" + keys + "'");
            ASSERT_TRUE(gl.resize(screen.width, screen.height));
            load();
            canvas.cameraDistance = startingCameraDistance;
            canvas.leastToolPixels = screen.leastPixels;
            canvas.setProjection(0, 0, screen.width, screen.height);
            pressKeys(keys);
            // The middle of the strip, as the toolbar's camera shows it.
            double rows[4][4];
            const double aspect = static_cast<double>(screen.width) / screen.height;
            PickVolume::cameraProjection(canvas.toolbarCameraFor(aspect), aspect, rows);
            const double clipY = rows[1][1] * 10.0 + rows[1][2] * 3.0 + rows[1][3];
            const double clipW = rows[3][1] * 10.0 + rows[3][2] * 3.0 + rows[3][3];
            const int row = static_cast<int>((clipY / clipW + 1.0) * screen.height / 2.0);
            renderFrame();
            const std::vector<Face> faces = facesOnRow(gl, row);
            ASSERT_GE(faces.size(), 4u) << "row " << row;
            for (int tool = 0; tool < 4; ++tool) {
                const Face& face = faces[static_cast<std::size_t>(tool)];
                const int width = face.right - face.left + 1;
                // No larger than asked for, unless they were already: the board stays in view.
                if (screen.roomForThem) {
                    EXPECT_GE(width, screen.leastPixels) << "tool " << tool;
                    EXPECT_LE(width, std::max(screen.leastPixels * 1.05, screen.mouseWidth) + 1.0)
                        << "tool " << tool;
                }
                EXPECT_LT(face.right, screen.width - 1) << "tool " << tool << " in the window";
                const int x = (face.left + face.right) / 2;
                const int y = screen.height - 1 - row;
                canvas.selectTool(tool == 0 ? Canvas::TriangleTool : Canvas::ParallelogramTool);
                canvas.buttonPressed(x, y, 2);
                canvas.buttonReleased(x, y, 2);
                EXPECT_EQ(canvas.currentTool, tool) << "pressed at " << x << ", " << y;
            }
            EXPECT_TRUE(canvas.shapes.empty()) << "a press on a tool paints nothing";
        }
    }
    canvas.leastToolPixels = 0.0;
}

} // namespace
} // namespace tessera
