// The board's footprint against the board as OpenGL draws it through the same camera.
#include "canvas/board_footprint.h"
#include "canvas_fixture.h"

#include <GL/gl.h>
#include <cmath>
#include <vector>

namespace tessera {
namespace {

using test::CanvasTest;

struct View {
    int width, height;
    float cameraX, cameraY, distance;
    bool fills; // the board covers the whole window
};

// Depth of each window pixel after drawing the board alone: below 1 where it shows.
std::vector<float> boardDepths(Canvas& canvas, int width, int height) {
    glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
    canvas.setProjection(0, 0, width, height);
    glEnable(GL_DEPTH_TEST);
    glMatrixMode(GL_MODELVIEW);
    glLoadIdentity();
    canvas.board->draw();
    std::vector<float> depths(static_cast<std::size_t>(width) * height);
    glReadPixels(0, 0, width, height, GL_DEPTH_COMPONENT, GL_FLOAT, depths.data());
    return depths;
}

// Every pixel of the footprint shows the board, and at most the row or column along each
// edge that the board covers lies outside it.
TEST_F(CanvasTest, BoardFootprintIsWhereOpenGLDrawsTheBoard) {
    load();
    const View views[] = {
        {640, 480, 320.0f, 240.0f, 600.0f, false},   // the program's window at the start
        {1920, 1080, 320.0f, 240.0f, 600.0f, false}, // black bars at the sides
        {3840, 2160, 320.0f, 240.0f, 400.0f, true},  // zoomed in: the board fills the screen
        {1280, 1024, 700.0f, 100.0f, 900.0f, false}, // panned: the board's left half shows
        {800, 600, 320.0f, 240.0f, 4500.0f, false},  // far away: a small board
        {480, 800, 320.0f, 240.0f, 600.0f, false},   // upright: bars above and below
    };
    for (const View& view : views) {
        ASSERT_TRUE(gl.resize(view.width, view.height));
        canvas.cameraX = view.cameraX;
        canvas.cameraY = view.cameraY;
        canvas.cameraDistance = view.distance;
        const auto depths = boardDepths(canvas, view.width, view.height);
        const BoardFootprint footprint = boardFootprint(canvas, {0, 0, view.width, view.height});
        ASSERT_FALSE(footprint.empty()) << view.width << " x " << view.height;
        EXPECT_EQ(footprint.covers(view.width, view.height), view.fills)
            << view.width << " x " << view.height;
        int covered = 0;
        int coveredOutside = 0;
        for (int y = 0; y < view.height; ++y) {
            for (int x = 0; x < view.width; ++x) {
                const float depth = depths[static_cast<std::size_t>(y) * view.width + x];
                const bool inside = x >= footprint.x && x < footprint.x + footprint.width &&
                                    y >= footprint.y && y < footprint.y + footprint.height;
                if (inside) {
                    ASSERT_LT(depth, 1.0f)
                        << "(" << x << ", " << y << ") at " << view.width << " x " << view.height;
                }
                covered += depth < 1.0f ? 1 : 0;
                coveredOutside += depth < 1.0f && !inside ? 1 : 0;
            }
        }
        EXPECT_LE(coveredOutside, 2 * (footprint.width + footprint.height) + 4)
            << covered << " covered at " << view.width << " x " << view.height;
    }
}

// Where the board is clipped away or the window has no pixels, nothing is covered.
TEST_F(CanvasTest, BoardFootprintIsEmptyWhereTheBoardCannotShow) {
    load();
    canvas.cameraDistance = canvas.zNear * 0.5f; // the near plane cuts in front of the board
    EXPECT_TRUE(boardFootprint(canvas, {0, 0, 640, 480}).empty());
    canvas.cameraDistance = canvas.zFar * 2.0f;
    EXPECT_TRUE(boardFootprint(canvas, {0, 0, 640, 480}).empty());
    canvas.cameraDistance = 600.0f;
    EXPECT_TRUE(boardFootprint(canvas, {0, 0, 640, 0}).empty());
    canvas.cameraX = 5000.0f; // panned far off the board
    EXPECT_TRUE(boardFootprint(canvas, {0, 0, 640, 480}).empty());
}

} // namespace
} // namespace tessera
