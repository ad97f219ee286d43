#include "canvas_fixture.h"
#include "scene/square_shape.h"

#include <cmath>

namespace tessera {
namespace {

using test::CanvasTest;

constexpr int left = 0;
constexpr int right = 2;

TEST_F(CanvasTest, RightPressPaintsTheToolsShapeInTheRegionsColour) {
    load();
    canvas.selectTool(Canvas::SquareTool);
    // The board point shown there is (92.2, 95.0), about 1.04 units a pixel from the
    // centre; the square stands half a unit in front of it on the line of sight.
    canvas.buttonPressed(100, 380, right);
    ASSERT_EQ(canvas.shapes.size(), 1u);
    Shape* square = canvas.shapes[0].get();
    EXPECT_NE(dynamic_cast<SquareShape*>(square), nullptr);
    EXPECT_STREQ(square->name(), "square");
    EXPECT_NEAR(square->position.x, 92.2f + (320.0f - 92.2f) * 0.5f / 600.0f, 0.05f);
    EXPECT_NEAR(square->position.y, 95.0f + (240.0f - 95.0f) * 0.5f / 600.0f, 0.05f);
    // The spawn draws the depth before the square draws its wobble: after the toolbar's 16
    // numbers, 2995 gives depth 0 (lifted half a unit off the board's plane), 11942 period
    // 4 + 22 / 10 = 6 and 4827 amplitude 3 + 27 / 10 = 5.
    EXPECT_EQ(square->position.z, 0.5f);
    EXPECT_EQ(static_cast<SquareShape*>(square)->period, 6.0f);
    EXPECT_EQ(static_cast<SquareShape*>(square)->amplitude, 5.0f);
    EXPECT_EQ(square->scale.x, 2.5f); // size 5: a 10-unit cell less 5
    // Mask cell (9, 9) holds key (9 + 9) % 4 = 2, which the map paints blue.
    EXPECT_EQ(square->colour.x, 0.0f);
    EXPECT_EQ(square->colour.z, 1.0f);
    EXPECT_EQ(canvas.stroke(0).painting, square);
    EXPECT_EQ(canvas.stroke(0).paintMode, Canvas::Growing);
}

TEST_F(CanvasTest, PaintedShapeShowsInFrontOfTheBoardEvenAtDepthZero) {
    load(); // the toolbar draws 16 numbers; the 17th, 2995, gives depth 0
    Shape* shape = canvas.spawnShape(Canvas::SquareTool, 160, 360);
    EXPECT_EQ(shape->position.z, 0.5f);
    shape->setScale(20.0f, 20.0f, 1.0f);
    shape->setColour(0.0f, 1.0f, 0.0f);
    renderFrame();
    const auto centre = gl.pixel(165, 356); // board (160, 360), lit from the front
    EXPECT_GT(centre.g, 128);
    EXPECT_LT(centre.r, 64);
}

TEST_F(CanvasTest, SpawnedSizesFollowTheCellSizeButAreNeverBelowOneUnit) {
    const struct {
        int maskWidth, maskHeight; // cells of 10, 5 and 1 units
        int kind;
        const char* name;
        float scaleX, scaleY;
    } rows[] = {{64, 48, Canvas::ParallelogramTool, "parallelogram", 3.5f, 3.5f},
                {64, 48, Canvas::CircleTool, "circle", 4.0f, 4.0f},
                {64, 48, Canvas::SquareTool, "square", 2.5f, 2.5f},
                {64, 48, Canvas::TriangleTool, "triangle", 3.5f, 4.5f},
                {64, 48, 9, "default", 2.0f, 2.0f},
                {128, 96, Canvas::ParallelogramTool, "parallelogram", 1.0f, 1.0f},
                {128, 96, Canvas::CircleTool, "circle", 1.0f, 1.0f},
                {128, 96, Canvas::SquareTool, "square", 0.5f, 0.5f},
                {128, 96, Canvas::TriangleTool, "triangle", 1.0f, 2.0f},
                {640, 480, Canvas::SquareTool, "square", 0.5f, 0.5f}};
    for (const auto& row : rows) {
        if (canvas.maskWidth != row.maskWidth) {
            loadWithMask(row.maskWidth, row.maskHeight);
        }
        const Shape* shape = canvas.spawnShape(row.kind, 300, 300);
        SCOPED_TRACE(std::string(row.name) + " in cells of " + std::to_string(640 / row.maskWidth));
        EXPECT_STREQ(shape->name(), row.name);
        EXPECT_EQ(shape->scale.x, row.scaleX);
        EXPECT_EQ(shape->scale.y, row.scaleY);
    }
}

TEST_F(CanvasTest, EveryBoardPointFindsACellInsideTheMask) {
    // 60 x 45 cells do not divide the 640 x 480 board: the right and top strips lie past
    // the last cell, and the top window row is board y 480.
    loadWithMask(60, 45);
    for (int x : {0, 639, 640}) {
        for (int y : {0, 479, 480}) {
            const Shape* shape = canvas.spawnShape(Canvas::SquareTool, x, y);
            EXPECT_GE(shape->colour.x + shape->colour.y + shape->colour.z, 1.0f) << x << "," << y;
        }
    }
    loadWithMask(900, 700); // cells smaller than a board unit
    EXPECT_NE(canvas.spawnShape(Canvas::CircleTool, 639, 479), nullptr);
}

TEST_F(CanvasTest, RegionMissingFromTheMapTakesThePicturesColour) {
    const std::string base = test::writePictureSet(
        dir, "gaps", 3, 2, // wider than tall, so that the two scales cannot be swapped
        [](int c, int r) {
            return r == 0 ? test::Rgb8{0, 200, 0}
                          : test::Rgb8{static_cast<unsigned char>(10 + 10 * c), 30, 40};
        },
        4, 4, [](int, int) { return static_cast<unsigned char>(9); },
        "regions 1\nbackground 0\n0 0 255 255 255\n");
    ::testing::internal::CaptureStdout();
    canvas.load(base.c_str());
    ::testing::internal::GetCapturedStdout();
    const Shape* top = canvas.spawnShape(Canvas::SquareTool, 600, 400);
    EXPECT_FLOAT_EQ(top->colour.y, 200.0f / 255.0f);
    const Shape* bottomLeft = canvas.spawnShape(Canvas::SquareTool, 10, 10);
    EXPECT_FLOAT_EQ(bottomLeft->colour.x, 10.0f / 255.0f);
    for (const float x : {320.0f, 639.0f, 639.9f}) {
        const Shape* shape = canvas.spawnShape(Canvas::SquareTool, x, 10);
        EXPECT_FLOAT_EQ(shape->colour.x, (x < 400 ? 20.0f : 30.0f) / 255.0f) << x;
    }
    EXPECT_EQ(canvas.regionMap.table.count(9), 0u); // the lookup adds no entry
}

TEST_F(CanvasTest, RightPressOnAShapeSelectsItAndPaintsNothing) {
    load();
    placeAt(Canvas::SquareTool, 300, 200);
    canvas.buttonPressed(300, 200, right);
    EXPECT_EQ(canvas.shapes.size(), 1u);
    EXPECT_EQ(canvas.selection, (std::vector<int>{0}));
    EXPECT_EQ(canvas.stroke(0).paintMode, Canvas::NotPainting);
    canvas.buttonReleased(300, 200, right);
    EXPECT_TRUE(canvas.selection.empty());
}

TEST_F(CanvasTest, ToolbarPressChoosesTheToolWithAnyButton) {
    load();
    canvas.buttonPressed(88, 464, right); // tool 1's face, beside its icon
    EXPECT_EQ(canvas.currentTool, Canvas::CircleTool);
    EXPECT_TRUE(canvas.shapes.empty());
    EXPECT_EQ(canvas.tools[2]->isSelected(), 1);
    EXPECT_EQ(canvas.tools[3]->isSelected(), 1);
    canvas.buttonPressed(205, 462, left); // tool 3
    EXPECT_EQ(canvas.currentTool, Canvas::TriangleTool);
    EXPECT_EQ(canvas.tools[2]->isSelected(), 0);
    EXPECT_EQ(canvas.tools[6]->isSelected(), 1);
    EXPECT_TRUE(canvas.toolHits.empty());
    // The current tool's own button no longer counts as a toolbar hit: it paints.
    canvas.buttonPressed(205, 462, right);
    EXPECT_EQ(canvas.shapes.size(), 1u);
}

TEST_F(CanvasTest, DraggedStrokeLaysATrailAtMostEverySixHundredthsOfASecond) {
    load();
    canvas.buttonPressed(200, 200, right);
    ASSERT_EQ(canvas.shapes.size(), 1u);
    canvas.pointerMoved(210, 200); // along one axis from the spawn point: still growing
    canvas.pointerMoved(215, 200);
    EXPECT_EQ(canvas.stroke(0).paintMode, Canvas::Growing);
    canvas.pointerMoved(220, 205);
    canvas.pointerMoved(225, 210); // previous point differs in both: trailing
    EXPECT_EQ(canvas.stroke(0).paintMode, Canvas::Trailing);
    canvas.stroke(0).strokeElapsed = 0.06; // not yet past the spacing
    canvas.pointerMoved(230, 215);
    EXPECT_EQ(canvas.shapes.size(), 1u);
    canvas.advance(0.001f);
    canvas.pointerMoved(240, 220);
    ASSERT_EQ(canvas.shapes.size(), 2u);
    EXPECT_EQ(canvas.stroke(0).painting, canvas.shapes[1].get());
    float boardX = 0.0f;
    float boardY = 0.0f;
    ASSERT_EQ(canvas.unproject(240, 220, boardX, boardY), 1);
    EXPECT_NEAR(canvas.shapes[1]->position.x, boardX, 0.5f);
    EXPECT_NEAR(canvas.shapes[1]->position.y, boardY, 0.5f);
    EXPECT_EQ(canvas.stroke(0).paintMode, Canvas::Growing);
    EXPECT_EQ(canvas.stroke(0).pressX, 240);
    canvas.buttonReleased(240, 220, right);
    EXPECT_EQ(canvas.stroke(0).paintMode, Canvas::NotPainting);
    EXPECT_EQ(canvas.stroke(0).painting, nullptr);
    EXPECT_EQ(canvas.shapes.size(), 2u);
}

TEST_F(CanvasTest, NoTrailWhileTheShapesAreScattered) {
    load();
    canvas.keyPressed('r');
    canvas.buttonPressed(200, 200, right);
    canvas.pointerMoved(210, 210);
    canvas.pointerMoved(220, 220);
    EXPECT_EQ(canvas.stroke(0).paintMode, Canvas::Growing);
}

TEST_F(CanvasTest, PaintingDuringAnAnimationLetsItEndOnTime) {
    load();
    canvas.buttonPressed(200, 200, right);
    canvas.pointerMoved(210, 210);
    canvas.pointerMoved(220, 220);
    ASSERT_EQ(canvas.stroke(0).paintMode, Canvas::Trailing);
    ::testing::internal::CaptureStdout();
    canvas.keyPressed('f');
    ::testing::internal::GetCapturedStdout();
    // The trailing stroke spawns once more; the return home still ends after its 3 s.
    for (int i = 0; i < 31; ++i) {
        canvas.advance(0.1f);
        canvas.pointerMoved(220 + i, 220 + i);
    }
    EXPECT_GE(canvas.shapes.size(), 2u);
    EXPECT_EQ(canvas.animationKind, Canvas::NoAnimation);
    ::testing::internal::CaptureStdout();
    canvas.keyPressed('r');
    ::testing::internal::GetCapturedStdout();
    EXPECT_EQ(canvas.animationKind, Canvas::Scattering);
}

TEST_F(CanvasTest, PointerMotionMovesLightOneAndResetsTheIdleTime) {
    load();
    canvas.advance(5.0f);
    canvas.pointerMoved(320, 240);
    EXPECT_EQ(canvas.idleTime, 0.0);
    EXPECT_NEAR(light1Position[0], 320.0f, 0.01f);
    EXPECT_NEAR(light1Position[1], 240.0f, 0.01f);
    GLfloat sent[4];
    glGetLightfv(GL_LIGHT1, GL_POSITION, sent);
    EXPECT_NEAR(sent[0], 320.0f, 0.01f);
    EXPECT_EQ(sent[2], 5.0f);
    canvas.pointerMoved(420, 240);
    EXPECT_NEAR(light1Position[0], 423.6f, 0.1f);
}

} // namespace
} // namespace tessera
