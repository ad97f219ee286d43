#include "canvas_fixture.h"
#include "session/input_dispatcher.h"
#include "session/touch_input.h"
#include "stage/stage.h"

#include <cstdio>
#include <sstream>

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
// or t(ick) "@ms", which passes the time as the idle callback does.
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
        std::istringstream words(row.script);
        for (std::string word; words >> word;) {
            int x = 0, y = 0, at = 0;
            if (word[0] == 't' ? std::sscanf(word.c_str(), "t@%d", &at) != 1
                               : std::sscanf(word.c_str() + 1, "%d,%d@%d", &x, &y, &at) != 3) {
                FAIL() << word;
            }
            const std::int64_t ticks = at * 1'000'000LL;
            if (word[0] == 'd') {
                touch.touchDown(x, y, ticks);
            } else if (word[0] == 'm') {
                touch.touchMoved(x, y, ticks);
            } else if (word[0] == 'u') {
                touch.touchUp(x, y, ticks);
            } else {
                touch.tick(ticks);
                dispatcher.deliverIdle(ticks);
            }
        }
        EXPECT_EQ(log.text.str(), row.events);
        EXPECT_EQ(canvas.shapes.size() - 1, row.painted);
        EXPECT_EQ(canvas.selection.size(), row.selected);
        EXPECT_EQ(canvas.currentTool, row.tool);
        EXPECT_FALSE(touch.touching());
    }
}

} // namespace
} // namespace tessera::test
