#include "session/remote_brushes.h"

#include "canvas/canvas.h"
#include "session/input_dispatcher.h"

#include <algorithm>
#include <cmath>
#include <utility>

namespace tessera {
namespace {

constexpr int leftButton = 0;
constexpr int rightButton = 2;

} // namespace

RemoteBrushes::RemoteBrushes(const Canvas& canvas, InputDispatcher& dispatcher,
                             std::function<int()> newPointer)
    : canvas(canvas), dispatcher(dispatcher), newPointer(std::move(newPointer)) {}

RemoteBrushes::Brush& RemoteBrushes::brushFor(int id) {
    auto found = brushes.find(id);
    if (found == brushes.end()) {
        Brush brush;
        brush.pointer = newPointer();
        found = brushes.emplace(id, brush).first;
    }
    return found->second;
}

void RemoteBrushes::handle(const BrushEvent& event, std::int64_t ticks) {
    if (event.kind == BrushEvent::Gone) {
        if (const auto found = brushes.find(event.brush); found != brushes.end()) {
            lift(found->second, ticks);
            brushes.erase(found);
        }
        return;
    }
    Brush& brush = brushFor(event.brush);
    switch (event.kind) {
    case BrushEvent::Tool:
        brush.tool = std::clamp(event.tool, 0, BrushEvent::selectTool);
        break;
    case BrushEvent::Down:
        // A second touch before the first lifted ends the first.
        lift(brush, ticks);
        windowPoint(event.u, event.v, brush.x, brush.y);
        brush.down = true;
        if (brush.tool == BrushEvent::selectTool) {
            brush.button = leftButton;
        } else {
            brush.button = rightButton;
            // The pointer's stroke goes with its last button, so each press names its tool.
            dispatcher.deliver(InputEvent::toolChoice(ticks, brush.tool, brush.pointer));
        }
        dispatcher.deliver(InputEvent::press(ticks, brush.button, brush.x, brush.y, brush.pointer));
        break;
    case BrushEvent::Move:
        if (brush.down) {
            windowPoint(event.u, event.v, brush.x, brush.y);
            dispatcher.deliver(InputEvent::motion(ticks, brush.x, brush.y, brush.pointer));
        }
        break;
    case BrushEvent::Up:
        if (brush.down) {
            windowPoint(event.u, event.v, brush.x, brush.y);
        }
        lift(brush, ticks);
        break;
    case BrushEvent::Gone:
        break;
    }
}

void RemoteBrushes::lift(Brush& brush, std::int64_t ticks) {
    if (!brush.down) {
        return;
    }
    brush.down = false;
    dispatcher.deliver(InputEvent::release(ticks, brush.button, brush.x, brush.y, brush.pointer));
}

void RemoteBrushes::windowPoint(float u, float v, int& x, int& y) const {
    const double boardX = std::clamp(u, 0.0f, 1.0f) * canvas.boardWidth;
    const double boardY = (1.0 - std::clamp(v, 0.0f, 1.0f)) * canvas.boardHeight;
    const std::array<int, 4> shown = {0, 0, dispatcher.width(), dispatcher.height()};
    double windowX = 0.0;
    double windowY = 0.0;
    if (canvas.projectIn(shown, static_cast<float>(boardX), static_cast<float>(boardY), windowX,
                         windowY) == 0) {
        x = y = -1;
        return;
    }
    // A board point taken beyond the window stays just outside it, where nothing is painted.
    const auto pixel = [](double at, int side) {
        return static_cast<int>(std::clamp(std::floor(at), -1.0, static_cast<double>(side)));
    };
    x = pixel(windowX, dispatcher.width());
    y = pixel(windowY, dispatcher.height());
}

} // namespace tessera
