#include "canvas_fixture.h"
#include "scene/random.h"
#include "session/input_dispatcher.h"
#include "session/replay_at_size.h"

#include <vector>

namespace tessera::test {
namespace {

// A session recorded in a 640 x 480 window that was later made 800 x 450, with presses
// after zooming and panning and a trail.
std::vector<InputEvent> recordedSession() {
    std::vector<InputEvent> events;
    std::int64_t t = 1000;
    const auto at = [&t] { return t += 100'000'000; };
    events.push_back(InputEvent::reshape(at(), 640, 480));
    for (const auto& [x, y] : {std::pair{100, 100}, std::pair{600, 30}, std::pair{320, 240}}) {
        events.push_back(InputEvent::press(at(), 2, x, y));
        events.push_back(InputEvent::release(at(), 2, x, y));
    }
    events.push_back(InputEvent::keyPress(at(), '='));
    events.push_back(InputEvent::keyPress(at(), 'd'));
    events.push_back(InputEvent::press(at(), 2, 500, 400));
    events.push_back(InputEvent::motion(at(), 490, 390));
    events.push_back(InputEvent::motion(at(), 480, 380));
    events.push_back(InputEvent::idle(at(), 0.1f));
    events.push_back(InputEvent::motion(at(), 400, 300));
    events.push_back(InputEvent::release(at(), 2, 400, 300));
    events.push_back(InputEvent::reshape(at(), 800, 450));
    events.push_back(InputEvent::press(at(), 2, 700, 60));
    events.push_back(InputEvent::release(at(), 2, 700, 60));
    return events;
}

struct Played {
    std::vector<InputEvent> delivered;
    std::vector<Vec3> positions;
};

TEST_F(CanvasTest, ASessionPlayedAtAnotherSizePaintsTheSameBoardPoints) {
    // The session from a fresh load and camera at the given size (0: as recorded).
    const auto play = [this](int width, int height) {
        canvas.cameraDistance = 600.0f;
        load();
        seedRandom();
        ReplayAtSize size(640, 480, width > 0 ? width : 640, height > 0 ? height : 480);
        InputDispatcher dispatcher(canvas, clock);
        Played played;
        ::testing::internal::CaptureStdout();
        for (const InputEvent& event : recordedSession()) {
            if (event.kind == InputEvent::Reshape && width == 0) {
                size.resize(event.width, event.height);
            }
            played.delivered.push_back(size.map(event, canvas));
            dispatcher.deliver(played.delivered.back());
        }
        ::testing::internal::GetCapturedStdout();
        for (const auto& shape : canvas.shapes) {
            played.positions.push_back(shape->homePosition);
        }
        return played;
    };
    const Played recorded = play(0, 0);
    EXPECT_TRUE(recorded.delivered == recordedSession()) << "at its own size it plays as it was";
    ASSERT_EQ(recorded.positions.size(), 6u);

    for (const auto& [width, height] :
         {std::pair{1920, 1080}, std::pair{320, 240}, std::pair{1280, 1024}}) {
        SCOPED_TRACE(std::to_string(width) + " x " + std::to_string(height));
        const Played resized = play(width, height);
        ASSERT_EQ(resized.positions.size(), recorded.positions.size());
        // Within the board units a pixel of the smaller window spans, halved by rounding.
        const float tolerance = width < 640 ? 1.1f : 0.55f;
        for (std::size_t i = 0; i < recorded.positions.size(); ++i) {
            EXPECT_NEAR(resized.positions[i].x, recorded.positions[i].x, tolerance) << i;
            EXPECT_NEAR(resized.positions[i].y, recorded.positions[i].y, tolerance) << i;
        }
        EXPECT_EQ(resized.delivered[0].width, width) << "every reshape takes the size played at";
        EXPECT_EQ(resized.delivered.back().kind, InputEvent::Release);
    }
}

} // namespace
} // namespace tessera::test
