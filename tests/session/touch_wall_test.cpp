#include "canvas_fixture.h"
#include "session/input_dispatcher.h"
#include "session/touch_wall.h"
#include "stage/stage.h"
#include "touch_script.h"

#include <cstdio>
#include <sstream>

namespace tessera::test {
namespace {

// What the Canvas was told of, one word each: R/r a right press/release, L/l a left one, m a
// motion, then "x,y#pointer@milliseconds"; g#pointer a tap's growth; k and a key's code.
struct WallLog : InputListener {
    void delivered(const InputEvent& e) override {
        static const char* const kinds[] = {"", "LMR", "lmr", "m"};
        const char* space = text.tellp() > 0 ? " " : "";
        if (e.kind >= InputEvent::Press && e.kind <= InputEvent::Motion) {
            text << space << kinds[e.kind][e.button] << e.x << ',' << e.y << '#' << e.pointer << '@'
                 << e.ticks / 1'000'000;
        } else if (e.kind == InputEvent::Grow) {
            text << space << "g#" << e.pointer;
        } else if (e.kind == InputEvent::Key) {
            text << space << 'k' << e.key;
        }
    }
    std::ostringstream text;
};

// Pointers as the show numbers them, from 1.
struct Pointers {
    int next = 1;
    int operator()() { return next++; }
};

// Squares lie under window points (320, 240) and (480, 240); (100, 100) to (160, 160) and
// (500, 100) are bare board. A tap there grows its shape to the tap's width at once.
TEST_F(CanvasTest, EveryFingerOnTheWallIsAPointerOfItsOwn) {
    const struct {
        const char *name, *script, *events;
        std::size_t painted;
        bool selected, connected;
    } rows[] = {
        {"three fingers spread as a pinch would: each paints, none zooms; window ids stay unseen",
         "d7:100,100@0 d9:140,140@0 d3:500,100@0 m7:90,90@100 m9:160,160@100 m3:520,80@100 "
         "u7:90,90@200 u9:160,160@200 u3:520,80@200",
         "R100,100#1@0 g#1 R140,140#2@0 g#2 R500,100#3@0 g#3 m90,90#1@100 m160,160#2@100 "
         "m520,80#3@100 r90,90#1@200 r160,160#2@200 r520,80#3@200",
         3, false, false},
        // A stroke lays a shape on every second move once 0.06 s have passed.
        {"a finger lifting ends only its stroke: the other goes on trailing",
         "d1:100,100@0 d2:500,100@0 u1:100,100@50 m2:510,110@100 t@150 m2:520,120@200 t@250 "
         "m2:530,130@300 u2:530,130@400",
         "R100,100#1@0 g#1 R500,100#2@0 g#2 r100,100#1@50 m510,110#2@100 m520,120#2@200 "
         "m530,130#2@300 r530,130#2@400",
         3, false, false},
        {"a hold on a shape selects while another finger paints",
         "d1:100,100@0 d2:320,240@10 t@510 m1:130,130@520 u1:130,130@600 u2:320,240@600",
         "R100,100#1@0 g#1 L320,240#2@510 l320,240#2@510 m130,130#1@520 r130,130#1@600", 1, true,
         false},
        {"a second finger's hold joins the shape the first one's selected",
         "d1:320,240@0 t@500 u1:320,240@600 d2:480,240@700 t@1200 u2:480,240@1300",
         "L320,240#1@500 l320,240#1@500 L480,240#1@1200 l480,240#1@1200", 0, false, true},
        {"a window id given again is a new pointer",
         "d5:100,100@0 u5:100,100@50 d5:150,150@100 u5:150,150@150",
         "R100,100#1@0 g#1 r100,100#1@50 R150,150#2@100 g#2 r150,150#2@150", 2, false, false},
    };
    load();
    for (const auto& row : rows) {
        SCOPED_TRACE(row.name);
        canvas.shapes.clear();
        canvas.selection.clear();
        canvas.gestureState = 0;
        placeAt(Canvas::SquareTool, 320, 240);
        placeAt(Canvas::SquareTool, 480, 240);
        clock.set(0);
        Stage::instance()->elapsed();
        InputDispatcher dispatcher(canvas, clock);
        WallLog log;
        dispatcher.setListener(&log);
        TouchWall wall(canvas, dispatcher, Pointers{});
        ::testing::internal::CaptureStdout();
        playTouches(wall, dispatcher, row.script);
        const std::string printed = ::testing::internal::GetCapturedStdout();
        EXPECT_EQ(log.text.str(), row.events);
        EXPECT_EQ(canvas.shapes.size() - 2, row.painted);
        EXPECT_EQ(canvas.selection.size(), row.selected ? 1u : 0u);
        EXPECT_EQ(printed.find("connection") != std::string::npos, row.connected) << printed;
        EXPECT_FALSE(wall.touching());
    }
}

// The Canvas grows a shape under each finger held still at once; fingers past the cap are
// passed over, to their lift, and one lifting makes room for the next.
TEST_F(CanvasTest, TheWallGrowsEveryHeldFingersShapeUpToItsCap) {
    load();
    clock.set(0);
    Stage::instance()->elapsed();
    InputDispatcher dispatcher(canvas, clock);
    TouchWall wall(canvas, dispatcher, Pointers{});
    const int fingers = static_cast<int>(TouchWall::maxFingers) + 1;
    for (int finger = 0; finger < fingers; ++finger) {
        wall.touchDown(100 + finger, 100 + 20 * (finger % 5), 100 + 40 * (finger / 5), 0);
    }
    ASSERT_EQ(canvas.shapes.size(), TouchWall::maxFingers);
    std::vector<float> landed;
    for (const auto& shape : canvas.shapes) {
        landed.push_back(shape->scale.x);
    }
    playTouches(wall, dispatcher, "t@100 t@200 t@300");
    for (std::size_t k = 0; k < landed.size(); ++k) {
        EXPECT_GT(canvas.shapes[k]->scale.x, landed[k]) << "shape " << k;
    }
    wall.touchUp(100 + fingers - 1, 0, 0, 300'000'000); // the one passed over
    wall.touchUp(100, 100, 100, 300'000'000);
    EXPECT_EQ(canvas.strokeOf(1), nullptr);
    EXPECT_NE(canvas.strokeOf(2)->painting, nullptr);
    wall.touchDown(200, 500, 100, 310'000'000);
    EXPECT_EQ(canvas.shapes.size(), TouchWall::maxFingers + 1);
    EXPECT_NE(canvas.strokeOf(fingers)->painting, nullptr) << "the newcomer's pointer";
}

} // namespace
} // namespace tessera::test
