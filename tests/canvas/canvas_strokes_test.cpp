#include "canvas_fixture.h"

#include <set>

namespace tessera {
namespace {

using test::CanvasTest;

constexpr int left = 0;
constexpr int right = 2;

// Pointer n presses at its own place: rows down the board's middle, clear of the toolbar.
int startX(int n) {
    return 120 + 40 * (n % 10);
}
int startY(int n) {
    return 120 + 60 * (n / 10);
}

class CanvasStrokes : public CanvasTest {
protected:
    void SetUp() override {
        CanvasTest::SetUp();
        load();
    }
    // Every pointer drags diagonally, a step of the idle clock between moves.
    void dragAll(int pointers, int steps) {
        for (int step = 1; step <= steps; ++step) {
            canvas.advance(0.1f);
            for (int n = 0; n < pointers; ++n) {
                canvas.pointerMoved(startX(n) + 3 * step, startY(n) + 3 * step, n);
            }
        }
    }
};

TEST_F(CanvasStrokes, SeveralPointersEachGrowAndTrailAStrokeOfTheirOwn) {
    for (const int pointers : {2, 3, 10}) {
        SCOPED_TRACE(pointers);
        canvas.keyPressed(27); // a clear board for each row
        for (int n = 0; n < pointers; ++n) {
            canvas.buttonPressed(startX(n), startY(n), right, n);
        }
        ASSERT_EQ(canvas.shapes.size(), static_cast<std::size_t>(pointers));
        canvas.advance(0.5f);
        std::set<const Shape*> held;
        for (int n = 0; n < pointers; ++n) {
            const Shape* shape = canvas.strokeOf(n)->painting;
            ASSERT_EQ(shape, canvas.shapes[static_cast<std::size_t>(n)].get());
            EXPECT_GT(shape->scale.x, 1.6f * 3.5f) << "pointer " << n << " grows while held";
            held.insert(shape);
        }
        dragAll(pointers, 4);
        // Each stroke trails on its own: it turns to trailing on its second move and lays its
        // next shape on the third, the spacing past.
        EXPECT_EQ(canvas.shapes.size(), static_cast<std::size_t>(2 * pointers));
        for (int n = 0; n < pointers; ++n) {
            const Stroke& stroke = *canvas.strokeOf(n);
            EXPECT_EQ(stroke.paintMode, Canvas::Growing);
            EXPECT_EQ(held.count(stroke.painting), 0u) << "pointer " << n << " laid a trail";
            EXPECT_EQ(stroke.pressX, startX(n) + 9);
        }
        for (int n = 0; n < pointers; ++n) {
            canvas.buttonReleased(0, 0, right, n);
        }
        EXPECT_EQ(canvas.strokes.size(), 1u) << "only the mouse's stroke stays";
    }
}

TEST_F(CanvasStrokes, AGestureGoesOnWhileOthersPaintAndTheyLeaveItBe) {
    Shape* square = placeAt(Canvas::SquareTool, 200, 200);
    Shape* circle = placeAt(Canvas::CircleTool, 400, 300);
    canvas.buttonPressed(500, 120, right, 7);
    EXPECT_EQ(leftClick(200, 200), "");
    ASSERT_EQ(canvas.gestureState, 1);
    // Another pointer paints on a shape and on the bare board: the selection stands.
    canvas.buttonPressed(400, 300, right, 8);
    canvas.buttonReleased(400, 300, right, 8);
    canvas.buttonPressed(100, 100, left, 9);
    canvas.buttonReleased(100, 100, left, 9);
    EXPECT_EQ(canvas.selection.size(), 1u);
    EXPECT_EQ(canvas.gestureState, 1);
    clock.advance(2.0);
    EXPECT_EQ(leftClick(400, 300), "connection (time=2.000000)\n");
    EXPECT_EQ(square->keyframes.size(), 1u);
    EXPECT_EQ(circle->keyframes.size(), 1u);
    EXPECT_EQ(canvas.strokeOf(7)->paintMode, Canvas::Growing) << "the painter never noticed";
    EXPECT_EQ(canvas.shapes.size(), 4u) << "the second painter's shape is laid";
}

TEST_F(CanvasStrokes, TheShapeCapAndTheGrowthCapHoldForEveryStroke) {
    const auto noneHoldsARemovedShape = [this] {
        for (int n = 1; n <= 3; ++n) {
            const Shape* painting = canvas.strokeOf(n)->painting;
            const bool kept =
                std::any_of(canvas.shapes.begin(), canvas.shapes.end(),
                            [&](const auto& shape) { return shape.get() == painting; });
            ASSERT_TRUE(painting == nullptr || kept) << "pointer " << n << " holds a removed shape";
        }
    };
    // The third stroke's shape takes the place of the first's, which that stroke lets go.
    canvas.maxShapes = 2;
    for (int n = 1; n <= 3; ++n) {
        canvas.buttonPressed(startX(n), startY(n), right, n);
    }
    noneHoldsARemovedShape();
    EXPECT_EQ(canvas.strokeOf(1)->painting, nullptr);
    canvas.maxShapes = 5;
    dragAll(4, 6);
    EXPECT_EQ(canvas.shapes.size(), 5u);
    noneHoldsARemovedShape();
    for (int i = 0; i < 100; ++i) {
        canvas.advance(0.1f);
    }
    for (const auto& shape : canvas.shapes) {
        EXPECT_LE(shape->scale.x, canvas.maxGrownScale());
    }
}

TEST_F(CanvasStrokes, TheLightFollowsWhicheverPointerMovedLast) {
    float boardX = 0.0f;
    float boardY = 0.0f;
    canvas.pointerMoved(100, 100, 0);
    canvas.pointerMoved(500, 400, 4);
    ASSERT_EQ(canvas.unproject(500, 400, boardX, boardY), 1);
    EXPECT_EQ(light1Position[0], boardX);
    EXPECT_EQ(light1Position[1], boardY);
    EXPECT_EQ(canvas.strokeOf(4), nullptr) << "a pointer that only moves keeps no stroke";
}

} // namespace
} // namespace tessera
