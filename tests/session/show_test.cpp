#include "canvas_fixture.h"
#include "replay/replay_reader.h"
#include "replay/replay_writer.h"
#include "session/show.h"

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

// In a kiosk the fingers are the wall's, each painting; one on a control is the control's to
// its lift, and the painter's lift stays its own.
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
    ASSERT_EQ(show.canvas.shapes.size(), 2u);
    show.touchDown(5, undo.x + 1, undo.y + 1);
    EXPECT_EQ(show.canvas.shapes.size(), 1u);
    show.touchUp(4, 140, 140);
    show.touchUp(3, 100, 100);
    EXPECT_FALSE(show.touching());
    show.touchUp(5, undo.x + 1, undo.y + 1);
    EXPECT_EQ(show.canvas.shapes.size(), 1u);
}

} // namespace
} // namespace tessera::test
