#include "session/touch_input.h"

#include "canvas/canvas.h"
#include "session/input_dispatcher.h"

#include <vector>

namespace tessera {

namespace {

constexpr int leftButton = 0;
constexpr int rightButton = 2;

} // namespace

TouchInput::TouchInput(const Canvas& canvas, InputDispatcher& dispatcher)
    : canvas(canvas), dispatcher(dispatcher) {}

void TouchInput::touchDown(int x, int y, std::int64_t ticks) {
    if (phase != Phase::Lifted) {
        return;
    }
    startX = x;
    startY = y;
    startTicks = ticks;
    phase = Phase::Waiting;
    if (!landsOnShape(x, y)) {
        pressRight(ticks);
    }
}

void TouchInput::touchMoved(int x, int y, std::int64_t ticks) {
    tick(ticks);
    if (phase == Phase::Waiting) {
        if (withinSlop(x, y)) {
            return;
        }
        pressRight(ticks);
    }
    if (phase != Phase::Lifted) {
        dispatcher.deliver(InputEvent::motion(ticks, x, y));
    }
}

void TouchInput::touchUp(int x, int y, std::int64_t ticks) {
    tick(ticks);
    if (phase == Phase::Waiting) {
        pressRight(ticks);
    }
    if (phase == Phase::Painting) {
        dispatcher.deliver(InputEvent::release(ticks, rightButton, x, y));
    }
    phase = Phase::Lifted;
}

// A move or a lift that comes after the hold was due, with no tick between, still finds
// the hold decided first: the finger was still for that long.
void TouchInput::tick(std::int64_t ticks) {
    if (phase != Phase::Waiting || ticks - startTicks < holdTicks) {
        return;
    }
    dispatcher.deliver(InputEvent::press(ticks, leftButton, startX, startY));
    dispatcher.deliver(InputEvent::release(ticks, leftButton, startX, startY));
    phase = Phase::Held;
}

// A shape counts as the Canvas's press would find it: on the board and under no toolbar
// entry, whose choice wins over any shape beneath it.
bool TouchInput::landsOnShape(int x, int y) const {
    float boardX = 0.0f;
    float boardY = 0.0f;
    if (!canvas.boardPointAt(x, y, boardX, boardY)) {
        return false;
    }
    std::vector<GLuint> names;
    canvas.hitsAt(x, y, names);
    bool onShape = false;
    for (const GLuint name : names) {
        if (name >= canvas.shapes.size()) {
            return false;
        }
        onShape = true;
    }
    return onShape;
}

bool TouchInput::withinSlop(int x, int y) const {
    const long long dx = x - startX;
    const long long dy = y - startY;
    return dx * dx + dy * dy <= static_cast<long long>(slopPixels) * slopPixels;
}

void TouchInput::pressRight(std::int64_t ticks) {
    dispatcher.deliver(InputEvent::press(ticks, rightButton, startX, startY));
    phase = Phase::Painting;
}

} // namespace tessera
