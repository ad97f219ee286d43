#include "session/touch_scheme.h"

#include "canvas/canvas.h"
#include "session/input_dispatcher.h"

#include <cmath>
#include <vector>

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

TouchScheme::TouchScheme(const Canvas& canvas, InputDispatcher& dispatcher, double stillRadius)
    : canvas(canvas), dispatcher(dispatcher), stillRadius(stillRadius) {}

TouchScheme::Finger* TouchScheme::find(int id) {
    for (Finger& finger : fingers) {
        if (finger.role != Unused && finger.id == id) {
            return &finger;
        }
    }
    return nullptr;
}

bool TouchScheme::onShape(int x, int y) const {
    std::vector<GLuint> names;
    canvas.hitsAt(x, y, names);
    for (const GLuint name : names) {
        if (name < canvas.shapes.size()) {
            return true;
        }
    }
    return false;
}

void TouchScheme::touchDown(int id, int x, int y, std::int64_t ticks) {
    Finger* free = nullptr;
    for (Finger& finger : fingers) {
        if (finger.role == Unused) {
            free = &finger;
            break;
        }
    }
    if (free == nullptr || find(id) != nullptr) {
        return; // a third finger plays no part
    }
    Finger& other = &fingers[0] == free ? fingers[1] : fingers[0];
    *free = {id, Idle, x, y, x, y, ticks};
    if (other.role != Unused) {
        endStroke(other, ticks);
        startPinch();
        return;
    }
    if (onShape(x, y)) {
        free->role = Holding;
    } else {
        free->role = Painting;
        dispatcher.deliver(InputEvent::press(ticks, rightButton, x, y));
    }
}

void TouchScheme::touchMoved(int id, int x, int y, std::int64_t ticks) {
    Finger* finger = find(id);
    if (finger == nullptr) {
        return;
    }
    finger->x = x;
    finger->y = y;
    if (fingers[0].role != Unused && fingers[1].role != Unused) {
        pinch(ticks);
        return;
    }
    if (finger->role == Holding && apart(finger->downX, finger->downY, x, y) > stillRadius) {
        finger->role = Idle;
    }
    dispatcher.deliver(InputEvent::motion(ticks, x, y));
}

void TouchScheme::touchUp(int id, int x, int y, std::int64_t ticks) {
    Finger* finger = find(id);
    if (finger == nullptr) {
        return;
    }
    finger->x = x;
    finger->y = y;
    endStroke(*finger, ticks);
    finger->role = Unused;
}

void TouchScheme::tick(std::int64_t ticks) {
    for (Finger& finger : fingers) {
        constexpr auto hold = static_cast<std::int64_t>(holdSeconds * 1e9);
        if (finger.role == Holding && ticks - finger.downTicks >= hold) {
            finger.role = Idle;
            dispatcher.deliver(InputEvent::press(ticks, leftButton, finger.downX, finger.downY));
            dispatcher.deliver(InputEvent::release(ticks, leftButton, finger.downX, finger.downY));
        }
    }
}

void TouchScheme::endStroke(Finger& finger, std::int64_t ticks) {
    if (finger.role == Painting) {
        dispatcher.deliver(InputEvent::release(ticks, rightButton, finger.x, finger.y));
    }
    finger.role = Idle;
}

bool TouchScheme::midpointOnBoard(float& x, float& y) const {
    const int mx = (fingers[0].x + fingers[1].x) / 2;
    const int my = (fingers[0].y + fingers[1].y) / 2;
    return canvas.unproject(mx, my, x, y) == 1;
}

void TouchScheme::startPinch() {
    pinchDistance = apart(fingers[0].x, fingers[0].y, fingers[1].x, fingers[1].y);
    pinchAnchored = midpointOnBoard(pinchBoardX, pinchBoardY);
}

void TouchScheme::pinch(std::int64_t ticks) {
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

void TouchScheme::key(int code, std::int64_t ticks) {
    dispatcher.deliver(InputEvent::keyPress(ticks, code));
}

} // namespace tessera
