#include "app/stage.h"
#include "canvas_fixture.h"
#include "scene/square_shape.h"

#include <cmath>

namespace tessera {
namespace {

using test::CanvasTest;

// Presses a key and returns what the Canvas printed for it.
std::string press(Canvas& canvas, int key) {
    ::testing::internal::CaptureStdout();
    EXPECT_EQ(canvas.keyPressed(key), 2);
    return ::testing::internal::GetCapturedStdout();
}

Shape* addSquare(Canvas& canvas, float x, float y) {
    canvas.shapes.push_back(std::make_unique<SquareShape>(x, y, 1.0f, 5.0f));
    return canvas.shapes.back().get();
}

TEST_F(CanvasTest, EveryKeyPrintsItsCodeOnItsOwnLine) {
    load();
    EXPECT_EQ(press(canvas, 'q'), "113\n");
    EXPECT_EQ(press(canvas, 27), "27\n");
    EXPECT_EQ(press(canvas, 96), "96\n");
    EXPECT_EQ(press(canvas, 0x161), "97\n"); // only the low 8 bits count
}

TEST_F(CanvasTest, MinusAndEqualsZoomByTenPerCent) {
    // Each distance is the float nearest the exact product (a float product would give
    // 653.39996).
    load();
    press(canvas, '-');
    EXPECT_EQ(canvas.cameraDistance, 660.0f);
    press(canvas, '-');
    EXPECT_EQ(canvas.cameraDistance, 726.0f);
    press(canvas, '=');
    EXPECT_EQ(canvas.cameraDistance, 653.4f);
}

TEST_F(CanvasTest, ZoomStopsShortOfZeroAndInfinity) {
    load();
    for (int i = 0; i < 2000; ++i) {
        press(canvas, '=');
    }
    EXPECT_EQ(canvas.cameraDistance, minCameraDistance);
    press(canvas, '-');
    EXPECT_GT(canvas.cameraDistance, minCameraDistance);
    for (int i = 0; i < 2000; ++i) {
        press(canvas, '-');
    }
    EXPECT_EQ(canvas.cameraDistance, maxCameraDistance);
}

TEST_F(CanvasTest, PanKeysMoveTheCameraByOneMaskCell) {
    load();
    const struct {
        int key;
        float dx, dy;
    } rows[] = {{'a', -10, 0}, {'d', 10, 0}, {'s', 0, -10}, {'w', 0, 10},
                {'A', 0, 0},   {'D', 0, 0},  {'S', 0, 0},   {'W', 0, 0}};
    for (const auto& row : rows) {
        const float x = canvas.cameraX;
        const float y = canvas.cameraY;
        press(canvas, row.key);
        SCOPED_TRACE(static_cast<char>(row.key));
        EXPECT_EQ(canvas.cameraX - x, row.dx);
        EXPECT_EQ(canvas.cameraY - y, row.dy);
    }
}

TEST_F(CanvasTest, PanStepIsTheTruncatedCellSize) {
    loadWithMask(100, 7);
    press(canvas, 'd');
    EXPECT_EQ(canvas.cameraX, 326.0f);
    press(canvas, 'w');
    EXPECT_EQ(canvas.cameraY, 308.0f);
}

TEST_F(CanvasTest, MaskLargerThanTheBoardStillPansByAtLeastOneUnit) {
    loadWithMask(700, 500);
    press(canvas, 'a');
    EXPECT_EQ(canvas.cameraX, 319.0f);
}

TEST_F(CanvasTest, EscapeClearsShapesSelectionAndGestureButKeepsTheStroke) {
    load();
    addSquare(canvas, 100, 100);
    canvas.painting = addSquare(canvas, 200, 100);
    canvas.selection = {0, 1};
    canvas.gestureState = 3;
    canvas.paintMode = Canvas::Growing;
    const float distance = canvas.cameraDistance;
    EXPECT_EQ(press(canvas, 27), "27\n");
    EXPECT_TRUE(canvas.shapes.empty());
    EXPECT_TRUE(canvas.selection.empty());
    EXPECT_EQ(canvas.painting, nullptr);
    EXPECT_EQ(canvas.gestureState, 0);
    EXPECT_EQ(canvas.paintMode, Canvas::Growing);
    EXPECT_EQ(canvas.tools.size(), 8u);
    EXPECT_EQ(canvas.cameraDistance, distance);
    canvas.advance(0.1f); // growing nothing is harmless
}

TEST_F(CanvasTest, ScatterSendsShapesPastTheViewerAndRaisesLightZero) {
    load();
    Shape* shape = addSquare(canvas, 100, 100);
    const float lightZ = Stage::instance()->light0Position[2];
    press(canvas, 'r');
    EXPECT_EQ(canvas.animationKind, Canvas::Scattering);
    EXPECT_EQ(Stage::instance()->light0Position[2], lightZ + 400.0f);
    ASSERT_EQ(shape->keyframes.size(), 1u);
    const Actor& target = *shape->keyframes[0].snapshot;
    EXPECT_FLOAT_EQ(target.position.z, 660.0f);
    EXPECT_GE(target.position.x, -320.0f);
    EXPECT_LE(target.position.x, 959.0f);
    EXPECT_GE(target.position.y, -240.0f);
    EXPECT_LE(target.position.y, 719.0f);
    EXPECT_EQ(shape->keyframes[0].duration, 3.0f);

    EXPECT_EQ(press(canvas, 'f'), "102\n"); // ignored while the scatter runs
    EXPECT_EQ(canvas.animationKind, Canvas::Scattering);
    for (int i = 0; i < 31; ++i) {
        canvas.advance(0.1f);
    }
    EXPECT_EQ(canvas.animationKind, Canvas::NoAnimation);
    EXPECT_GT(shape->position.z, 500.0f);

    press(canvas, 'f');
    EXPECT_EQ(canvas.animationKind, Canvas::ReturningHome);
    for (int i = 0; i < 31; ++i) {
        canvas.advance(0.1f);
    }
    EXPECT_EQ(canvas.animationKind, Canvas::NoAnimation);
    EXPECT_EQ(Stage::instance()->light0Position[2], lightZ);
    // Eased keyframes come most of the way in their time and keep closing in after it.
    EXPECT_LT(shape->position.z, 66.0f);
    for (int i = 0; i < 60; ++i) {
        canvas.advance(0.1f);
    }
    EXPECT_NEAR(shape->position.x, 100.0f, 1.0f);
    EXPECT_NEAR(shape->position.z, 1.0f, 1.0f);
}

TEST_F(CanvasTest, ReturnHomeWithoutScatterLowersLightZeroBehindTheBoard) {
    load();
    press(canvas, 'f');
    canvas.advance(3.0f);
    EXPECT_EQ(Stage::instance()->light0Position[2], 200.0f);
    canvas.advance(0.01f);
    EXPECT_EQ(Stage::instance()->light0Position[2], -200.0f);
}

TEST_F(CanvasTest, ShapesScatterOnlyAfterMoreThanTwentySevenIdleSeconds) {
    load();
    addSquare(canvas, 100, 100);
    canvas.advance(27.0f);
    EXPECT_EQ(canvas.animationKind, Canvas::NoAnimation);
    canvas.advance(0.01f);
    EXPECT_EQ(canvas.animationKind, Canvas::Scattering);
    const float lightZ = Stage::instance()->light0Position[2];
    canvas.advance(0.01f); // still idle: scatters again and the light rises again
    EXPECT_EQ(Stage::instance()->light0Position[2], lightZ + 400.0f);
    canvas.pointerMoved(10, 10);
    canvas.advance(0.01f);
    EXPECT_EQ(Stage::instance()->light0Position[2], lightZ + 400.0f);
    EXPECT_FALSE(canvas.shapes.empty()); // inactivity never clears the canvas
    canvas.advance(40.0f);
    EXPECT_FALSE(canvas.shapes.empty());
}

TEST_F(CanvasTest, IdleStepAnimatesEveryShape) {
    load();
    auto* square = static_cast<SquareShape*>(addSquare(canvas, 100, 100));
    square->period = 4.0f;
    square->amplitude = 5.0f;
    canvas.advance(1.0f);
    EXPECT_NEAR(square->rotation.z, 5.0f, 1e-4);
}

TEST_F(CanvasTest, PaintedShapeGrowsWhileHeldButNeverOverflows) {
    load();
    Shape* shape = addSquare(canvas, 100, 100);
    canvas.painting = shape;
    canvas.paintMode = Canvas::Growing;
    canvas.advance(0.5f);
    EXPECT_FLOAT_EQ(shape->scale.x, 2.5f * 1.65f);
    canvas.paintMode = Canvas::Trailing;
    canvas.advance(0.5f);
    EXPECT_FLOAT_EQ(shape->scale.x, 2.5f * 1.65f);
    canvas.paintMode = Canvas::Growing;
    for (int i = 0; i < 100000; ++i) {
        canvas.advance(0.27f);
    }
    EXPECT_TRUE(std::isfinite(shape->scale.x));
    EXPECT_LE(shape->scale.x, maxPaintedScale);
    EXPECT_GE(shape->scale.x, maxPaintedScale * 0.5f);
}

} // namespace
} // namespace tessera
