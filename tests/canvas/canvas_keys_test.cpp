#include "canvas_fixture.h"
#include "program/snapshot.h"
#include "scene/square_shape.h"
#include "stage/stage.h"

#include <GL/gl.h>
#include <csignal>
#include <filesystem>
#include <fstream>
#include <sys/resource.h>

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

TEST_F(CanvasTest, DigitKeysChooseTheToolsAsTheToolbarDoes) {
    canvas.keyPressed('2'); // before any picture: no toolbar to light
    load();
    const struct {
        int key;
        int tool;
    } rows[] = {{'3', Canvas::SquareTool},   {'1', Canvas::ParallelogramTool},
                {'4', Canvas::TriangleTool}, {'2', Canvas::CircleTool},
                {'5', Canvas::CircleTool},   {'0', Canvas::CircleTool}};
    for (const auto& row : rows) {
        SCOPED_TRACE(static_cast<char>(row.key));
        EXPECT_EQ(press(canvas, row.key), std::to_string(row.key) + "\n");
        EXPECT_EQ(canvas.currentTool, row.tool);
        for (std::size_t entry = 0; entry < canvas.tools.size(); ++entry) {
            EXPECT_EQ(canvas.tools[entry]->isSelected(),
                      static_cast<int>(entry / 2) == row.tool ? 1 : 0)
                << "toolbar entry " << entry;
        }
    }
    canvas.buttonPressed(320, 240, 2);
    EXPECT_STREQ(canvas.shapes.back()->name(), "circle");
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
    canvas.stroke(0).painting = addSquare(canvas, 200, 100);
    canvas.selection = {0, 1};
    canvas.gestureState = 3;
    canvas.stroke(0).paintMode = Canvas::Growing;
    const float distance = canvas.cameraDistance;
    EXPECT_EQ(press(canvas, 27), "27\n");
    EXPECT_TRUE(canvas.shapes.empty());
    EXPECT_TRUE(canvas.selection.empty());
    EXPECT_EQ(canvas.stroke(0).painting, nullptr);
    EXPECT_EQ(canvas.gestureState, 0);
    EXPECT_EQ(canvas.stroke(0).paintMode, Canvas::Growing);
    EXPECT_EQ(canvas.tools.size(), 8u);
    EXPECT_EQ(canvas.cameraDistance, distance);
    canvas.advance(0.1f); // growing nothing is harmless
}

// Light 0's height as GL holds it. The modelview is the identity whenever it is sent, so
// the eye coordinates GL keeps are the board coordinates.
float lightZeroZ() {
    GLfloat position[4];
    glGetLightfv(GL_LIGHT0, GL_POSITION, position);
    return position[2];
}

void advanceFor(Canvas& canvas, double seconds) {
    for (int i = 0, steps = static_cast<int>(seconds * 60.0); i < steps; ++i) {
        canvas.advance(1.0f / 60.0f);
    }
}

TEST_F(CanvasTest, ScatterSendsShapesPastTheViewerAndReturnHomeBringsThemBack) {
    load(); // the toolbar draws the first 16 numbers, each square 2 more
    Shape* first = addSquare(canvas, 100, 100);
    Shape* second = addSquare(canvas, 500, 300);
    press(canvas, '-');
    press(canvas, '-');
    press(canvas, 'r');
    EXPECT_EQ(canvas.animationKind, Canvas::Scattering);
    EXPECT_EQ(lightZeroZ(), 600.0f);
    // Numbers 21 to 24, y before x: 32391, 14604, then 3902, 153.
    const struct {
        const char* name;
        Shape* shape;
        float x, y;
    } rows[] = {{"first", first, 14604 % 1280 - 320, 32391 % 960 - 240},
                {"second", second, 153 % 1280 - 320, 3902 % 960 - 240}};
    for (const auto& row : rows) {
        SCOPED_TRACE(row.name);
        ASSERT_EQ(row.shape->keyframes.size(), 1u);
        const Keyframe& flight = row.shape->keyframes[0];
        EXPECT_EQ(flight.snapshot->position.x, row.x);
        EXPECT_EQ(flight.snapshot->position.y, row.y);
        EXPECT_EQ(flight.snapshot->position.z, 798.6f); // 1.1 x the camera's 726
        EXPECT_EQ(flight.duration, 3.0f);
        EXPECT_EQ(flight.mode, Eased);
    }

    EXPECT_EQ(press(canvas, 'f'), "102\n"); // ignored while the scatter runs
    EXPECT_EQ(canvas.animationKind, Canvas::Scattering);
    advanceFor(canvas, 3.1);
    EXPECT_EQ(canvas.animationKind, Canvas::NoAnimation);
    EXPECT_GT(first->position.z, canvas.cameraDistance);
    EXPECT_GT(second->position.z, canvas.cameraDistance);

    press(canvas, 'f');
    EXPECT_EQ(canvas.animationKind, Canvas::ReturningHome);
    advanceFor(canvas, 3.1);
    EXPECT_EQ(canvas.animationKind, Canvas::NoAnimation);
    EXPECT_EQ(lightZeroZ(), 200.0f);
    // Eased keyframes come most of the way in their time and keep closing in after it.
    advanceFor(canvas, 6.0);
    for (const Shape* shape : {first, second}) {
        EXPECT_NEAR(shape->position.x, shape->homePosition.x, 1.0f);
        EXPECT_NEAR(shape->position.y, shape->homePosition.y, 1.0f);
        EXPECT_NEAR(shape->position.z, 1.0f, 1.0f);
    }
}

