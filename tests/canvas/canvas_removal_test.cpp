#include "canvas_fixture.h"

#include <vector>

namespace tessera {
namespace {

using test::CanvasTest;

constexpr int backspace = 8;
constexpr int deleteKey = 127;

void press(Canvas& canvas, int key) {
    ::testing::internal::CaptureStdout();
    canvas.keyPressed(key);
    ::testing::internal::GetCapturedStdout();
}

TEST_F(CanvasTest, UndoTakesBackTheNewestShapesOneByOne) {
    load();
    Shape* first = placeAt(Canvas::SquareTool, 200, 200);
    Shape* second = placeAt(Canvas::CircleTool, 300, 200);
    placeAt(Canvas::TriangleTool, 400, 200);
    canvas.stroke(0).painting = canvas.shapes.back().get();

    press(canvas, 'z');
    ASSERT_EQ(canvas.shapes.size(), 2u);
    EXPECT_EQ(canvas.stroke(0).painting, nullptr) << "the shape being painted went with it";
    press(canvas, 'z');
    ASSERT_EQ(canvas.shapes.size(), 1u);
    EXPECT_EQ(canvas.shapes[0].get(), first);
    EXPECT_NE(canvas.shapes[0].get(), second);
    press(canvas, 'z');
    press(canvas, 'z');
    EXPECT_TRUE(canvas.shapes.empty());
}

TEST_F(CanvasTest, DeleteAndBackspaceRemoveTheSelectedShapesAndKeepTheRest) {
    load();
    for (int key : {deleteKey, backspace}) {
        SCOPED_TRACE(key);
        canvas.shapes.clear();
        Shape* kept = placeAt(Canvas::SquareTool, 150, 200);
        placeAt(Canvas::CircleTool, 300, 200);
        Shape* alsoKept = placeAt(Canvas::SquareTool, 450, 200);
        canvas.buttonPressed(300, 200, 0); // selects the circle and starts a gesture
        ASSERT_EQ(canvas.selection, std::vector<int>{1});

        press(canvas, key);

        ASSERT_EQ(canvas.shapes.size(), 2u);
        EXPECT_EQ(canvas.shapes[0].get(), kept);
        EXPECT_EQ(canvas.shapes[1].get(), alsoKept);
        EXPECT_TRUE(canvas.selection.empty());
        EXPECT_EQ(canvas.gestureState, 0);
    }
}

TEST_F(CanvasTest, RemovingAShapeKeepsTheSelectionOnTheSameShapes) {
    load();
    canvas.maxShapes = 3;
    placeAt(Canvas::SquareTool, 150, 200);
    Shape* circle = placeAt(Canvas::CircleTool, 300, 200);
    Shape* triangle = placeAt(Canvas::TriangleTool, 450, 200);
    canvas.selection = {2, 1};
    circle->setSelected(1);
    triangle->setSelected(1);

    canvas.spawnShape(Canvas::SquareTool, 320, 100); // the oldest makes room

    ASSERT_EQ(canvas.shapes.size(), 3u);
    ASSERT_EQ(canvas.selection.size(), 2u);
    EXPECT_EQ(canvas.shapes[static_cast<std::size_t>(canvas.selection[0])].get(), triangle);
    EXPECT_EQ(canvas.shapes[static_cast<std::size_t>(canvas.selection[1])].get(), circle);
}

TEST_F(CanvasTest, UndoingAShapeOfTheGestureUnderWayEndsTheGesture) {
    load();
    placeAt(Canvas::SquareTool, 150, 200);
    placeAt(Canvas::CircleTool, 450, 200);
    leftClick(450, 200); // the circle begins a gesture
    ASSERT_EQ(canvas.gestureState, 2);

    press(canvas, 'z');

    EXPECT_EQ(canvas.gestureState, 0);
    EXPECT_TRUE(canvas.selection.empty());
    leftClick(150, 200);
    EXPECT_EQ(canvas.gestureState, 1) << "a new gesture starts as usual";
}

TEST_F(CanvasTest, ShapesSelectedNewestFirstAreTheOnesDeleted) {
    load();
    placeAt(Canvas::SquareTool, 150, 200);
    Shape* kept = placeAt(Canvas::CircleTool, 300, 200);
    placeAt(Canvas::TriangleTool, 450, 200);
    leftClick(450, 200); // the triangle starts a cycle of three
    leftClick(150, 200); // the square is its second shape
    ASSERT_EQ(canvas.selection, (std::vector<int>{2, 0}));

    press(canvas, deleteKey);

    ASSERT_EQ(canvas.shapes.size(), 1u);
    EXPECT_EQ(canvas.shapes[0].get(), kept);
    EXPECT_EQ(kept->isSelected(), 0);
    EXPECT_EQ(canvas.gestureState, 0);
}

TEST_F(CanvasTest, RemovingAShapeOutsideTheGestureLetsTheGestureGoOn) {
    load();
    placeAt(Canvas::SquareTool, 150, 200);
    Shape* circle = placeAt(Canvas::CircleTool, 300, 200);
    Shape* square = placeAt(Canvas::SquareTool, 450, 200);
    leftClick(300, 200); // the circle begins a gesture
    ASSERT_EQ(canvas.gestureState, 2);
    canvas.maxShapes = 3;

    canvas.spawnShape(Canvas::SquareTool, 320, 40); // the oldest, not in the gesture, goes

    EXPECT_EQ(canvas.gestureState, 2);
    ASSERT_EQ(canvas.selection, std::vector<int>{0});
    EXPECT_EQ(canvas.shapes[0].get(), circle);
    leftClick(450, 200);
    EXPECT_EQ(canvas.gestureState, 0);
    EXPECT_FALSE(circle->keyframes.empty()) << "the circle travels round the square";
    EXPECT_FALSE(square->keyframes.empty());
}

TEST_F(CanvasTest, ShapeLimitRemovesTheOldestFirst) {
    load();
    canvas.maxShapes = 2;
    Shape* first = canvas.spawnShape(Canvas::SquareTool, 100, 100);
    Shape* second = canvas.spawnShape(Canvas::SquareTool, 200, 100);
    ASSERT_EQ(canvas.shapes.size(), 2u);
    EXPECT_EQ(canvas.shapes[0].get(), first);

    Shape* third = canvas.spawnShape(Canvas::SquareTool, 300, 100);

    ASSERT_EQ(canvas.shapes.size(), 2u);
    EXPECT_EQ(canvas.shapes[0].get(), second);
    EXPECT_EQ(canvas.shapes[1].get(), third);
}

TEST_F(CanvasTest, InactivityClearsTheCanvasOnlyAfterTheChosenTimeWithoutAnyInput) {
    load();
    canvas.clearAfterSeconds = 10.0;
    placeAt(Canvas::SquareTool, 150, 200);
    const auto idle = [&](float seconds) {
        for (int i = 0; i < 10; ++i) {
            canvas.advance(seconds / 10.0f);
        }
    };

    idle(9.5f);
    press(canvas, 'q');
    idle(9.5f);
    canvas.buttonPressed(600, 50, 1);
    canvas.buttonReleased(600, 50, 1);
    idle(9.5f);
    canvas.pointerMoved(10, 10);
    canvas.advance(10.0f);
    EXPECT_EQ(canvas.shapes.size(), 1u)
        << "every kind of input starts the time again, and exactly the chosen time is not "
           "yet past it";

    canvas.advance(0.01f);
    EXPECT_TRUE(canvas.shapes.empty());
}

// A button held down is somebody there: the time without input runs only once every button
// is up, and from then.
TEST_F(CanvasTest, InactivityWaitsWhileAnyButtonIsHeld) {
    struct Row {
        const char* name;
        std::vector<int> pressed;
        std::vector<int> released; // after holdSeconds
        float holdSeconds;
        float afterSeconds;
        bool cleared;
    };
    const Row rows[] = {
        {"a right button held longer than the time", {2}, {}, 15.0f, 0.0f, false},
        {"a left button held", {0}, {}, 15.0f, 0.0f, false},
        {"let go, the time runs from then", {2}, {2}, 15.0f, 9.5f, false},
        {"and passes", {2}, {2}, 15.0f, 10.5f, true},
        {"a hold shorter than the time, then the time", {1}, {1}, 2.0f, 10.5f, true},
        {"one of two buttons still held", {0, 2}, {0}, 15.0f, 15.0f, false},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        load();
        canvas.clearAfterSeconds = 10.0;
        placeAt(Canvas::SquareTool, 150, 200);
        const auto idle = [&](float seconds) {
            for (int i = 0; i < 20; ++i) {
                canvas.advance(seconds / 20.0f);
            }
        };
        for (const int button : row.pressed) {
            canvas.buttonPressed(500, 400, button);
        }
        idle(row.holdSeconds);
        for (const int button : row.released) {
            canvas.buttonReleased(500, 400, button);
        }
        idle(row.afterSeconds);
        EXPECT_EQ(canvas.shapes.empty(), row.cleared);
    }
}

TEST_F(CanvasTest, InactivityClearingEndsAGestureUnderWay) {
    load();
    canvas.clearAfterSeconds = 10.0;
    placeAt(Canvas::CircleTool, 300, 200);
    leftClick(300, 200);
    ASSERT_EQ(canvas.gestureState, 2);

    canvas.advance(10.5f);

    ASSERT_TRUE(canvas.shapes.empty());
    EXPECT_EQ(canvas.gestureState, 0) << "no gesture can go on without its shape";
    EXPECT_TRUE(canvas.selection.empty());
}

TEST_F(CanvasTest, WithoutAClearingTimeInactivityNeverClears) {
    load();
    placeAt(Canvas::SquareTool, 150, 200);
    for (int i = 0; i < 600; ++i) {
        canvas.advance(1.0f);
    }
    EXPECT_EQ(canvas.shapes.size(), 1u);
}

} // namespace
} // namespace tessera
