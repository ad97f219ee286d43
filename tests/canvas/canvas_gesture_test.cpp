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
    circle->setRotation(0.0f, 0.0f, 10.0f);
    EXPECT_EQ(clickAfter(0.0, 200, 200), "");
    EXPECT_EQ(canvas.gestureState, 1);
    EXPECT_EQ(clickAfter(3.0, 400, 300), "connection (time=3.000000)\n");
    ASSERT_EQ(square->keyframes.size(), 1u);
    ASSERT_EQ(circle->keyframes.size(), 1u);
    EXPECT_EQ(square->keyframes[0].duration, 6.0f);
    EXPECT_EQ(circle->keyframes[0].duration, 6.0f);
    const Actor& squareTarget = *square->keyframes[0].snapshot;
    const Actor& circleTarget = *circle->keyframes[0].snapshot;
    EXPECT_EQ(squareTarget.position.x, circle->position.x);
    EXPECT_EQ(squareTarget.position.y, circle->position.y);
    EXPECT_EQ(circleTarget.position.x, square->position.x);
    EXPECT_EQ(circleTarget.position.y, square->position.y);
    EXPECT_EQ(squareTarget.rotation.z, 0.0f);
    EXPECT_EQ(circleTarget.rotation.z, 0.0f);
    // A square first restarts both from the edited targets: both rotations ease to 0 (the
    // circle's would rise towards the square's 20 otherwise).
    EXPECT_LT(square->acceleration[Actor::RotationChannel].z, 0.0f);
    EXPECT_LT(circle->acceleration[Actor::RotationChannel].z, 0.0f);
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
    ASSERT_EQ(parallelogram->keyframes.size(), 1u);
    ASSERT_EQ(circle->keyframes.size(), 1u);
    EXPECT_EQ(parallelogram->keyframes[0].snapshot->rotation.z, 0.0f);
    EXPECT_EQ(circle->keyframes[0].snapshot->rotation.z, 0.0f);
    // Neither restarts: each eases towards the other's unedited rotation, so the two
    // rotations close in on each other at equal and opposite rates.
    const float towardsCircle = parallelogram->acceleration[Actor::RotationChannel].z;
    EXPECT_GT(towardsCircle, 0.0f);
    EXPECT_FLOAT_EQ(circle->acceleration[Actor::RotationChannel].z, -towardsCircle);
}

TEST_F(CanvasGesture, TwoSquaresTradeSizesInPlaceAndPausesUnderEightSecondsCountDouble) {
    Shape* small = placeAt(Canvas::SquareTool, 200, 200);
    Shape* large = placeAt(Canvas::SquareTool, 400, 300);
    small->setScale(10.0f, 6.0f, 1.0f);
    large->setScale(20.0f, 14.0f, 1.0f);
    const struct {
        double pause;
        const char* printed;
        float duration;
    } rows[] = {{7.5, "connection (time=7.500000)\n", 15.0f},
                {8.0, "connection (time=8.000000)\n", 8.0f}};
    for (const auto& row : rows) {
        SCOPED_TRACE(row.printed);
        clickAfter(0.0, 200, 200);
        EXPECT_EQ(clickAfter(row.pause, 400, 300), row.printed);
        ASSERT_EQ(small->keyframes.size(), 1u);
        ASSERT_EQ(large->keyframes.size(), 1u);
        EXPECT_EQ(small->keyframes[0].duration, row.duration);
        EXPECT_EQ(large->keyframes[0].duration, row.duration);
    }
    const Actor& smallTarget = *small->keyframes[0].snapshot;
    const Actor& largeTarget = *large->keyframes[0].snapshot;
    EXPECT_EQ(smallTarget.scale.x, 20.0f);
    EXPECT_EQ(smallTarget.scale.y, 14.0f);
    EXPECT_EQ(largeTarget.scale.x, 10.0f);
    EXPECT_EQ(largeTarget.scale.y, 6.0f);
    EXPECT_EQ(smallTarget.position.x, small->position.x);
    EXPECT_EQ(smallTarget.position.y, small->position.y);
    EXPECT_EQ(largeTarget.position.x, large->position.x);
    EXPECT_EQ(largeTarget.position.y, large->position.y);
}

TEST_F(CanvasGesture, CircleThenTriangleTravelEachOthersOutlineOnce) {
    Shape* circle = placeAt(Canvas::CircleTool, 200, 200, 12.0f);
    Shape* triangle = placeAt(Canvas::TriangleTool, 400, 300, 15.0f);
    clickAfter(0.0, 200, 200);
    EXPECT_EQ(canvas.gestureState, 2);
    EXPECT_EQ(clickAfter(2.0, 400, 300), ""); // nothing printed
    ASSERT_EQ(circle->keyframes.size(), 3u);
    ASSERT_EQ(triangle->keyframes.size(), 8u);
    EXPECT_EQ(circle->keyframes[0].duration, 0.5f);
    EXPECT_EQ(triangle->keyframes[0].duration, 4.0f);
    // Each goes round the other's outline at the other's size, about its own place: the
    // circle to the triangle's apex (0, 0.9), the triangle to the circle's (1, 0).
    const Vec3& circleLeg = circle->keyframes[0].snapshot->position;
    EXPECT_EQ(circleLeg.x, circle->position.x);
    EXPECT_FLOAT_EQ(circleLeg.y, circle->position.y + 0.9f * 15.0f);
    const Vec3& triangleLeg = triangle->keyframes[0].snapshot->position;
    EXPECT_FLOAT_EQ(triangleLeg.x, triangle->position.x + 12.0f);
    EXPECT_FLOAT_EQ(triangleLeg.y, triangle->position.y);
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
    for (const Shape* shape : {triangle, square, circle}) {
        ASSERT_EQ(shape->keyframes.size(), 1u) << shape->name();
    }
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
    // Keyframes of a hundredth of a second meet a machine that stalls for ten seconds at a
    // time: the shapes still end up in each other's places.
    for (int i = 0; i < 3; ++i) {
        canvas.pointerMoved(600, 60);
        canvas.advance(10.5f);
    }
    EXPECT_NEAR(square->position.x, circle->homePosition.x, 1.0f);
    EXPECT_NEAR(square->position.y, circle->homePosition.y, 1.0f);
    EXPECT_NEAR(circle->position.x, square->homePosition.x, 1.0f);
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
