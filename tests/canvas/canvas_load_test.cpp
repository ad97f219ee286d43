#include "canvas_fixture.h"
#include "scene/circle_shape.h"
#include "scene/parallelogram_shape.h"
#include "scene/square_shape.h"
#include "scene/texture.h"
#include "scene/triangle_shape.h"
#include "stage/stage.h"

#include <GL/gl.h>
#include <algorithm>
#include <array>
#include <cmath>
#include <vector>

namespace tessera {
namespace {

using test::CanvasTest;

TEST(CanvasConstruction, StartsEmptyFacingTheOriginWithABoardButNoPicture) {
    Canvas canvas;
    EXPECT_EQ(canvas.boardWidth, 640);
    EXPECT_EQ(canvas.boardHeight, 480);
    EXPECT_EQ(canvas.cameraX, 0.0f);
    EXPECT_EQ(canvas.cameraY, 0.0f);
    EXPECT_EQ(canvas.cameraDistance, 600.0f);
    EXPECT_EQ(canvas.zNear, 10.0f);
    EXPECT_EQ(canvas.zFar, 5000.0f);
    EXPECT_EQ(canvas.fieldOfView, 45.0f);
    EXPECT_EQ(canvas.stroke(0).pressX, -1);
    EXPECT_EQ(canvas.stroke(0).pressY, -1);
    EXPECT_TRUE(canvas.shapes.empty());
    EXPECT_TRUE(canvas.selection.empty());
    EXPECT_TRUE(canvas.tools.empty());
    EXPECT_GE(canvas.shapes.capacity(), 100u);
    EXPECT_EQ(canvas.stroke(0).painting, nullptr);
    ASSERT_NE(canvas.board, nullptr);
    EXPECT_EQ(canvas.gestureState, 0);
    EXPECT_EQ(canvas.stroke(0).paintMode, 0);
    EXPECT_EQ(canvas.animationKind, 0);
}

TEST_F(CanvasTest, NothingIsDrawnBeforeALoad) {
    canvas.shapes.push_back(std::make_unique<SquareShape>(320.0f, 240.0f, 1.0f, 100.0f));
    canvas.shapes.back()->setColour(1.0f, 1.0f, 1.0f);
    glClearColor(0, 0, 0, 1);
    glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
    canvas.setProjection(0, 0, 640, 480);
    EXPECT_EQ(canvas.drawFrame(GL_RENDER), 0);
    glFlush();
    EXPECT_EQ(gl.pixel(320, 240).r, 0);
}

TEST_F(CanvasTest, LoadPrintsThreeLinesAndCentresTheCamera) {
    const int texturesBefore = Stage::instance()->textureCount;
    const std::string printed = load();
    const std::string base = dir.path("quadrants");
    EXPECT_EQ(printed, base + ".ppm: (4, 4) x 32\n" + base + "_mask.pgm: (64, 48) x 8\n" + base +
                           ".map: OK\n");
    EXPECT_EQ(canvas.cameraX, 320.0f);
    EXPECT_EQ(canvas.cameraY, 240.0f);
    EXPECT_EQ(Stage::instance()->textureCount, texturesBefore + 1);
    EXPECT_EQ(canvas.regionMap.table.size(), 4u);
    EXPECT_TRUE(glIsList(static_cast<GLuint>(canvas.board->listId())));
}

TEST_F(CanvasTest, ALoadReplacesTheBoardsPictureAndDeletesTheOldOne) {
    load();
    const GLuint first = canvas.board->texture()->glId();
    const std::size_t registered = Stage::instance()->textures.size();
    load();
    EXPECT_EQ(glIsTexture(first), GL_FALSE);
    EXPECT_EQ(Stage::instance()->textures.size(), registered);
    EXPECT_EQ(glIsTexture(canvas.board->texture()->glId()), GL_TRUE);
}

// A light parameter as GL holds it (positions in eye coordinates: the modelview is the
// identity whenever one is sent, so these are board coordinates).
std::vector<float> lightParameter(GLenum light, GLenum name) {
    std::vector<float> value(4);
    glGetLightfv(light, name, value.data());
    return value;
}

TEST_F(CanvasTest, LightZeroHangsOverTheBoardAndLoadLightsOneWhite) {
    load();
    using V = std::vector<float>;
    EXPECT_TRUE(glIsEnabled(GL_LIGHT0));
    EXPECT_EQ(lightParameter(GL_LIGHT0, GL_POSITION), (V{320, 240, 200, 1}));
    EXPECT_TRUE(glIsEnabled(GL_LIGHT1));
    EXPECT_EQ(lightParameter(GL_LIGHT1, GL_AMBIENT), (V{0, 0, 0, 1}));
    EXPECT_EQ(lightParameter(GL_LIGHT1, GL_DIFFUSE), (V{1, 1, 1, 1}));
    EXPECT_EQ(lightParameter(GL_LIGHT1, GL_SPECULAR), (V{1, 1, 1, 1}));
    // Where it hangs depends on the pointer, which earlier tests have moved.
    EXPECT_EQ(lightParameter(GL_LIGHT1, GL_POSITION), (V{light1Position, light1Position + 4}));
    EXPECT_EQ(light1Position[2], 5.0f);
    EXPECT_EQ(light1Position[3], 1.0f);
}

TEST_F(CanvasTest, ABoardOfAnotherShapeIsFramedAndLitByItsOwnSize) {
    loadWithMask(48, 64, 480, 640);
    using V = std::vector<float>;
    EXPECT_EQ(canvas.cameraX, 240.0f);
    EXPECT_EQ(canvas.cameraY, 320.0f);
    EXPECT_EQ(lightParameter(GL_LIGHT0, GL_POSITION), (V{240, 320, 200, 1}));
    EXPECT_EQ(canvas.cellWidth(), 10);
    EXPECT_EQ(canvas.cellHeight(), 10);
    // Every window shows the whole board and no more than its margin beyond.
    for (const auto& [width, height] :
         {std::pair{640, 480}, std::pair{1080, 1920}, std::pair{1920, 1080}, std::pair{390, 844}}) {
        SCOPED_TRACE(std::to_string(width) + " x " + std::to_string(height));
        const std::array<int, 4> window{0, 0, width, height};
        double left = 0.0, bottom = 0.0, right = 0.0, top = 0.0;
        ASSERT_EQ(canvas.projectIn(window, 0.0f, 0.0f, left, bottom), 1);
        ASSERT_EQ(canvas.projectIn(window, 480.0f, 640.0f, right, top), 1);
        EXPECT_TRUE(left >= 0.0 && top >= 0.0 && right <= width && bottom <= height);
        const double share = std::max((right - left) / width, (bottom - top) / height);
        EXPECT_NEAR(share, 480.0 / 497.06, 0.01) << "filling it as the 4:3 board fills its own";
    }
}

TEST_F(CanvasTest, ToolbarHoldsEightEntriesInTableOrder) {
    load();
    ASSERT_EQ(canvas.tools.size(), 8u);
    EXPECT_NE(dynamic_cast<SquareShape*>(canvas.tools[0].get()), nullptr);
    EXPECT_NE(dynamic_cast<ParallelogramShape*>(canvas.tools[1].get()), nullptr);
    EXPECT_NE(dynamic_cast<CircleShape*>(canvas.tools[3].get()), nullptr);
    EXPECT_NE(dynamic_cast<SquareShape*>(canvas.tools[5].get()), nullptr);
    EXPECT_NE(dynamic_cast<TriangleShape*>(canvas.tools[7].get()), nullptr);
    for (int i = 0; i < 8; ++i) {
        const Shape& entry = *canvas.tools[i];
        SCOPED_TRACE(i);
        EXPECT_EQ(entry.position.x, 20.0f + 60.0f * static_cast<float>(i / 2));
        EXPECT_EQ(entry.position.y, 10.0f);
        EXPECT_EQ(entry.position.z, i % 2 == 0 ? 4.0f : 5.0f);
        EXPECT_EQ(entry.colour.z, i % 2 == 0 ? 0.7f : 0.0f);
        EXPECT_EQ(entry.isSelected(), 0);
    }
    EXPECT_EQ(canvas.tools[0]->scale.x, 20.0f);
    EXPECT_EQ(canvas.tools[3]->scale.x, 17.0f);
    // The first entries draw the first random numbers.
    EXPECT_EQ(static_cast<SquareShape*>(canvas.tools[0].get())->period, 4.0f);
    EXPECT_EQ(static_cast<ParallelogramShape*>(canvas.tools[1].get())->period, 5.0f);
}

TEST_F(CanvasTest, RenderedFrameShowsThePictureUprightAndTheToolbar) {
    load();
    renderFrame();
    // Picture quadrants; GL rows count from the bottom of the window.
    EXPECT_EQ(gl.pixel(160, 360).r, 255);
    EXPECT_EQ(gl.pixel(160, 360).g, 0);
    EXPECT_EQ(gl.pixel(480, 360).g, 255);
    EXPECT_EQ(gl.pixel(480, 360).r, 0);
    EXPECT_EQ(gl.pixel(480, 120).b, 255);
    EXPECT_EQ(gl.pixel(480, 120).r, 255);
    // Tool 0: blue face above its yellow parallelogram icon, unlit.
    const auto face = gl.pixel(28, 33);
    EXPECT_EQ(face.r, 0);
    EXPECT_NEAR(face.b, 178, 2);
    const auto icon = gl.pixel(28, 16);
    EXPECT_NEAR(icon.r, 229, 2);
    EXPECT_NEAR(icon.g, 229, 2);
    EXPECT_EQ(icon.b, 0);
    // The grey strip between the first two buttons, shaded top to bottom.
    const auto strip = gl.pixel(58, 17);
    EXPECT_EQ(strip.r, strip.g);
    EXPECT_EQ(strip.g, strip.b);
    EXPECT_GT(strip.r, 77);
    EXPECT_LT(strip.r, 229);
    EXPECT_GT(gl.pixel(58, 24).r, gl.pixel(58, 10).r);
}

TEST_F(CanvasTest, RenderedFrameLeavesTheDocumentedState) {
    load();
    renderFrame();
    GLint mode = 0;
    glGetIntegerv(GL_MATRIX_MODE, &mode);
    EXPECT_EQ(mode, GL_MODELVIEW);
    GLfloat width = 0.0f;
    glGetFloatv(GL_LINE_WIDTH, &width);
    EXPECT_EQ(width, 3.0f);
    EXPECT_FALSE(glIsEnabled(GL_TEXTURE_2D));
    EXPECT_TRUE(glIsEnabled(GL_LIGHTING));

    canvas.gestureState = 1;
    renderFrame();
    glGetIntegerv(GL_MATRIX_MODE, &mode);
    EXPECT_EQ(mode, GL_PROJECTION);
    EXPECT_FALSE(glIsEnabled(GL_LIGHTING));
    EXPECT_FALSE(glIsEnabled(GL_DEPTH_TEST));
}

TEST_F(CanvasTest, GestureOverlayDrawsWhiteLinesToThePointer) {
    load();
    canvas.gestureState = 1;
    canvas.gestureX1 = 100.0f;
    canvas.gestureY1 = 100.0f;
    canvas.stroke(0).pointerX = 300;
    canvas.stroke(0).pointerY = 100;
    renderFrame();
    const auto onLine = gl.pixel(200, 480 - 100);
    EXPECT_EQ(onLine.r, 255);
    EXPECT_EQ(onLine.g, 255);
    EXPECT_EQ(onLine.b, 255);

    canvas.gestureState = 4;
    canvas.gestureX2 = 300.0f;
    canvas.gestureY2 = 300.0f;
    canvas.stroke(0).pointerX = 100;
    canvas.stroke(0).pointerY = 300;
    renderFrame();
    // A triangle: first to second point, second point to pointer, pointer to first point.
    EXPECT_EQ(gl.pixel(200, 480 - 200).g, 255);
    EXPECT_EQ(gl.pixel(200, 480 - 300).g, 255);
    EXPECT_EQ(gl.pixel(100, 480 - 200).g, 255);
}

TEST_F(CanvasTest, WindowOfHeightZeroStillGivesAFiniteProjection) {
    load();
    canvas.setProjection(0, 0, 640, 0);
    GLfloat matrix[16];
    glGetFloatv(GL_PROJECTION_MATRIX, matrix);
    for (float element : matrix) {
        EXPECT_TRUE(std::isfinite(element));
    }
}

} // namespace
} // namespace tessera
