#include "canvas_fixture.h"
#include "replay/replay_reader.h"
#include "replay/replay_writer.h"
#include "scene/random.h"
#include "session/invitation.h"
#include "session/recorder.h"
#include "stage/stage.h"

#include <algorithm>
#include <cmath>
#include <cstring>
#include <functional>
#include <vector>

namespace tessera::test {
namespace {

constexpr std::int64_t frameTicks = 16'666'667;
constexpr double afterSeconds = 2.0;

std::int64_t ticksAt(double seconds) {
    return static_cast<std::int64_t>(std::llround(seconds * 1e9));
}

// About a second of somebody else's session: a stroke pressed, dragged and held while the
// square tool is chosen, the shapes scattered, the camera zoomed and panned, then let go.
std::string recordingText() {
    std::string text = replayHeaderText(ReplayHeader{});
    std::int64_t t = 1'000'000;
    const auto add = [&](const InputEvent& event) { text += replayEventLine(event); };
    const auto idle = [&](int frames) {
        for (int i = 0; i < frames; ++i) {
            t += frameTicks;
            add(InputEvent::idle(t, 1.0f / 60.0f));
        }
    };
    add(InputEvent::reshape(t, 640, 480));
    idle(3);
    add(InputEvent::press(t, 2, 200, 200));
    idle(10);
    add(InputEvent::motion(t, 230, 215));
    idle(5);
    add(InputEvent::motion(t, 270, 240));
    idle(5);
    for (const int key : {'3', 'r', '-', 'a'}) {
        add(InputEvent::keyPress(t, key));
    }
    idle(30);
    add(InputEvent::release(t, 2, 270, 240));
    idle(10);
    return text;
}

struct Heard : InputListener {
    void delivered(const InputEvent& event) override { events.push_back(event); }
    std::vector<InputEvent> events;
};

// The live program: each frame is the invitation's or an ordinary idle step, and input goes
// past the invitation first, as the window system's callbacks send it.
struct LiveProgram {
    LiveProgram(Canvas& canvas, VirtualClock& clock, const std::string& recording)
        : live(canvas, clock),
          invitation(canvas, clock, live, recording, 640, 480, afterSeconds, 0) {
        live.setListener(&heard);
        live.deliver(InputEvent::reshape(now, 640, 480));
    }
    void runTo(double seconds) {
        while (now + frameTicks <= ticksAt(seconds)) {
            now += frameTicks;
            if (!invitation.frame(now)) {
                live.deliverIdle(now);
            }
            if (eachFrame) {
                eachFrame();
            }
        }
    }
    void press(int button, int x, int y) {
        invitation.handOver(now);
        live.deliver(InputEvent::press(now, button, x, y));
    }
    void release(int button, int x, int y) {
        if (invitation.passes(now)) {
            live.deliver(InputEvent::release(now, button, x, y));
        }
    }
    void move(int x, int y) {
        if (invitation.passes(now)) {
            live.deliver(InputEvent::motion(now, x, y));
        }
    }
    void key(int code) {
        invitation.handOver(now);
        live.deliver(InputEvent::keyPress(now, code));
    }

