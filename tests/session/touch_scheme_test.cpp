#include "canvas_fixture.h"
#include "session/input_dispatcher.h"
#include "session/touch_scheme.h"

#include <cmath>
#include <string>
#include <vector>

namespace tessera::test {
namespace {

// The events a touch became, in short: P2 (right press), R0 (left release), M (motion),
// K= (a key).
struct Heard : InputListener {
    void delivered(const InputEvent& event) override {
        switch (event.kind) {
        case InputEvent::Press:
            text += "P" + std::to_string(event.button) + " ";
            break;
        case InputEvent::Release:
            text += "R" + std::to_string(event.button) + " ";
            break;
        case InputEvent::Motion:
            text += "M ";
            break;
        case InputEvent::Key:
            text += std::string("K") + static_cast<char>(event.key) + " ";
            break;
        default:
            break;
        }
    }
    std::string text;
};

struct Step {
    enum Kind { Down, Move, Up, Tick } kind;
    int finger;
    int x;
    int y;
    int milliseconds;
};

struct Row {
    const char* name;
    bool shapeAt200; // a shape lies under window point (200, 200)
    std::vector<Step> steps;
    const char* heard;
};

const Row rows[] = {
    {"a touch on the bare board paints, and grows while held",
     false,
     {{Step::Down, 1, 400, 200, 0}, {Step::Tick, 1, 0, 0, 600}, {Step::Up, 1, 400, 200, 700}},
     "P2 R2 "},
    {"a drag lays a trail",
     false,
     {{Step::Down, 1, 400, 200, 0},
      {Step::Move, 1, 450, 220, 50},
      {Step::Move, 1, 500, 240, 100},
      {Step::Up, 1, 500, 240, 150}},
     "P2 M M R2 "},
    {"held still on a shape, a left click once the hold is long enough",
     true,
     {{Step::Down, 1, 200, 200, 0},
      {Step::Tick, 1, 0, 0, 400},
      {Step::Move, 1, 204, 203, 450},
      {Step::Tick, 1, 0, 0, 500},
      {Step::Tick, 1, 0, 0, 900},
      {Step::Up, 1, 204, 203, 1000}},
     "M P0 R0 "},
    {"a hold that wanders off the shape selects nothing",
     true,
     {{Step::Down, 1, 200, 200, 0}, {Step::Move, 1, 230, 200, 100}, {Step::Tick, 1, 0, 0, 600}},
     "M "},
    {"a short tap on a shape does nothing",
     true,
     {{Step::Down, 1, 200, 200, 0}, {Step::Up, 1, 200, 200, 200}, {Step::Tick, 1, 0, 0, 600}},
     ""},
    {"a second finger ends the first one's stroke, a third plays no part, and the one left "
     "paints no more",
     false,
     {{Step::Down, 1, 400, 200, 0},
      {Step::Down, 2, 420, 200, 10},
      {Step::Down, 3, 100, 100, 20},
      {Step::Up, 1, 400, 200, 30},
      {Step::Move, 2, 300, 300, 40},
      {Step::Up, 2, 300, 300, 50}},
     "P2 R2 M "},
};

std::int64_t at(int milliseconds) {
    return 10'000'000'000 + std::int64_t{milliseconds} * 1'000'000;
}

TEST_F(CanvasTest, TouchesBecomeTheButtonsOfTheirPlace) {
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        load();
        if (row.shapeAt200) {
            placeAt(Canvas::SquareTool, 200, 200);
        }
        InputDispatcher dispatcher(canvas, clock);
        dispatcher.deliver(InputEvent::reshape(0, 640, 480));
        Heard heard;
        dispatcher.setListener(&heard);
        TouchScheme touches(canvas, dispatcher, 10.0);
        ::testing::internal::CaptureStdout();
        for (const Step& step : row.steps) {
            switch (step.kind) {
            case Step::Down:
                touches.touchDown(step.finger, step.x, step.y, at(step.milliseconds));
                break;
            case Step::Move:
                touches.touchMoved(step.finger, step.x, step.y, at(step.milliseconds));
                break;
            case Step::Up:
                touches.touchUp(step.finger, step.x, step.y, at(step.milliseconds));
                break;
            case Step::Tick:
                touches.tick(at(step.milliseconds));
                break;
            }
        }
        ::testing::internal::GetCapturedStdout();
        EXPECT_EQ(heard.text, row.heard);
        const bool clicked = std::string(row.heard).find("P0") != std::string::npos;
        EXPECT_EQ(canvas.selection.size(), clicked ? 1u : 0u);
    }
}

TEST_F(CanvasTest, ATouchOnTheToolbarChoosesTheTool) {
    load();
    InputDispatcher dispatcher(canvas, clock);
    dispatcher.deliver(InputEvent::reshape(0, 640, 480));
    TouchScheme touches(canvas, dispatcher, 10.0);
    double x = 0.0;
    double y = 0.0;
    ASSERT_EQ(canvas.projectIn(canvas.viewport, 200.0f, 10.0f, x, y), 1); // the triangle tool
    touches.touchDown(1, static_cast<int>(x), static_cast<int>(y), at(0));
    touches.touchUp(1, static_cast<int>(x), static_cast<int>(y), at(50));
    EXPECT_EQ(canvas.currentTool, Canvas::TriangleTool);
    EXPECT_TRUE(canvas.shapes.empty());
}

// Spread, the fingers zoom in a step for each tenth they move apart; moved together, they
// pan, keeping the board point that lay between them there.
TEST_F(CanvasTest, TwoFingersZoomAndPanWithTheBoardUnderThem) {
    load();
    InputDispatcher dispatcher(canvas, clock);
    dispatcher.deliver(InputEvent::reshape(0, 640, 480));
    Heard heard;
    dispatcher.setListener(&heard);
    TouchScheme touches(canvas, dispatcher, 10.0);
    ::testing::internal::CaptureStdout();
    touches.touchDown(1, 300, 240, at(0));
    touches.touchDown(2, 340, 240, at(10));
    float boardX = 0.0f;
    float boardY = 0.0f;
    ASSERT_EQ(canvas.unproject(320, 240, boardX, boardY), 1);
    const float distance = canvas.cameraDistance;
    touches.touchMoved(1, 260, 240, at(20));
    touches.touchMoved(2, 380, 240, at(30)); // three times as far apart
    // 1/0.9^10 = 2.87 <= 3 < 1/0.9^11
    EXPECT_NEAR(canvas.cameraDistance, distance * std::pow(0.9, 10), 0.01);
    EXPECT_EQ(heard.text.find("K-"), std::string::npos);
    touches.touchMoved(1, 360, 300, at(40));
    touches.touchMoved(2, 480, 300, at(50)); // both 100 right, 60 down
    ::testing::internal::GetCapturedStdout();
    float nowX = 0.0f;
    float nowY = 0.0f;
    ASSERT_EQ(canvas.unproject(420, 300, nowX, nowY), 1);
    EXPECT_LT(std::abs(nowX - boardX), static_cast<float>(canvas.cellWidth()));
    EXPECT_LT(std::abs(nowY - boardY), static_cast<float>(canvas.cellHeight()));
    EXPECT_EQ(heard.text.find("P"), 0u) << "only the first finger's press";
    EXPECT_EQ(heard.text.find("P", 1), std::string::npos);
}

} // namespace
} // namespace tessera::test
