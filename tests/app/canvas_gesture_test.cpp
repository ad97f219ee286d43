#include "canvas_fixture.h"

namespace tessera {
namespace {

using test::CanvasTest;

class CanvasGesture : public CanvasTest {
protected:
    void SetUp() override {
        CanvasTest::SetUp();
        load();
    }
    // Presses the left button on window point (x, y) after the given pause.
    std::string clickAfter(double seconds, int x, int y) {
        clock.advance(seconds);
        return leftClick(x, y);
    }
};

TEST_F(CanvasGesture, SquareThenCircleTradePlacesOverTwiceTheInterval) {
    Shape* square = placeAt(Canvas::SquareTool, 200, 200);
    Shape* circle = placeAt(Canvas::CircleTool, 400, 300);
    square->setRotation(0.0f, 0.0f, 20.0f);
    EXPECT_EQ(clickAfter(0.0, 200, 200), "");
    EXPECT_EQ(canvas.gestureState, 1);
    EXPECT_EQ(clickAfter(3.0, 400, 300), "connection (time=3.000000)\n");
    ASSERT_EQ(square->keyframes.size(), 1u);
    ASSERT_EQ(circle->keyframes.size(), 1u);
    EXPECT_EQ(square->keyframes[0].duration, 6.0f);
    EXPECT_EQ(square->keyframes[0].snapshot->position.x, circle->position.x);
    EXPECT_EQ(circle->keyframes[0].snapshot->position.x, square->position.x);
    EXPECT_EQ(square->keyframes[0].snapshot->rotation.z, 0.0f);
    // Restarted from the edited target: the rotation eases back from 20 to 0.
    EXPECT_LT(square->acceleration[Actor::RotationChannel].z, 0.0f);
    EXPECT_TRUE(canvas.selection.empty());
    EXPECT_EQ(canvas.gestureState, 0);
    for (int i = 0; i < 60; ++i) {
        canvas.advance(0.1f);
    }
    EXPECT_NEAR(square->position.x, circle->homePosition.x, 0.15f * 200.0f);
}

TEST_F(CanvasGesture, ParallelogramFirstTradesPlacesWithoutRestarting) {
    Shape* parallelogram = placeAt(Canvas::ParallelogramTool, 200, 200);
    Shape* circle = placeAt(Canvas::CircleTool, 400, 300);
    parallelogram->setRotation(0.0f, 0.0f, 20.0f);
    circle->setRotation(0.0f, 0.0f, 30.0f);
    clickAfter(0.0, 200, 200);
    EXPECT_EQ(clickAfter(3.0, 400, 300), "connection (time=3.000000)\n");
    EXPECT_EQ(parallelogram->keyframes[0].snapshot->rotation.z, 0.0f);
    // The keyframe started from the unedited target, the circle's rotation of 30.
    EXPECT_GT(parallelogram->acceleration[Actor::RotationChannel].z, 0.0f);
}

TEST_F(CanvasGesture, TwoSquaresTradeSizesInPlace) {
    Shape* small = placeAt(Canvas::SquareTool, 200, 200, 10.0f);
    Shape* large = placeAt(Canvas::SquareTool, 400, 300, 20.0f);
    clickAfter(0.0, 200, 200);
    EXPECT_EQ(clickAfter(10.0, 400, 300), "connection (time=10.000000)\n");
    EXPECT_EQ(small->keyframes[0].duration, 10.0f);
    EXPECT_EQ(small->keyframes[0].snapshot->scale.x, 20.0f);
    EXPECT_EQ(small->keyframes[0].snapshot->position.x, small->position.x);
    EXPECT_EQ(large->keyframes[0].snapshot->scale.x, 10.0f);
}

TEST_F(CanvasGesture, CircleThenTriangleTravelEachOthersOutlineOnce) {
    Shape* circle = placeAt(Canvas::CircleTool, 200, 200);
    Shape* triangle = placeAt(Canvas::TriangleTool, 400, 300);
    clickAfter(0.0, 200, 200);
    EXPECT_EQ(canvas.gestureState, 2);
    EXPECT_EQ(clickAfter(2.0, 400, 300), ""); // nothing printed
    ASSERT_EQ(circle->keyframes.size(), 3u);
    ASSERT_EQ(triangle->keyframes.size(), 8u);
    EXPECT_EQ(circle->keyframes[0].duration, 0.5f);
    EXPECT_EQ(triangle->keyframes[0].duration, 4.0f);
    EXPECT_EQ(circle->loop, 0);
    EXPECT_EQ(triangle->loop, 0);
    EXPECT_EQ(canvas.gestureState, 0);
}

TEST_F(CanvasGesture, TriangleStartsAThreeWayCycle) {
    Shape* triangle = placeAt(Canvas::TriangleTool, 150, 150);
    Shape* square = placeAt(Canvas::SquareTool, 400, 150);
    Shape* circle = placeAt(Canvas::CircleTool, 300, 350);
    clickAfter(0.0, 150, 150);
    EXPECT_EQ(canvas.gestureState, 3);
    clickAfter(2.0, 400, 150);
    EXPECT_EQ(canvas.gestureState, 4);
    EXPECT_EQ(canvas.gestureX2, 400.0f);
    EXPECT_EQ(clickAfter(5.0, 300, 350), "");
    EXPECT_EQ(triangle->keyframes[0].duration, 4.0f);
    EXPECT_EQ(square->keyframes[0].duration, 10.0f);
    EXPECT_EQ(circle->keyframes[0].duration, 7.0f);
    EXPECT_EQ(triangle->keyframes[0].snapshot->position.x, square->position.x);
    EXPECT_EQ(square->keyframes[0].snapshot->position.x, circle->position.x);
    EXPECT_EQ(circle->keyframes[0].snapshot->position.x, triangle->position.x);
    EXPECT_EQ(canvas.gestureState, 0);
    EXPECT_TRUE(canvas.selection.empty());
}

TEST_F(CanvasGesture, PressOnNothingCancels) {
    placeAt(Canvas::SquareTool, 200, 200);
    clickAfter(0.0, 200, 200);
    EXPECT_EQ(canvas.gestureState, 1);
    clickAfter(1.0, 600, 60);
    EXPECT_EQ(canvas.gestureState, 0);
    EXPECT_TRUE(canvas.selection.empty());
}

TEST_F(CanvasGesture, PressingTheFirstShapeAgainWaits) {
    Shape* square = placeAt(Canvas::SquareTool, 200, 200);
    clickAfter(0.0, 200, 200);
    EXPECT_EQ(clickAfter(1.0, 200, 200), "");
    EXPECT_EQ(canvas.gestureState, 1);
    EXPECT_TRUE(square->keyframes.empty());
}

TEST_F(CanvasGesture, OverlappingPairFiresOnTheNextPress) {
    placeAt(Canvas::SquareTool, 300, 250);
    placeAt(Canvas::CircleTool, 305, 250);
    clickAfter(0.0, 302, 250);
    EXPECT_EQ(canvas.selection.size(), 2u);
    EXPECT_EQ(clickAfter(1.5, 302, 250), "connection (time=1.500000)\n");
}

TEST_F(CanvasGesture, SameInstantPressesStillMoveTheShapes) {
    Shape* square = placeAt(Canvas::SquareTool, 200, 200);
    Shape* circle = placeAt(Canvas::CircleTool, 400, 300);
    clickAfter(0.0, 200, 200);
    clickAfter(0.0, 400, 300);
    ASSERT_EQ(square->keyframes.size(), 1u);
    EXPECT_GT(square->keyframes[0].duration, 0.0f);
    canvas.advance(0.5f);
    EXPECT_GT(square->scale.x, 1.0f); // not reset to its empty home look
    EXPECT_GT(circle->colour.x + circle->colour.y + circle->colour.z, 0.0f);
}

TEST_F(CanvasGesture, ToolbarPressKeepsTheGesture) {
    placeAt(Canvas::SquareTool, 200, 200);
    clickAfter(0.0, 200, 200);
    clickAfter(1.0, 88, 464);
    EXPECT_EQ(canvas.currentTool, Canvas::CircleTool);
    EXPECT_EQ(canvas.gestureState, 1);
}

TEST_F(CanvasGesture, RightReleaseEndsTheGesture) {
    placeAt(Canvas::SquareTool, 200, 200);
    clickAfter(0.0, 200, 200);
    canvas.buttonReleased(10, 10, 2);
    EXPECT_EQ(canvas.gestureState, 0);
    EXPECT_TRUE(canvas.selection.empty());
}

} // namespace
} // namespace tessera
