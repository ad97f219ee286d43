#include "canvas_fixture.h"

#include <GL/glu.h>
#include <cmath>
#include <string>

namespace tessera {
namespace {

using test::CanvasTest;

constexpr int left = 0;
constexpr int right = 2;

// What OpenGL, with the projection setProjection leaves for a width x height window, draws
// where. Window pixels have y downwards, as the pointer has them.
struct Drawn {
    int width;
    int height;
    GLdouble projection[16];
    const GLdouble identity[16] = {1, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1};
    GLint shown[4];

    Drawn(int width, int height) : width(width), height(height), shown{0, 0, width, height} {
        glGetDoublev(GL_PROJECTION_MATRIX, projection);
    }

    // The window point that board-space point (x, y, z) is drawn at.
    void windowPoint(double x, double y, double z, double& windowX, double& windowY) const {
        GLdouble depth = 0.0;
        gluProject(x, y, z, identity, projection, shown, &windowX, &windowY, &depth);
        windowY = height - windowY;
    }

    // The point of the board plane drawn at window point (x, y), where the line of sight
    // from the nearest to the farthest depth meets z = 0.
    void boardPoint(int x, int y, double& boardX, double& boardY) const {
        double near[3];
        double far[3];
        gluUnProject(x, height - y, 0.0, identity, projection, shown, &near[0], &near[1], &near[2]);
        gluUnProject(x, height - y, 1.0, identity, projection, shown, &far[0], &far[1], &far[2]);
        const double t = near[2] / (near[2] - far[2]);
        boardX = near[0] + t * (far[0] - near[0]);
        boardY = near[1] + t * (far[1] - near[1]);
    }
};

struct View {
    int width;
    int height;
    const char* keys; // zoom and pan, pressed before the press
};

// A fresh picture and camera seen through the view.
void show(Canvas& canvas, const View& view) {
    canvas.cameraDistance = 600.0f;
    ::testing::internal::CaptureStdout();
    for (const char* key = view.keys; *key != '\0'; ++key) {
        canvas.keyPressed(*key);
    }
    ::testing::internal::GetCapturedStdout();
    canvas.setProjection(0, 0, view.width, view.height);
}

// The shape a right press paints lies on the board point that the frame draws under the
// pointer, in the colour of the region there, whatever the window's size, zoom and pan.
TEST_F(CanvasTest, ARightPressPaintsTheBoardPointDrawnUnderThePointer) {
    const struct {
        const char* name;
        View view;
        int x;
        int y;
    } rows[] = {
        {"640 x 480, near the centre", {640, 480, ""}, 323, 236},
        {"640 x 480, near the left edge", {640, 480, ""}, 20, 233},
        {"640 x 480, near the top right corner", {640, 480, ""}, 622, 22},
        {"1920 x 1080, near the centre", {1920, 1080, ""}, 963, 545},
        {"1920 x 1080, near the top left corner", {1920, 1080, ""}, 275, 30},
        {"1920 x 1080, near the bottom right corner", {1920, 1080, ""}, 1645, 1050},
        {"1920 x 1080, near the top right corner", {1920, 1080, ""}, 1645, 30},
        {"1280 x 1024, narrower than the board, near its left edge", {1280, 1024, ""}, 30, 300},
        {"1920 x 1080 zoomed in", {1920, 1080, "===="}, 400, 200},
        {"1920 x 1080 zoomed out", {1920, 1080, "---"}, 700, 900},
        {"1920 x 1080 panned left and up", {1920, 1080, "aaaww"}, 600, 300},
        {"800 x 600 zoomed in and panned right", {800, 600, "==ddds"}, 700, 100},
    };
    // None of the points lies on a cell's edge, where rounding could tip either way.
    for (const auto& row : rows) {
        SCOPED_TRACE(row.name);
        load();
        show(canvas, row.view);
        canvas.buttonPressed(row.x, row.y, right);
        ASSERT_EQ(canvas.shapes.size(), 1u);
        const Shape& shape = *canvas.shapes[0];
        const Drawn drawn(row.view.width, row.view.height);
        double x = 0.0;
        double y = 0.0;
        drawn.windowPoint(shape.position.x, shape.position.y, shape.position.z, x, y);
        EXPECT_EQ(shape.homePosition.x, shape.position.x);
        EXPECT_NEAR(x, row.x, 0.1);
        EXPECT_NEAR(y, row.y, 0.1);
        // Coloured like the picture the pointer shows. The fixture's mask holds key
        // (column + row) % 4 in 10-unit cells; keys 0 to 3 are red, green, blue and white.
        double boardX = 0.0;
        double boardY = 0.0;
        drawn.boardPoint(row.x, row.y, boardX, boardY);
        const int key = (static_cast<int>(boardX) / 10 + static_cast<int>(boardY) / 10) % 4;
        const float colours[4][3] = {{1, 0, 0}, {0, 1, 0}, {0, 0, 1}, {1, 1, 1}};
        EXPECT_EQ(shape.colour.x, colours[key][0]) << "key " << key;
        EXPECT_EQ(shape.colour.y, colours[key][1]) << "key " << key;
        EXPECT_EQ(shape.colour.z, colours[key][2]) << "key " << key;
        canvas.buttonReleased(row.x, row.y, right);
    }
}

// The margins show no board: a press there paints nothing, a trail crossing them lays
// nothing there, and a shape hanging out over them is not picked up.
TEST_F(CanvasTest, APressOffTheBoardPaintsAndSelectsNothing) {
    const struct {
        const char* name;
        View view;
        int x;
        int y;
    } rows[] = {
        {"640 x 480, the thin margin at the left", {640, 480, ""}, 3, 240},
        {"1920 x 1080, the bar at the left", {1920, 1080, ""}, 100, 540},
        {"1920 x 1080, the bar at the right", {1920, 1080, ""}, 1800, 200},
        {"1920 x 1080, above the board", {1920, 1080, ""}, 960, 5},
        {"1280 x 1024, the bar below the board", {1280, 1024, ""}, 640, 1010},
        {"zoomed out, far from the board", {1920, 1080, "-----"}, 50, 50},
        {"panned until the board has left the centre",
         {640, 480, "dddddddddddddddddddddddddddddddddd"},
         320,
         240},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.name);
        load();
        show(canvas, row.view);
        canvas.buttonPressed(row.x, row.y, right);
        EXPECT_TRUE(canvas.shapes.empty());
        EXPECT_EQ(canvas.stroke(0).paintMode, Canvas::NotPainting);
        canvas.buttonReleased(row.x, row.y, right);
    }