TEST_F(CanvasTest, ReturnHomeLowersLightZeroOnlyByWhatScattersRaised) {
    load();
    press(canvas, 'f');
    canvas.advance(3.0f);
    EXPECT_EQ(canvas.animationKind, Canvas::ReturningHome); // over only past its 3 s
    canvas.advance(0.01f);
    EXPECT_EQ(canvas.animationKind, Canvas::NoAnimation);
    EXPECT_EQ(lightZeroZ(), 200.0f);
    // An idle scatter, and a key scatter after it, are both taken back by one return.
    canvas.advance(27.01f);
    advanceFor(canvas, 3.1);
    canvas.pointerMoved(10, 10);
    press(canvas, 'r');
    EXPECT_EQ(lightZeroZ(), 1000.0f);
    advanceFor(canvas, 3.1);
    press(canvas, 'f');
    advanceFor(canvas, 3.1);
    EXPECT_EQ(lightZeroZ(), 200.0f);
}

TEST_F(CanvasTest, IdleScatterRunsOncePerIdlePeriod) {
    load();
    const Shape* shapes[] = {addSquare(canvas, 100, 100), addSquare(canvas, 500, 300)};
    canvas.advance(27.0f);
    EXPECT_EQ(canvas.animationKind, Canvas::NoAnimation);
    canvas.advance(0.01f);
    EXPECT_EQ(canvas.animationKind, Canvas::Scattering);
    // The shapes fly as they do after 'r' (a flight restarted every step would creep).
    advanceFor(canvas, 3.0);
    for (const Shape* shape : shapes) {
        EXPECT_GT(shape->position.z, 500.0f);
    }
    // Ten idle minutes: still the one flight and the one rise of the light.
    advanceFor(canvas, 600.0);
    EXPECT_EQ(lightZeroZ(), 600.0f);
    for (const Shape* shape : shapes) {
        EXPECT_GT(shape->position.z, canvas.cameraDistance);
    }
    // Pointer motion starts a new idle period, which scatters after its own 27 s.
    canvas.pointerMoved(10, 10);
    canvas.advance(27.0f);
    EXPECT_EQ(lightZeroZ(), 600.0f);
    canvas.advance(0.01f);
    EXPECT_EQ(lightZeroZ(), 1000.0f);
    EXPECT_EQ(canvas.shapes.size(), 2u); // inactivity never clears the canvas
}

TEST_F(CanvasTest, IdleScatterWaitsTheSecondsItIsGiven) {
    struct Row {
        const char* name;
        double seconds;
        float quiet;
        bool scatters;
    };
    const Row rows[] = {
        {"5 s, at 5 s", 5.0, 5.0f, false},
        {"5 s, just past", 5.0, 5.01f, true},
        {"600 s, long past 27 s", 600.0, 60.0f, false},
        {"600 s, just past", 600.0, 600.01f, true},
        {"never, after a day", 0.0, 86400.0f, false},
    };
    load();
    addSquare(canvas, 100, 100);
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        canvas.idleScatterSeconds = row.seconds;
        canvas.pointerMoved(10, 10);
        const float before = lightZeroZ(); // each scatter raises it
        canvas.advance(row.quiet);
        EXPECT_EQ(lightZeroZ() > before, row.scatters);
        canvas.pointerMoved(10, 10);
        advanceFor(canvas, 3.1); // any flight ends before the next row
    }
}

TEST_F(CanvasTest, IdleStepAnimatesEveryShape) {
    load();
    auto* square = static_cast<SquareShape*>(addSquare(canvas, 100, 100));
    square->period = 4.0f;
    square->amplitude = 5.0f;
    canvas.advance(1.0f);
    EXPECT_NEAR(square->rotation.z, 5.0f, 1e-4);
}

TEST_F(CanvasTest, ASnapshotThatCannotBeWrittenSaysWhyAndLeavesTheFolderAsItWas) {
    // A disk that fills up (here the file-size limit) fails the snapshot with the system's
    // reason; the name that was taken keeps its bytes and nothing else is left behind.
    load();
    renderFrame();
    std::ofstream(dir.path("tessera-0001.png")) << "mine";
    rlimit saved{};
    ASSERT_EQ(getrlimit(RLIMIT_FSIZE, &saved), 0);
    const auto savedHandler = std::signal(SIGXFSZ, SIG_IGN);
    rlimit small = saved;
    small.rlim_cur = 64;
    ASSERT_EQ(setrlimit(RLIMIT_FSIZE, &small), 0);

    std::string name;
    const std::string error = saveSnapshot(gl.width(), gl.height(), dir.path(""), name);

    setrlimit(RLIMIT_FSIZE, &saved);
    std::signal(SIGXFSZ, savedHandler);
    EXPECT_NE(error.find("File too large"), std::string::npos) << error;
    EXPECT_EQ(name, "");
    std::vector<std::string> left;
    for (const auto& entry : std::filesystem::directory_iterator(dir.path(""))) {
        if (entry.path().extension() != ".ppm" && entry.path().extension() != ".pgm" &&
            entry.path().extension() != ".map") {
            left.push_back(entry.path().filename().string());
        }
    }
    EXPECT_EQ(left, std::vector<std::string>{"tessera-0001.png"});
    std::ifstream kept(dir.path("tessera-0001.png"));
    EXPECT_EQ(std::string(std::istreambuf_iterator<char>(kept), {}), "mine");
}

} // namespace
} // namespace tessera
