#include "canvas_fixture.h"
#include "replay/replay_reader.h"
#include "replay/replay_writer.h"
#include "scene/random.h"
#include "session/input_dispatcher.h"
#include "session/touch_input.h"
#include "stage/stage.h"
#include "support/byte_stream.h"
#include "touch_script.h"

#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <sstream>
#include <vector>

namespace tessera::test {
namespace {

// The pointer events the Canvas was told of, one word each: R/r a right press/release,
// L/l a left one, m a motion, then "x,y@milliseconds". Idle steps are left out.
struct PointerLog : InputListener {
    void delivered(const InputEvent& e) override {
        static const char* const kinds[] = {"", "LMR", "lmr", "m"};
        if (e.kind >= InputEvent::Press && e.kind <= InputEvent::Motion) {
            text << (text.tellp() > 0 ? " " : "") << kinds[e.kind][e.button] << e.x << ',' << e.y
                 << '@' << e.ticks / 1'000'000;
        }
    }
    std::ostringstream text;
};

// A square lies under window point (320, 240); (100, 100) to (160, 160) is bare board and
// (203, 462) the triangle's tool. A script's words are d(own), m(ove) or u(p) "x,y@ms",
// the first finger's, or "finger:x,y@ms" another's, or t(ick) "@ms", which passes the time
// as the idle callback does.
TEST_F(CanvasTest, TouchesBecomeTheMouseEventsOfTheSameIntent) {
    const struct {
        const char *name, *script, *events;
        std::size_t painted, selected;
        int tool;
    } rows[] = {
        {"a tap on the board paints", "d150,150@0 t@40 u150,150@80", "R150,150@0 r150,150@80", 1, 0,
         Canvas::ParallelogramTool},
        {"a tap on the toolbar chooses a tool", "d203,462@0 u203,462@60", "R203,462@0 r203,462@60",
         0, 0, Canvas::TriangleTool},
        {"a hold on a shape, rolling within the slop, selects it",
         "d320,240@0 t@300 m326,248@350 t@520 m400,300@600 u400,300@700",
         "L320,240@520 l320,240@520 m400,300@600", 0, 1, Canvas::ParallelogramTool},
        {"a lift once the hold was due selects first", "d320,240@0 u320,240@500",
         "L320,240@500 l320,240@500", 0, 1, Canvas::ParallelogramTool},
        // The right button on a shape selects it while down and paints nothing.
        {"a 0.49 s hold on a shape is a right click where it landed",
         "d320,240@0 t@490 u322,241@490", "R320,240@490 r322,241@490", 0, 0,
         Canvas::ParallelogramTool},
        {"a drag off a shape beyond the slop presses where it landed",
         "d320,240@0 m327,248@100 u340,250@200", "R320,240@100 m327,248@100 r340,250@200", 0, 0,
         Canvas::ParallelogramTool},
        // A stroke lays a shape on every second move once 0.06 s have passed.
        {"a drag on the board paints a trail from where it landed",
         "d100,100@0 m110,110@100 t@150 m120,120@200 t@250 m130,130@300 t@350 m140,140@400 "
         "t@450 m150,150@500 t@550 m160,160@600 u160,160@700",
         "R100,100@0 m110,110@100 m120,120@200 m130,130@300 m140,140@400 m150,150@500 "
         "m160,160@600 r160,160@700",
         3, 0, Canvas::ParallelogramTool},
        {"a second finger ends the stroke, a third plays no part, the one left paints no more",
         "d100,100@0 d1:140,100@10 d2:150,150@20 u100,100@30 m1:200,200@40 u1:200,200@50",
         "R100,100@0 r100,100@10", 1, 0, Canvas::ParallelogramTool},
        {"a second finger while one waits on a shape selects nothing",
         "d320,240@0 d1:360,240@100 t@600 u320,240@700 u1:360,240@700", "", 0, 0,
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
        PointerLog log;
        dispatcher.setListener(&log);
        TouchInput touch(canvas, dispatcher);
        playTouches(touch, dispatcher, row.script);
        EXPECT_EQ(log.text.str(), row.events);
        EXPECT_EQ(canvas.shapes.size() - 1, row.painted);
        EXPECT_EQ(canvas.selection.size(), row.selected);
        EXPECT_EQ(canvas.currentTool, row.tool);
        EXPECT_FALSE(touch.touching());
    }
}

// Spread, the fingers zoom in a step for each tenth they move apart; moved together, they
// pan, keeping the board point that lay between them there.
TEST_F(CanvasTest, TwoFingersZoomAndPanWithTheBoardUnderThem) {
    load();
    InputDispatcher dispatcher(canvas, clock);
    dispatcher.deliver(InputEvent::reshape(0, 640, 480));
    TouchInput touch(canvas, dispatcher);
    ::testing::internal::CaptureStdout();
    touch.touchDown(1, 300, 240, 0);
    touch.touchDown(2, 340, 240, 10'000'000);
    float boardX = 0.0f;
    float boardY = 0.0f;
    ASSERT_EQ(canvas.unproject(320, 240, boardX, boardY), 1);
    const float distance = canvas.cameraDistance;
    touch.touchMoved(1, 260, 240, 20'000'000);
    touch.touchMoved(2, 380, 240, 30'000'000); // three times as far apart
    // 1/0.9^10 = 2.87 <= 3 < 1/0.9^11
    EXPECT_NEAR(canvas.cameraDistance, distance * std::pow(0.9, 10), 0.01);
    touch.touchMoved(1, 360, 300, 40'000'000);
    touch.touchMoved(2, 480, 300, 50'000'000); // both 100 right, 60 down
    ::testing::internal::GetCapturedStdout();
    float nowX = 0.0f;
    float nowY = 0.0f;
    ASSERT_EQ(canvas.unproject(420, 300, nowX, nowY), 1);
    EXPECT_LT(std::abs(nowX - boardX), static_cast<float>(canvas.cellWidth()));
    EXPECT_LT(std::abs(nowY - boardY), static_cast<float>(canvas.cellHeight()));
}

// Every event the Canvas was told of, as a recording's lines.
struct RecordedLines : InputListener {
    void delivered(const InputEvent& e) override { text += replayEventLine(e); }
    std::string text;
};

// A tap's shape shows at least the tap's width across (a finger's growth, which a recording
// holds as a grow event, so that it replays to the same size); a click of the mouse leaves
// the small shape it always has. The tap lands on a green cell of the red quadrant.
TEST_F(CanvasTest, ATapLeavesAShapeAtLeastTheTapsWidthAcrossAndItsRecordingReplaysIt) {
    const struct {
        const char* name;
        int width;
        int height;
        double tapPixels;
        bool finger;
    } rows[] = {
        {"a finger on a portrait phone, 390 x 844 at three pixels a point", 1170, 2532, 36.0, true},
        {"a finger in a 640 x 480 window", 640, 480, 12.0, true},
        {"a finger on a 1920 x 1080 screen", 1920, 1080, 12.0, true},
        {"the mouse on that phone", 1170, 2532, 36.0, false},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.name);
        ASSERT_TRUE(gl.resize(row.width, row.height));
        load();
        canvas.cameraDistance = startingCameraDistance;
        InputDispatcher dispatcher(canvas, clock);
        dispatcher.deliver(InputEvent::reshape(0, row.width, row.height));
        double px = 0.0;
        double py = 0.0;
        ASSERT_EQ(canvas.projectIn(canvas.viewport, 175.0f, 365.0f, px, py), 1);
        const int x = static_cast<int>(px);
        const int y = static_cast<int>(py);
        // The pixels of the 401 x 401 square around the tap, after a frame.
        const auto around = [&] {
            renderFrame();
            std::vector<int> shown;
            for (int r = row.height - 1 - y - 200; r <= row.height - 1 - y + 200; ++r) {
                for (int c = x - 200; c <= x + 200; ++c) {
                    const GlContext::Rgb p = gl.pixel(c, r);
                    shown.push_back(p.r + 256 * p.g + 65536 * p.b);
                }
            }
            return shown;
        };
        const std::vector<int> before = around();
        seedRandom();
        RecordedLines recorded;
        dispatcher.setListener(&recorded);
        TouchInput touch(canvas, dispatcher, TouchInput::defaultSlopPixels, row.tapPixels);
        if (row.finger) {
            touch.touchDown(0, x, y, 1'000'000);
            touch.touchUp(0, x, y, 1'000'000);
        } else {
            dispatcher.deliver(InputEvent::press(1'000'000, 2, x, y));
            dispatcher.deliver(InputEvent::release(1'000'000, 2, x, y));
        }
        dispatcher.setListener(nullptr);
        ASSERT_EQ(canvas.shapes.size(), 1u);
        const std::vector<int> after = around();
        int left = 401, right = -1, bottom = 401, top = -1;
        for (int i = 0; i < 401 * 401; ++i) {
            if (after[i] != before[i]) {
                left = std::min(left, i % 401);
                right = std::max(right, i % 401);
                bottom = std::min(bottom, i / 401);
                top = std::max(top, i / 401);
            }
        }
        const int across = std::min(right - left, top - bottom) + 1;
        EXPECT_EQ(across >= row.tapPixels, row.finger) << across << "\n" << recorded.text;

        const float scale = canvas.shapes[0]->scale.x;
        load();
        seedRandom();
        ReplayHeader header;
        test::ByteStream in(replayHeaderText(header) + recorded.text);
        ReplayReader reader(in.get(), "tap");
        ASSERT_EQ(reader.readHeader(header), "");
        InputEvent event;
        std::string error;
        while (reader.next(event, error)) {
            dispatcher.deliver(event);
        }
        ASSERT_EQ(error, "");
        ASSERT_EQ(canvas.shapes.size(), 1u);
        EXPECT_EQ(canvas.shapes[0]->scale.x, scale) << "the replay grows it the same";
    }
}

} // namespace
} // namespace tessera::test
