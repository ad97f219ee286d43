#include "session/touch_input.h"

#include "canvas/canvas.h"
#include "session/input_dispatcher.h"
#include "session/touch_target.h"

#include <cmath>

namespace tessera {

namespace {

constexpr int leftButton = 0;
constexpr int rightButton = 2;
// The zoom keys' factors on the camera's distance ('=' in, '-' out).
constexpr double zoomIn = 0.9;
constexpr double zoomOut = 1.1;
// At most this many pan keys for one movement of the fingers.
constexpr int maxPanKeys = 64;

double apart(int x1, int y1, int x2, int y2) {
    return std::hypot(static_cast<double>(x2 - x1), static_cast<double>(y2 - y1));
}

} // namespace

TouchInput::TouchInput(const Canvas& canvas, InputDispatcher& dispatcher, double slopPixels,
                       double tapPixels)
    : canvas(canvas), dispatcher(dispatcher), slopPixels(slopPixels), tapPixels(tapPixels) {}

TouchInput::Finger* TouchInput::find(int id) {
    for (Finger& finger : fingers) {
        if (finger.down && finger.id == id) {
            return &finger;
        }
    }
    return nullptr;
}

void TouchInput::touchDown(int finger, int x, int y, std::int64_t ticks) {
    if (find(finger) != nullptr) {
        return;
    }
    if (phase == Phase::Lifted) {
        fingers[0] = {finger, true, x, y};
        fingers[1].down = false;
        startX = x;
        startY = y;
        startTicks = ticks;
        phase = Phase::Waiting;
        if (!landsOnShape(canvas, x, y)) {
            pressRight(ticks);
        }
        return;
    }
    Finger* free = !fingers[0].down ? &fingers[0] : !fingers[1].down ? &fingers[1] : nullptr;
    if (free == nullptr) {
        return;
    }
    tick(ticks);
    // The first finger's stroke ends where it is; one still waiting on a shape selects
    // nothing.
    if (phase == Phase::Painting) {
        const Finger& other = free == &fingers[0] ? fingers[1] : fingers[0];
        dispatcher.deliver(InputEvent::release(ticks, rightButton, other.x, other.y));
    }
    *free = {finger, true, x, y};
    startPinch();
}

void TouchInput::touchMoved(int finger, int x, int y, std::int64_t ticks) {
    Finger* moved = find(finger);
    if (moved == nullptr) {
        return;
    }
    tick(ticks);
    moved->x = x;
    moved->y = y;
    if (phase == Phase::Pinching) {
        if (fingers[0].down && fingers[1].down) {
            pinch(ticks);
        }
        return;
    }
    if (phase == Phase::Waiting) {
        if (withinSlop(x, y)) {
            return;
        }
        pressRight(ticks);
    }
    dispatcher.deliver(InputEvent::motion(ticks, x, y));
}

void TouchInput::touchUp(int finger, int x, int y, std::int64_t ticks) {
    Finger* lifted = find(finger);
    if (lifted == nullptr) {
        return;
    }
    tick(ticks);
    lifted->down = false;
    if (phase == Phase::Pinching) {
        if (!fingers[0].down && !fingers[1].down) {
            phase = Phase::Lifted;
        }
        return;
    }
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

bool TouchInput::withinSlop(int x, int y) const {
    return apart(startX, startY, x, y) <= slopPixels;
}

// The growth goes to the recording as an event of its own, so that a replay, which knows
// nothing of fingers, grows the shape the same.
void TouchInput::pressRight(std::int64_t ticks) {
    const Shape* before = canvas.strokeOf(0)->painting;
    dispatcher.deliver(InputEvent::press(ticks, rightButton, startX, startY));
    phase = Phase::Painting;
    const Shape* painted = canvas.strokeOf(0)->painting;
    if (painted != nullptr && painted != before) {
        if (const float factor = tapGrowth(canvas, *painted, tapPixels); factor > 1.0f) {
            dispatcher.deliver(InputEvent::grow(ticks, factor));
        }
    }
}

void TouchInput::startPinch() {
    phase = Phase::Pinching;
    pinchDistance = apart(fingers[0].x, fingers[0].y, fingers[1].x, fingers[1].y);
    pinchAnchored = midpointOnBoard(pinchBoardX, pinchBoardY);
}

bool TouchInput::midpointOnBoard(float& x, float& y) const {
    const int mx = (fingers[0].x + fingers[1].x) / 2;
    const int my = (fingers[0].y + fingers[1].y) / 2;
    return canvas.unproject(mx, my, x, y) == 1;
}

void TouchInput::pinch(std::int64_t ticks) {
    const double distance = apart(fingers[0].x, fingers[0].y, fingers[1].x, fingers[1].y);
    if (distance < 1.0 || pinchDistance < 1.0) {
        pinchDistance = distance;
        return;
    }
    while (distance / pinchDistance >= 1.0 / zoomIn) {
        key('=', ticks);
        pinchDistance /= zoomIn;
    }
    while (distance / pinchDistance <= 1.0 / zoomOut) {
        key('-', ticks);
        pinchDistance /= zoomOut;
    }
    // Each pan key moves the board point under a window point by one cell.
    float x = 0.0f;
    float y = 0.0f;
    const auto cellX = static_cast<float>(canvas.cellWidth());
    const auto cellY = static_cast<float>(canvas.cellHeight());
    for (int keys = 0; pinchAnchored && keys < maxPanKeys && midpointOnBoard(x, y); ++keys) {
        if (pinchBoardX - x >= cellX) {
            key('d', ticks);
        } else if (x - pinchBoardX >= cellX) {
            key('a', ticks);
        } else if (pinchBoardY - y >= cellY) {
            key('w', ticks);
        } else if (y - pinchBoardY >= cellY) {
            key('s', ticks);
        } else {
            break;
        }
    }
}

void TouchInput::key(int code, std::int64_t ticks) {
    dispatcher.deliver(InputEvent::keyPress(ticks, code));
}

} // namespace tessera