    std::int64_t now = 0;
    InputDispatcher live;
    Heard heard;
    Invitation invitation;
    // Looks at the Canvas after every frame.
    std::function<void()> eachFrame;
};

class InvitationTest : public CanvasTest {
protected:
    void SetUp() override {
        CanvasTest::SetUp();
        recording = dir.write("invite", recordingText());
    }
    std::string recording;
};

enum class Input { Nothing, Motion, Key, Painted, Press, Held };

struct TimingRow {
    const char* name;
    Input input;
    double inputAt;
    double checkAt;
    bool playing;
};

const TimingRow timingRows[] = {
    {"not before the idle time", Input::Nothing, 0.0, 1.9, false},
    {"once the idle time has passed", Input::Nothing, 0.0, 2.1, true},
    {"motion starts the count again", Input::Motion, 1.0, 2.9, false},
    {"and it plays the idle time after the motion", Input::Motion, 1.0, 3.1, true},
    {"a key starts the count again", Input::Key, 1.5, 3.4, false},
    {"a shape left on the board holds it off", Input::Painted, 0.5, 6.0, false},
    {"so does a button held down", Input::Held, 0.5, 6.0, false},
    {"the first press stops it at once", Input::Press, 2.5, 2.5, false},
    {"motion while it plays does not stop it", Input::Motion, 2.5, 2.6, true},
    {"it ends with the recording", Input::Nothing, 0.0, 3.3, false},
    {"and waits the idle time again", Input::Nothing, 0.0, 4.9, false},
    {"then plays again", Input::Nothing, 0.0, 5.3, true},
};

TEST_F(InvitationTest, StartsAfterTheIdleTimeAndStopsAtTheFirstPress) {
    for (const TimingRow& row : timingRows) {
        SCOPED_TRACE(row.name);
        load();
        LiveProgram program(canvas, clock, recording);
        program.runTo(row.inputAt);
        switch (row.input) {
        case Input::Nothing:
            break;
        case Input::Motion:
            program.move(100, 100);
            break;
        case Input::Key:
            program.key('1');
            break;
        case Input::Painted:
            program.press(2, 320, 240);
            program.release(2, 320, 240);
            break;
        case Input::Press:
            program.press(0, 5, 5);
            break;
        case Input::Held:
            program.press(1, 5, 5);
            break;
        }
        program.runTo(row.checkAt);
        EXPECT_EQ(program.invitation.playing(), row.playing);
        if (!program.invitation.playing() && row.input != Input::Painted) {
            EXPECT_TRUE(canvas.shapes.empty()) << "nothing of the invitation stays";
        }
    }
}

struct Look {
    std::vector<std::array<float, 8>> shapes; // position, scale, colour, birth
    std::array<float, 5> camera;              // x, y, distance, tool, light 0's height
    unsigned int random;
};

Look lookOf(const Canvas& c) {
    Look look;
    for (const auto& shape : c.shapes) {
        look.shapes.push_back({shape->position.x, shape->position.y, shape->scale.x, shape->scale.y,
                               shape->colour.x, shape->colour.y, shape->colour.z,
                               static_cast<float>(shape->created)});
    }
    look.camera = {c.cameraX, c.cameraY, c.cameraDistance, static_cast<float>(c.currentTool),
                   Stage::instance()->light0Position[2]};
    look.random = randomState();
    return look;
}

TEST_F(InvitationTest, LeavesNothingOfItAndTheRecordingOfTheVisitorPlaysTheSame) {
    load();
    LiveProgram program(canvas, clock, recording);
    // Somebody before changed the camera and the tool and left the board empty.
    program.key('d');
    program.key('2');
    const Look before = lookOf(canvas);
    program.runTo(afterSeconds + 0.6);
    ASSERT_TRUE(program.invitation.playing());
    ASSERT_NE(canvas.stroke(0).painting, nullptr) << "the invitation's stroke is under way";
    ASSERT_EQ(canvas.animationKind, Canvas::Scattering);
    ASSERT_NE(canvas.cameraDistance, before.camera[2]);
    const std::int64_t startedBy = ticksAt(afterSeconds + 0.05);
    const std::int64_t handOver = program.now;

    program.press(2, 320, 240);
    EXPECT_FALSE(program.invitation.playing());
    ASSERT_EQ(canvas.shapes.size(), 1u) << "the first press paints, and is alone";
    EXPECT_EQ(lookOf(canvas).camera, before.camera);
    EXPECT_EQ(canvas.animationKind, Canvas::NoAnimation);
    EXPECT_EQ(canvas.stroke(0).paintMode, Canvas::Growing);
    program.runTo(afterSeconds + 1.0);
    program.move(330, 250);
    program.runTo(afterSeconds + 1.3);
    program.release(2, 330, 250);
    program.runTo(afterSeconds + 1.5);
    const Look visited = lookOf(canvas);
    const auto& heard = program.heard.events;
    for (const InputEvent& event : heard) {
        EXPECT_FALSE(event.ticks > startedBy && event.ticks < handOver)
            << "a recording of the session heard the invitation at " << event.ticks;
    }
    const auto firstStep = std::find_if(heard.begin(), heard.end(), [&](const InputEvent& e) {
        return e.kind == InputEvent::Idle && e.ticks > handOver;
    });
    ASSERT_NE(firstStep, heard.end());
    EXPECT_NEAR(firstStep->dt, 1.0 / 60.0, 1e-4) << "the visitor's first step is one frame's";
    // The same events played from the start on a fresh canvas come to the same picture.
    std::copy(savedLight0, savedLight0 + 4, Stage::instance()->light0Position);
    seedRandom();
    Canvas replayed;
    replayed.load(dir.path("quadrants").c_str());
    InputDispatcher replay(replayed, clock);
    for (const InputEvent& event : heard) {
        replay.deliver(event);
    }
    const Look again = lookOf(replayed);
    EXPECT_EQ(again.shapes, visited.shapes);
    EXPECT_EQ(again.camera, visited.camera);
    EXPECT_EQ(again.random, visited.random);
}

// However much a recording holds at one instant, a frame plays one idle step of it and a
// bounded number of its other events, and loses none of them.
TEST_F(InvitationTest, AFramePlaysOneRecordedStepAndABoundedShareOfTheRest) {
    std::string text = replayHeaderText(ReplayHeader{}) + "0 reshape 640 480\n";
    constexpr int pans = 1000;
    for (int i = 0; i < pans; ++i) {
        text += "0 key 100\n"; // d
    }
    text += "0 idle 0.001 x1000000 every 1000000\n";
    load();
    const float startX = canvas.cameraX;
    const auto cell = static_cast<float>(canvas.cellWidth());
    LiveProgram program(canvas, clock, dir.write("crowded", text));
    float lastX = startX;
    std::int64_t lastTicks = 0;
    int steppingFrames = 0;
    program.eachFrame = [&] {
        if (!program.invitation.playing()) {
            return;
        }
        EXPECT_LE(canvas.cameraX - lastX, Invitation::maxEventsPerFrame * cell);
        if (canvas.cameraX == startX + pans * cell && canvas.cameraX == lastX) {
            EXPECT_EQ(clock.ticks() - lastTicks, 1000000) << "one step of a millisecond a frame";
            ++steppingFrames;
        }
        lastX = canvas.cameraX;
        lastTicks = clock.ticks();
    };
    program.runTo(afterSeconds + 3.0);
    EXPECT_GT(steppingFrames, 100) << "every pan was played, then the steps";
}

// The invitation's events come at their own times, whatever their kind: the Canvas never sees
// a time ahead of the live clock, nor one earlier than it saw before, when the visitor comes.
TEST_F(InvitationTest, TheCanvasClockNeverRunsAheadOfTheLiveOneNorBack) {
    const std::string text = replayHeaderText(ReplayHeader{}) +
                             "0 reshape 640 480\n"
                             "16666667 idle 0.0166666675\n"
                             "500000000 key 49\n"
                             "500000000 idle 0.0166666675\n"
                             "516666667 idle 0.0166666675 x100 every 16666667\n";
    load();
    LiveProgram program(canvas, clock, dir.write("ahead", text));
    std::int64_t seen = 0;
    const auto look = [&] {
        EXPECT_GE(clock.ticks(), seen) << "at " << program.now;
        EXPECT_LE(clock.ticks(), program.now);
        seen = clock.ticks();
    };
    program.eachFrame = look;
    program.runTo(afterSeconds + 0.3);
    ASSERT_TRUE(program.invitation.playing());
    program.press(2, 320, 240);
    look();
    program.runTo(afterSeconds + 0.5);
}

// Two shapes painted and joined, a pan and Escape, then a pause.
const char* const sealedEvents = "0 reshape 640 480\n"
                                 "16666667 idle 0.0166666675\n"
                                 "33333334 press 2 200 200\n"
                                 "33333334 release 2 200 200\n"
                                 "50000001 idle 0.0166666675\n"
                                 "66666668 press 2 400 300\n"
                                 "66666668 release 2 400 300\n"
                                 "83333335 idle 0.0166666675\n"
                                 "100000002 press 0 200 200\n"
                                 "100000002 release 0 200 200\n"
                                 "116666669 idle 0.0166666675\n"
                                 "133333336 press 0 400 300\n"
                                 "133333336 release 0 400 300\n"
                                 "150000003 idle 0.0166666675\n"
                                 "166666670 key 100\n"
                                 "166666670 key 27\n"
                                 "183333337 idle 0.0166666675 x30 every 16666667\n";

// Nobody is there: the invitation prints nothing, its clears are undone with it, and under a
// kiosk's rules its Escape and pan are not heard at all.
TEST_F(InvitationTest, IsSealedFromTheShow) {
    const std::string recording =
        dir.write("sealed", replayHeaderText(ReplayHeader{}) + sealedEvents);
    for (const bool kiosk : {true, false}) {
        SCOPED_TRACE(kiosk ? "under a kiosk's rules" : "without");
        load();
        const std::uint64_t clears = canvas.clearCount;
        const float startX = canvas.cameraX;
        LiveProgram program(canvas, clock, recording);
        if (kiosk) {
            program.invitation.setKeyFilter(
                [](unsigned char key) { return key != 0 && std::strchr("1234rfz\b\x7f", key); });
            program.eachFrame = [&] { EXPECT_EQ(canvas.clearCount, clears); };
        }
        ::testing::internal::CaptureStdout();
        program.runTo(afterSeconds + 0.25);
        ASSERT_TRUE(program.invitation.playing());
        EXPECT_EQ(canvas.shapes.size(), kiosk ? 2u : 0u) << "Escape is heard without a kiosk";
        EXPECT_EQ(canvas.cameraX == startX, kiosk);
        program.runTo(afterSeconds + 1.0);
        EXPECT_EQ(::testing::internal::GetCapturedStdout(), "");
        EXPECT_FALSE(program.invitation.playing());
        EXPECT_EQ(canvas.clearCount, clears);
    }
}

// A visitor's session recorded with invitations between reads back: a step after an
// invitation comes a frame after it ended, long after the step before it.
TEST_F(InvitationTest, ARecordingOfASessionWithInvitationsReadsBack) {
    load();
    const std::string path = dir.path("visitor.tessera-replay");
    Recorder recorder(canvas);
    ASSERT_EQ(recorder.open(path), "");
    ASSERT_EQ(recorder.start(ReplayHeader{}), "");
    LiveProgram program(canvas, clock, recording);
    program.live.setListener(&recorder);
    program.runTo(afterSeconds - 0.02);
    // The window changed size a frame before the invitation: one step, then the invitation.
    program.live.deliver(InputEvent::reshape(program.now, 640, 480));
    program.runTo(afterSeconds * 3 + 1.5);
    ReplayHeader header;
    EXPECT_EQ(checkReplayFile(path, header), "");
}

// A recording made with the mouse's toolbar, played over a show for fingers: its press on
// the triangle's tool chooses that tool, as it did, rather than painting in the gap that
// the larger toolbar has there; the show's toolbar comes back with the visitor.
TEST_F(InvitationTest, PlaysWithTheToolbarItWasRecordedWithAndGivesTheShowItsOwnBack) {
    std::string text = replayHeaderText(ReplayHeader{});
    for (const InputEvent& event :
         {InputEvent::reshape(1'000'000, 640, 480), InputEvent::idle(17'666'667, 1.0f / 60.0f),
          InputEvent::press(20'000'000, 2, 203, 462), InputEvent::release(30'000'000, 2, 203, 462),
          InputEvent::idle(34'333'334, 1.0f / 60.0f)}) {
        text += replayEventLine(event);
    }
    for (int i = 1; i <= 60; ++i) {
        text += replayEventLine(InputEvent::idle(34'333'334 + i * frameTicks, 1.0f / 60.0f));
    }
    const std::string mouseRecording = dir.write("mouse-toolbar", text);
    load();
    canvas.leastToolPixels = 48.0;
    LiveProgram program(canvas, clock, mouseRecording);
    program.runTo(afterSeconds + 0.3);
    ASSERT_TRUE(program.invitation.playing());
    EXPECT_EQ(canvas.currentTool, Canvas::TriangleTool);
    EXPECT_TRUE(canvas.shapes.empty());
    EXPECT_EQ(canvas.leastToolPixels, 0.0);
    program.press(0, 5, 5);
    EXPECT_EQ(canvas.leastToolPixels, 48.0);
    EXPECT_EQ(canvas.currentTool, Canvas::ParallelogramTool);
}

} // namespace
} // namespace tessera::test
