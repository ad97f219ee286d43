#include "session/touch_wall.h"

#include "canvas/canvas.h"
#include "session/input_dispatcher.h"
#include "session/touch_target.h"

#include <cmath>
#include <utility>

namespace tessera {

namespace {

constexpr int leftButton = 0;
constexpr int rightButton = 2;

} // namespace

TouchWall::TouchWall(const Canvas& canvas, InputDispatcher& dispatcher,
                     std::function<int()> newPointer, double slopPixels, double tapPixels)
    : canvas(canvas), dispatcher(dispatcher), newPointer(std::move(newPointer)),
      slopPixels(slopPixels), tapPixels(tapPixels) {
    fingers.reserve(maxFingers);
}

TouchWall::Finger* TouchWall::find(int id) {
    for (Finger& finger : fingers) {
        if (finger.id == id) {
            return &finger;
        }
    }
    return nullptr;
}

void TouchWall::touchDown(int finger, int x, int y, std::int64_t ticks) {
    if (find(finger) != nullptr || fingers.size() >= maxFingers) {
        return;
    }
    tick(ticks);
    fingers.push_back({finger, newPointer(), Phase::Waiting, x, y, ticks});
    if (!landsOnShape(canvas, x, y)) {
        pressRight(fingers.back(), ticks);
    }
}

void TouchWall::touchMoved(int finger, int x, int y, std::int64_t ticks) {
    Finger* moved = find(finger);
    if (moved == nullptr) {
        return;
    }
    tick(ticks);
    if (moved->phase == Phase::Waiting) {
        if (std::hypot(x - moved->startX, y - moved->startY) <= slopPixels) {
            return;
        }
        pressRight(*moved, ticks);
    }
    dispatcher.deliver(InputEvent::motion(ticks, x, y, moved->pointer));
}

void TouchWall::touchUp(int finger, int x, int y, std::int64_t ticks) {
    Finger* lifted = find(finger);
    if (lifted == nullptr) {
        return;
    }
    tick(ticks);
    if (lifted->phase == Phase::Waiting) {
        pressRight(*lifted, ticks);
    }
    if (lifted->phase == Phase::Painting) {
        dispatcher.deliver(InputEvent::release(ticks, rightButton, x, y, lifted->pointer));
    }
    fingers.erase(fingers.begin() + (lifted - fingers.data()));
}

// A move or a lift that comes after a hold was due, with no tick between, still finds the
// hold decided first: the finger was still for that long. A hold while a selection stands
// clicks as the pointer that made it, whose gesture it goes on: a visitor's second hold
// joins the shape the first selected, though each was a finger of its own.
void TouchWall::tick(std::int64_t ticks) {
    for (Finger& finger : fingers) {
        if (finger.phase != Phase::Waiting || ticks - finger.startTicks < TouchInput::holdTicks) {
            continue;
        }
        const int pointer = canvas.selection.empty() ? finger.pointer : canvas.selectionPointer;
        dispatcher.deliver(
            InputEvent::press(ticks, leftButton, finger.startX, finger.startY, pointer));
        dispatcher.deliver(
            InputEvent::release(ticks, leftButton, finger.startX, finger.startY, pointer));
        finger.phase = Phase::Held;
    }
}

// The growth goes to the recording as an event of its own, so that a replay, which knows
// nothing of fingers, grows the shape the same.
void TouchWall::pressRight(Finger& finger, std::int64_t ticks) {
    dispatcher.deliver(
        InputEvent::press(ticks, rightButton, finger.startX, finger.startY, finger.pointer));
    finger.phase = Phase::Painting;
    const Stroke* stroke = canvas.strokeOf(finger.pointer);
    if (stroke != nullptr && stroke->painting != nullptr) {
        if (const float factor = tapGrowth(canvas, *stroke->painting, tapPixels); factor > 1.0f) {
            dispatcher.deliver(InputEvent::grow(ticks, factor, finger.pointer));
        }
    }
}

} // namespace tessera