    load();
    canvas.setProjection(0, 0, 1920, 1080);
    // A big square at board x -40: it shows in the left bar.
    Shape* outside = canvas.spawnShape(Canvas::SquareTool, -40.0f, 240.0f);
    outside->setScale(30.0f, 30.0f, 1.0f);
    Shape* inside = canvas.spawnShape(Canvas::SquareTool, 320.0f, 240.0f);
    inside->setScale(30.0f, 30.0f, 1.0f);
    canvas.buttonPressed(175, 540, left); // on the square, in the bar
    EXPECT_TRUE(canvas.selection.empty());
    EXPECT_EQ(outside->isSelected(), 0);
    canvas.buttonPressed(960, 540, left);
    ASSERT_EQ(canvas.selection, (std::vector<int>{1}));
    ::testing::internal::CaptureStdout();
    canvas.buttonPressed(175, 540, left);
    EXPECT_EQ(::testing::internal::GetCapturedStdout(), "");
    EXPECT_TRUE(canvas.selection.empty()) << "as a press on the bare picture: it cancels";
    EXPECT_EQ(canvas.gestureState, 0);
    EXPECT_TRUE(outside->keyframes.empty()) << "joined to nothing";

    canvas.buttonPressed(960, 540, right);
    EXPECT_EQ(canvas.selection, (std::vector<int>{1}));
    canvas.buttonReleased(960, 540, right);
    canvas.buttonPressed(1200, 540, right);
    ASSERT_EQ(canvas.shapes.size(), 3u);
    canvas.pointerMoved(1100, 560);
    canvas.pointerMoved(100, 600); // into the bar: trailing, but nothing laid there
    canvas.advance(0.1f);
    canvas.pointerMoved(90, 610);
    EXPECT_EQ(canvas.shapes.size(), 3u);
    canvas.pointerMoved(1000, 600); // back on the board
    ASSERT_EQ(canvas.shapes.size(), 4u);
    EXPECT_GT(canvas.shapes[3]->position.x, 300.0f);
}

// A window narrower than the board's 4:3 shows all of it with bars above and below, as
// one wider shows it with bars at the sides: nothing of the board is cut off.
TEST_F(CanvasTest, EveryWindowShowsTheWholeBoardCentred) {
    load();
    const struct {
        int width;
        int height;
    } sizes[] = {{640, 480}, {1920, 1080}, {3840, 2160}, {1280, 1024}, {600, 800}, {2000, 500}};
    for (const auto& size : sizes) {
        SCOPED_TRACE(std::to_string(size.width) + " x " + std::to_string(size.height));
        canvas.setProjection(0, 0, size.width, size.height);
        const Drawn drawn(size.width, size.height);
        double left = 0.0;
        double top = 0.0;
        double right = 0.0;
        double bottom = 0.0;
        drawn.windowPoint(0.0, 480.0, 0.0, left, top);
        drawn.windowPoint(640.0, 0.0, 0.0, right, bottom);
        EXPECT_GT(left, 0.0);
        EXPECT_GT(top, 0.0);
        EXPECT_LT(right, size.width);
        EXPECT_LT(bottom, size.height);
        EXPECT_NEAR(left + right, size.width, 0.01);
        EXPECT_NEAR(top + bottom, size.height, 0.01);
        EXPECT_NEAR((right - left) / (bottom - top), 4.0 / 3.0, 1e-6);
        // The board fills the window's height or width as far as in a 4:3 window.
        EXPECT_NEAR(std::max((right - left) / size.width, (bottom - top) / size.height),
                    480.0 / (2.0 * 600.0 * std::tan(22.5 * M_PI / 180.0)), 1e-4);
    }
}

} // namespace
} // namespace tessera
