#include "canvas/pick_volume.h"
#include "canvas_fixture.h"

#include <GL/gl.h>

namespace tessera {
namespace {

using test::CanvasTest;

TEST_F(CanvasTest, PickReportsEveryShapeUnderThePointerInDrawingOrder) {
    load();
    for (int i = 0; i < 6; ++i) {
        placeAt(Canvas::SquareTool, (i == 3 || i == 5) ? 300 : 100 + 30 * i, 200);
    }
    canvas.pick(300, 200);
    EXPECT_EQ(canvas.selection, (std::vector<int>{3, 5}));
    EXPECT_EQ(canvas.shapes[3]->isSelected(), 1);
    EXPECT_EQ(canvas.shapes[5]->isSelected(), 1);
    EXPECT_EQ(canvas.shapes[4]->isSelected(), 0);

    canvas.pick(300, 200); // already selected: nothing new, nothing cleared
    EXPECT_EQ(canvas.selection, (std::vector<int>{3, 5}));

    canvas.pick(500, 100); // bare picture: the selection goes
    EXPECT_TRUE(canvas.selection.empty());
    EXPECT_EQ(canvas.shapes[3]->isSelected(), 0);
}

TEST_F(CanvasTest, ToolbarEntriesAreNamedAfterTheShapes) {
    load();
    placeAt(Canvas::CircleTool, 300, 200);
    placeAt(Canvas::CircleTool, 320, 200);
    // Tool 0's face and icon lie under its centre; nothing is highlighted yet.
    canvas.pick(28, 464);
    EXPECT_TRUE(canvas.selection.empty());
    EXPECT_EQ(canvas.toolHits, (std::vector<int>{0, 1}));
    canvas.toolHits.clear();
    canvas.pick(28, 464); // now both are selected and not reported again
    EXPECT_TRUE(canvas.toolHits.empty());
}

TEST_F(CanvasTest, CrowdedSpotBeyondTheSelectBufferIsStillPicked) {
    load();
    for (int i = 0; i < 200; ++i) {
        placeAt(Canvas::SquareTool, 320, 240);
    }
    canvas.pick(320, 240);
    ASSERT_EQ(canvas.selection.size(), 200u);
    for (int i = 0; i < 200; ++i) {
        EXPECT_EQ(canvas.selection[static_cast<std::size_t>(i)], i);
    }
}

TEST_F(CanvasTest, PickLeavesTheProjectionAsItWas) {
    load();
    GLfloat before[16];
    GLfloat after[16];
    glGetFloatv(GL_PROJECTION_MATRIX, before);
    canvas.pick(100, 100);
    glGetFloatv(GL_PROJECTION_MATRIX, after);
    for (int k = 0; k < 16; ++k) {
        EXPECT_EQ(before[k], after[k]);
    }
    GLint mode = 0;
    glGetIntegerv(GL_RENDER_MODE, &mode);
    EXPECT_EQ(mode, GL_RENDER);
}

// tessera-render draws a frame smaller than its buffer in the buffer's top rows.
TEST_F(CanvasTest, AFrameAboveTheBufferBottomIsPickedAsAWindowOfItsSize) {
    load();
    for (int i = 0; i < 5; ++i) {
        placeAt(Canvas::SquareTool, 100 + 100 * i, 60 + 80 * i);
    }
    const std::pair<int, int> points[] = {{100, 60}, {300, 220}, {500, 380}, {28, 464}, {200, 140}};
    const auto picks = [&] {
        std::vector<std::vector<GLuint>> found;
        for (const auto& [x, y] : points) {
            found.emplace_back();
            canvas.hitsAt(x, y, found.back());
            found.emplace_back();
            canvas.selectionHitsAt(x, y, found.back());
        }
        return found;
    };
    renderFrame();
    const auto inWindow = picks();
    ASSERT_TRUE(gl.resize(700, 680));
    canvas.windowBottom = 200;
    canvas.showFrame(640, 480);

    EXPECT_EQ(picks(), inWindow);
    EXPECT_EQ(inWindow[0], (std::vector<GLuint>{0}));
    EXPECT_EQ(inWindow[7], (std::vector<GLuint>{5, 6})) << "the toolbar's first entry";
}

TEST_F(CanvasTest, UnprojectMapsWindowPointsOntoTheBoard) {
    load();
    glMatrixMode(GL_MODELVIEW);
    glLoadIdentity();
    float x = 0.0f;
    float y = 0.0f;
    ASSERT_EQ(canvas.unproject(320, 240, x, y), 1);
    EXPECT_NEAR(x, 320.0f, 0.01f);
    EXPECT_NEAR(y, 240.0f, 0.01f);
    ASSERT_EQ(canvas.unproject(420, 240, x, y), 1);
    EXPECT_NEAR(x, 423.6f, 0.1f);
    EXPECT_NEAR(y, 240.0f, 0.01f);
    ASSERT_EQ(canvas.unproject(320, 140, x, y), 1);
    EXPECT_GT(y, 340.0f); // window y runs down, board y up
}

TEST_F(CanvasTest, UnprojectFailsBeforeThereIsAViewportAndLeavesItsOutputs) {
    Canvas unshown;
    float x = -7.0f;
    float y = -7.0f;
    EXPECT_EQ(unshown.unproject(320, 240, x, y), 0);
    EXPECT_EQ(x, -7.0f);
    EXPECT_EQ(y, -7.0f);
}

TEST_F(CanvasTest, UnprojectFollowsTheCameraAtOnceWhateverTheLastFrameLeft) {
    load();
    renderFrame();
    glMatrixMode(GL_PROJECTION);
    glLoadIdentity();
    ::testing::internal::CaptureStdout();
    canvas.keyPressed('d'); // pans 10 units right; no frame is drawn after it
    ::testing::internal::GetCapturedStdout();
    float x = 0.0f;
    float y = 0.0f;
    ASSERT_EQ(canvas.unproject(320, 240, x, y), 1);
    EXPECT_NEAR(x, 330.0f, 0.01f);
    EXPECT_NEAR(y, 240.0f, 0.01f);
}

TEST(PickVolume, ACornerExactlyOnASideOfThePickRegionIsAHit) {
    // The camera looks straight down at the board's origin, which the window shows at its
    // centre (320, 240). A 2 x 2 pixel region one pixel off the centre has the origin
    // exactly on one of its sides; a triangle with a corner there and the rest outside
    // touches the region, as OpenGL's clip volume holds its own boundary. The same triangle
    // a hundredth of a unit further out misses.
    const PickVolume::Camera camera = {45.0, 10.0, 5000.0, 0.0, 0.0, 600.0};
    const struct {
        const char* name;
        int x, y;
        float awayX, awayY; // the direction the triangle lies in from its corner
    } rows[] = {
        {"left side", 321, 240, -1.0f, 0.0f},
        {"right side", 319, 240, 1.0f, 0.0f},
        {"bottom side", 320, 239, 0.0f, -1.0f},
        {"top side", 320, 241, 0.0f, 1.0f},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.name);
        const PickVolume volume({0, 0, 640, 480}, camera, row.x, row.y, pickRegionPixels);
        for (const float gap : {0.0f, 0.01f}) {
            const float x = row.awayX * gap;
            const float y = row.awayY * gap;
            Shape shape(0.0f, 0.0f, 0.0f);
            shape.setScale(1.0f, 1.0f, 1.0f);
            // Ten units out from the corner, ten across.
            shape.polygons.push_back(Polygon::ring({{x, y},
                                                    {x + 10.0f * row.awayX - 5.0f * row.awayY,
                                                     y + 10.0f * row.awayY - 5.0f * row.awayX},
                                                    {x + 10.0f * row.awayX + 5.0f * row.awayY,
                                                     y + 10.0f * row.awayY + 5.0f * row.awayX}}));
            EXPECT_EQ(volume.hits(shape), gap == 0.0f) << "corner " << gap << " away";
        }
    }
}

} // namespace
} // namespace tessera
