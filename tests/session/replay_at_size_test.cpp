#include "canvas_fixture.h"
#include "scene/random.h"
#include "session/input_dispatcher.h"
#include "session/replay_at_size.h"

#include <cmath>
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

TEST_F(CanvasTest, ASessionOfTheFourByThreeBoardPlayedOverAnotherPaintsItsPointsInProportion) {
    // An invitation recorded on 640 x 480 over a 3:4 photograph's 480 x 640 board: what lay a
    // quarter across and up there lies a quarter across and up here.
    loadWithMask(48, 64, 480, 640);
    ASSERT_EQ(canvas.boardWidth, 480);
    ReplayAtSize size(640, 480, 640, 480);
    size.setRecordedBoard(BoardSize{});
    // Where the 640 x 480 board's starting camera shows a point in a 640 x 480 window: its
    // height over some 497 units of a 45 degree view from 600, centred.
    const double pixelsPerUnit = 480.0 / (1200.0 * std::tan(22.5 * M_PI / 180.0));
    const std::array<int, 4> window{0, 0, 640, 480};
    for (const auto& [boardX, boardY] : {std::pair{320.0, 240.0}, std::pair{160.0, 120.0},
                                         std::pair{600.0, 450.0}, std::pair{20.0, 400.0}}) {
        SCOPED_TRACE(std::to_string(boardX) + ", " + std::to_string(boardY));
        const int x = static_cast<int>(std::lround(320.0 + (boardX - 320.0) * pixelsPerUnit));
        const int y = static_cast<int>(std::lround(240.0 - (boardY - 240.0) * pixelsPerUnit));
        const InputEvent mapped = size.map(InputEvent::press(0, 2, x, y), canvas);
        float shownX = 0.0f;
        float shownY = 0.0f;
        ASSERT_EQ(canvas.unprojectIn(window, mapped.x, mapped.y, shownX, shownY), 1);
        EXPECT_NEAR(shownX, boardX * 480.0 / 640.0, 1.5);
        EXPECT_NEAR(shownY, boardY * 640.0 / 480.0, 1.5);
    }
    size.setRecordedBoard(BoardSize{480, 640});
    const InputEvent same = InputEvent::press(0, 2, 100, 100);
    EXPECT_TRUE(size.map(same, canvas) == same) << "on its own board it plays as it was";
}

} // namespace
} // namespace tessera::test
