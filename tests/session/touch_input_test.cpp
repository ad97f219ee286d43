#include "canvas_fixture.h"
#include "session/input_dispatcher.h"
#include "session/touch_input.h"
#include "stage/stage.h"

#include <vector>

namespace tessera::test {
namespace {

constexpr int left = 0;
constexpr int right = 2;

std::int64_t ms(int milliseconds) {
    return static_cast<std::int64_t>(milliseconds) * 1'000'000;
}

// The pointer events the Canvas was told of; the idle steps between them are left out.
struct PointerEvents : InputListener {
    void delivered(const InputEvent& event) override {
        if (event.kind != InputEvent::Idle) {
            events.push_back(event);
        }
    }
    std::vector<InputEvent> events;
};

struct Step {
    enum Kind { Down, Move, Up, Tick } kind;
    int x, y;
    int at; // milliseconds
};

// A square placed under window point (320, 240), the bare board at (150, 150) and the
// triangle's tool at (203, 462).
TEST_F(CanvasTest, TouchesBecomeTheMouseEventsOfTheSameIntent) {
    const struct {
        const char* name;
        std::vector<Step> steps;
        std::vector<InputEvent> events;
        std::size_t painted;
        std::size_t selected;
        int tool;
    } rows[] = {
        {"a tap on the board paints there",
         {{Step::Down, 150, 150, 0}, {Step::Tick, 0, 0, 40}, {Step::Up, 150, 150, 80}},
         {InputEvent::press(0, right, 150, 150), InputEvent::release(ms(80), right, 150, 150)},
         1,
         0,
         Canvas::ParallelogramTool},
        {"a tap on the toolbar chooses the tool",
         {{Step::Down, 203, 462, 0}, {Step::Up, 203, 462, 60}},
         {InputEvent::press(0, right, 203, 462), InputEvent::release(ms(60), right, 203, 462)},
         0,
         0,
         Canvas::TriangleTool},
        {"a hold still on a shape, the finger rolling within the slop, selects it",
         {{Step::Down, 320, 240, 0},
          {Step::Tick, 0, 0, 300},
          {Step::Move, 326, 248, 350},
          {Step::Tick, 0, 0, 520},
          {Step::Move, 400, 300, 600},
          {Step::Up, 400, 300, 700}},
         {InputEvent::press(ms(520), left, 320, 240), InputEvent::release(ms(520), left, 320, 240),
          InputEvent::motion(ms(600), 400, 300)},
         0,
         1,
         Canvas::ParallelogramTool},
        {"a lift after the hold was due selects before it lifts",
         {{Step::Down, 320, 240, 0}, {Step::Up, 320, 240, 500}},
         {InputEvent::press(ms(500), left, 320, 240), InputEvent::release(ms(500), left, 320, 240)},
         0,
         1,
         Canvas::ParallelogramTool},
        // On a shape the right button selects it for the press alone and paints nothing.
        {"a hold of 0.49 s on a shape, then a lift, is a right click where it landed",
         {{Step::Down, 320, 240, 0}, {Step::Tick, 0, 0, 490}, {Step::Up, 322, 241, 490}},
         {InputEvent::press(ms(490), right, 320, 240),
          InputEvent::release(ms(490), right, 322, 241)},
         0,
         0,
         Canvas::ParallelogramTool},
        {"a drag off a shape beyond the slop presses the right button where it landed",
         {{Step::Down, 320, 240, 0}, {Step::Move, 327, 248, 100}, {Step::Up, 340, 250, 200}},
         {InputEvent::press(ms(100), right, 320, 240), InputEvent::motion(ms(100), 327, 248),
          InputEvent::release(ms(200), right, 340, 250)},
         0,
         0,
         Canvas::ParallelogramTool},
        // The stroke lays a shape on every second move once 0.06 s have passed.
        {"a drag on the board paints a trail from where it landed",
         {{Step::Down, 100, 100, 0},
          {Step::Move, 110, 110, 100},
          {Step::Tick, 0, 0, 150},
          {Step::Move, 120, 120, 200},
          {Step::Tick, 0, 0, 250},
          {Step::Move, 130, 130, 300},
          {Step::Tick, 0, 0, 350},
          {Step::Move, 140, 140, 400},
          {Step::Tick, 0, 0, 450},
          {Step::Move, 150, 150, 500},
          {Step::Tick, 0, 0, 550},
          {Step::Move, 160, 160, 600},
          {Step::Up, 160, 160, 700}},
         {InputEvent::press(0, right, 100, 100), InputEvent::motion(ms(100), 110, 110),
          InputEvent::motion(ms(200), 120, 120), InputEvent::motion(ms(300), 130, 130),
          InputEvent::motion(ms(400), 140, 140), InputEvent::motion(ms(500), 150, 150),
          InputEvent::motion(ms(600), 160, 160), InputEvent::release(ms(700), right, 160, 160)},
         3,
         0,
         Canvas::ParallelogramTool},
    };
    load();
    for (const auto& row : rows) {
        SCOPED_TRACE(row.name);
        canvas.shapes.clear();
        canvas.selection.clear();
        canvas.gestureState = 0;
        canvas.selectTool(Canvas::ParallelogramTool);
        placeAt(Canvas::SquareTool, 320, 240);
        clock.set(0);
        Stage::instance()->elapsed(); // the first idle step measures from the row's start
        InputDispatcher dispatcher(canvas, clock);
        PointerEvents heard;
        dispatcher.setListener(&heard);
        TouchInput touch(canvas, dispatcher);
        ::testing::internal::CaptureStdout();
        for (const Step& step : row.steps) {
            switch (step.kind) {
            case Step::Down:
                touch.touchDown(step.x, step.y, ms(step.at));
                break;
            case Step::Move:
                touch.touchMoved(step.x, step.y, ms(step.at));
                break;
            case Step::Up:
                touch.touchUp(step.x, step.y, ms(step.at));
                break;
            case Step::Tick: // as the idle callback does
                touch.tick(ms(step.at));
                dispatcher.deliverIdle(ms(step.at));
                break;
            }
        }
        ::testing::internal::GetCapturedStdout();
        EXPECT_EQ(heard.events, row.events);
        EXPECT_EQ(canvas.shapes.size() - 1, row.painted);
        EXPECT_EQ(canvas.selection.size(), row.selected);
        EXPECT_EQ(canvas.currentTool, row.tool);
        EXPECT_FALSE(touch.touching());
    }
}

// Two holds are the two left presses of a gesture, timed by when each hold was decided.
TEST_F(CanvasTest, TwoHoldsOnShapesJoinThem) {
    load();
    placeAt(Canvas::SquareTool, 200, 200);
    placeAt(Canvas::CircleTool, 400, 300);
    InputDispatcher dispatcher(canvas, clock);
    TouchInput touch(canvas, dispatcher);
    ::testing::internal::CaptureStdout();
    touch.touchDown(200, 200, ms(1000));
    touch.tick(ms(1600));
    touch.touchUp(200, 200, ms(1700));
    touch.touchDown(400, 300, ms(3000));
    touch.tick(ms(3400));
    EXPECT_EQ(canvas.gestureState, 1) << "not yet held long enough";
    touch.tick(ms(3850));
    EXPECT_EQ(::testing::internal::GetCapturedStdout(), "connection (time=2.250000)\n");
    EXPECT_EQ(canvas.gestureState, 0);
}

} // namespace
} // namespace tessera::test
