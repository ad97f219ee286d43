#include "canvas_fixture.h"
#include "replay/replay_reader.h"
#include "replay/replay_writer.h"
#include "scene/random.h"
#include "session/show.h"

#include <algorithm>
#include <cstdio>

namespace tessera::test {
namespace {

// A show on the quadrant picture: its snapshots counted, what it prints passed over.
class ShowTest : public CanvasTest {
protected:
    void SetUp() override {
        CanvasTest::SetUp();
        load();
        ::testing::internal::CaptureStdout();
        show.canvas.load(dir.path("quadrants").c_str());
        ::testing::internal::GetCapturedStdout();
        show.onSnapshot([this] { ++snapshots; }, false);
    }

    Show show;
    int snapshots = 0;
};

// A replay's own snapshot keys take one only when asked; live input is nobody's meanwhile,
// but the quit key still says it is one.
TEST_F(ShowTest, AReplayTakesItsSnapshotsOnlyWhenAskedAndHearsNoLiveInput) {
    std::string text = replayHeaderText(ReplayHeader{});
    text += replayEventLine(InputEvent::reshape(1, 640, 480));
    text += replayEventLine(InputEvent::keyPress(2, Show::snapshotKey));
    text += replayEventLine(InputEvent::idle(3, 1.0f / 60.0f));
    const std::string path = dir.write("session.tessera-replay", text);
    ReplayHeader header;
    ASSERT_EQ(checkReplayFile(path, header), "");
    for (const bool asked : {false, true}) {
        SCOPED_TRACE(asked);
        Show replay;
        replay.canvas.load(dir.path("quadrants").c_str());
        int taken = 0;
        replay.onSnapshot([&taken] { ++taken; }, asked);
        ASSERT_EQ(replay.play(path, header, 640, 480, true), "");
        replay.begin();
        std::int64_t wait = 0;
        EXPECT_EQ(replay.replayStep(wait), Show::ReplayStep::Played);
        replay.press(2, 320, 240);
        EXPECT_EQ(replay.key('`', 0), KioskKeys::ForwardAndQuit);
        EXPECT_EQ(replay.replayStep(wait), Show::ReplayStep::Ended);
        EXPECT_TRUE(replay.replayOver());
        EXPECT_EQ(replay.replayError(), "");
        EXPECT_EQ(taken, asked ? 1 : 0);
        EXPECT_TRUE(replay.canvas.shapes.empty());
    }
}

// A finger on a control is the control's key, and its lift is the control's too: the touch
// translator never sees that touch, while one on the board paints.
TEST_F(ShowTest, ATouchOnAControlIsItsKeyToTheLift) {
    show.useTouch(TouchInput::defaultSlopPixels, TouchInput::defaultTapPixels, true);
    show.begin();
    show.resize(640, 480);
    Overlay overlay;
    TouchControls controls(TouchControls::allKeys());
    controls.layOut(640, 480, overlay);
    for (const TouchControls::Control& control : controls.controls()) {
        if (control.key == Show::snapshotKey) {
            show.touchDown(0, control.x + 1, control.y + 1);
            EXPECT_FALSE(show.touching());
            show.touchUp(0, control.x + 1, control.y + 1);
        }
    }
    EXPECT_EQ(snapshots, 1);
    show.touchDown(0, 320, 240);
    EXPECT_TRUE(show.touching());
}

BrushEvent brushEvent(BrushEvent::Kind kind, int brush, float u = 0.0f, float v = 0.0f,
                      int tool = 0) {
    BrushEvent event;
    event.kind = kind;
    event.brush = brush;
    event.u = u;
    event.v = v;
    event.tool = tool;
    return event;
}

// Two phones paint at once, each under its own board point (u across, v down the picture);
// one goes mid-stroke, and what they did is recorded and plays back shape for shape.
TEST_F(ShowTest, PhonesPaintUnderTheirBoardPointsAndTheirSessionPlaysBackTheSame) {
    const std::string path = dir.path("phones.tessera-replay");
    // What each shape is and where it stands once the session is over.
    const auto laid = [](const Canvas& canvas) {
        std::vector<std::string> shapes;
        for (const auto& shape : canvas.shapes) {
            shapes.push_back(
                std::string(shape->name()) + " " + std::to_string(shape->homePosition.x) + " " +
                std::to_string(shape->homePosition.y) + " " + std::to_string(shape->scale.x));
        }
        return shapes;
    };
    std::vector<std::string> livePainted;
    {
        Show live;
        seedRandom(1);
        live.canvas.load(dir.path("quadrants").c_str());
        ASSERT_EQ(live.record(path, ReplayHeader{}, 640, 480), "");
        live.begin();
        live.resize(640, 480);
        live.brush(brushEvent(BrushEvent::Tool, 1, 0, 0, Canvas::TriangleTool));
        live.brush(brushEvent(BrushEvent::Down, 1, 0.25f, 0.5f));
        live.brush(brushEvent(BrushEvent::Down, 2, 0.75f, 0.25f));
        live.step(live.now());
        for (int i = 1; i <= 8; ++i) {
            live.brush(brushEvent(BrushEvent::Move, 2, 0.75f + 0.01f * i, 0.25f + 0.01f * i));
            live.step(live.now());
        }
        live.brush(brushEvent(BrushEvent::Gone, 2));
        live.brush(brushEvent(BrushEvent::Up, 1, 0.25f, 0.5f));
        live.step(live.now());
        ASSERT_EQ(live.canvas.shapes.size(), 2u);
        const Shape& first = *live.canvas.shapes[0];
        EXPECT_STREQ(first.name(), "triangle");
        EXPECT_NEAR(first.homePosition.x, 160.0f, 2.0f);
        EXPECT_NEAR(first.homePosition.y, 240.0f, 2.0f);
        const Shape& second = *live.canvas.shapes[1];
        EXPECT_STREQ(second.name(), "parallelogram") << "a phone without a tool paints the first";
        EXPECT_NEAR(second.homePosition.x, 480.0f, 2.0f);
        EXPECT_NEAR(second.homePosition.y, 360.0f, 2.0f);
        EXPECT_FALSE(live.canvas.buttonHeld()) << "a phone gone mid-stroke holds nothing";
        EXPECT_EQ(live.canvas.strokes.size(), 1u);
        livePainted = laid(live.canvas);
    }
    ReplayHeader header;
    ASSERT_EQ(checkReplayFile(path, header), "");
    Show replay;
    seedRandom(1);
    replay.canvas.load(dir.path("quadrants").c_str());
    ASSERT_EQ(replay.play(path, header, 640, 480, true), "");
    replay.begin();
    std::int64_t wait = 0;
    while (replay.replayStep(wait) != Show::ReplayStep::Ended) {
    }
    EXPECT_EQ(replay.replayError(), "");
    EXPECT_EQ(laid(replay.canvas), livePainted);
    EXPECT_FALSE(replay.canvas.buttonHeld());
}

// A phone with the select tool joins two shapes by touching them in turn, as the left button.
TEST_F(ShowTest, APhoneWithTheSelectToolConnectsShapes) {
    show.begin();
    show.resize(640, 480);
    const auto tap = [this](int brush, float u, float v) {
        show.brush(brushEvent(BrushEvent::Down, brush, u, v));
        show.brush(brushEvent(BrushEvent::Up, brush, u, v));
    };
    show.brush(brushEvent(BrushEvent::Tool, 3, 0, 0, Canvas::SquareTool));
    tap(3, 0.3f, 0.5f);
    tap(3, 0.6f, 0.5f);
    ASSERT_EQ(show.canvas.shapes.size(), 2u);
    show.brush(brushEvent(BrushEvent::Tool, 3, 0, 0, BrushEvent::selectTool));
    ::testing::internal::CaptureStdout();
    tap(3, 0.3f, 0.5f);
    tap(3, 0.6f, 0.5f);
    EXPECT_NE(::testing::internal::GetCapturedStdout().find("connection"), std::string::npos);
    EXPECT_EQ(show.canvas.shapes.size(), 2u) << "a select touch paints nothing";
    EXPECT_EQ(show.canvas.shapes[0]->keyframes.size(), 1u);
}

// In a kiosk the fingers are the wall's, each painting beside the phones with pointers of their
// own; one on a control is the control's to its lift, and the painter's lift stays its own.
TEST_F(ShowTest, AKiosksFingersPaintTogetherBesideOneOnAControl) {
    show.useKioskKeys(true);
    show.useTouch(TouchInput::defaultSlopPixels, TouchInput::defaultTapPixels, true);
    show.begin();
    show.resize(640, 480);
    Overlay overlay;
    std::vector<unsigned char> keys;
    for (const unsigned char key : TouchControls::allKeys()) {
        if (KioskKeys(true).action(key, 0) == KioskKeys::Forward) {
            keys.push_back(key);
        }
    }
    TouchControls controls(keys);
    controls.layOut(640, 480, overlay);
    const TouchControls::Control& undo = controls.controls().at(0);
    ASSERT_EQ(undo.key, 'z');
    show.touchDown(3, 100, 100);
    show.touchDown(4, 140, 140);
    show.brush(brushEvent(BrushEvent::Down, 3, 0.5f, 0.5f)); // a phone's, a pointer apart
    const auto painting = [this] {
        return std::count_if(show.canvas.strokes.begin(), show.canvas.strokes.end(),
                             [](const auto& entry) { return entry.second.painting != nullptr; });
    };
    ASSERT_EQ(painting(), 3);
    show.touchDown(5, undo.x + 1, undo.y + 1);
    EXPECT_EQ(show.canvas.shapes.size(), 2u);
    show.touchUp(4, 140, 140);
    show.touchUp(3, 100, 100);
    EXPECT_FALSE(show.touching());
    show.touchUp(5, undo.x + 1, undo.y + 1);
    EXPECT_EQ(show.canvas.shapes.size(), 2u);
}

} // namespace
} // namespace tessera::test
