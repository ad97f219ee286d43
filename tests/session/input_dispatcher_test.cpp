#include "canvas_fixture.h"
#include "session/input_dispatcher.h"

#include <array>
#include <vector>

namespace tessera::test {
namespace {

struct Heard : InputListener {
    void delivered(const InputEvent& event) override { events.push_back(event); }
    std::vector<InputEvent> events;
};

TEST_F(CanvasTest, TheCanvasSeesEachEventAtItsOwnReading) {
    load();
    InputDispatcher dispatcher(canvas, clock);
    Heard heard;
    dispatcher.setListener(&heard);

    dispatcher.deliver(InputEvent::reshape(1000, 640, 480));
    dispatcher.deliverIdle(2'400'000'000);
    dispatcher.deliver(InputEvent::press(2'500'000'000, 2, 320, 240));
    dispatcher.deliverIdle(2'516'666'667);

    ASSERT_EQ(canvas.shapes.size(), 1u);
    EXPECT_EQ(canvas.shapes[0]->created, 2.5) << "born at the press's reading";
    EXPECT_EQ(dispatcher.width(), 640);
    EXPECT_EQ(dispatcher.height(), 480);
    ASSERT_EQ(heard.events.size(), 4u);
    EXPECT_EQ(heard.events[2], InputEvent::press(2'500'000'000, 2, 320, 240));
    // A live step is the difference of two readings, as a replay is given it.
    const auto step = static_cast<float>(116'666'667 / 1e9);
    EXPECT_EQ(heard.events[3], InputEvent::idle(2'516'666'667, step));
}

TEST_F(CanvasTest, AReshapeTakesEffectBeforeTheNextFrame) {
    // A press can come between a reshape and the frame it asks for; it must be picked in
    // the new window, not the one the last frame was drawn in.
    load();
    InputDispatcher dispatcher(canvas, clock);
    dispatcher.deliver(InputEvent::reshape(1000, 320, 240));
    EXPECT_EQ(canvas.viewport, (std::array<int, 4>{0, 0, 320, 240}));
}

} // namespace
} // namespace tessera::test
