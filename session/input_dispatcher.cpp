#include "session/input_dispatcher.h"

#include "canvas/canvas.h"
#include "stage/clock.h"
#include "stage/stage.h"

namespace tessera {

InputDispatcher::InputDispatcher(Canvas& canvas, VirtualClock& heldClock)
    : canvas(canvas), clock(heldClock) {}

void InputDispatcher::deliver(const InputEvent& event) {
    clock.set(event.ticks);
    const bool wasQuiet = canvas.quiet;
    canvas.quiet = quiet;
    switch (event.kind) {
    case InputEvent::Idle:
        canvas.advance(event.dt);
        break;
    case InputEvent::Press:
        canvas.buttonPressed(event.x, event.y, event.button, event.pointer);
        break;
    case InputEvent::Release:
        canvas.buttonReleased(event.x, event.y, event.button, event.pointer);
        break;
    case InputEvent::Motion:
        canvas.pointerMoved(event.x, event.y, event.pointer);
        break;
    case InputEvent::Key:
        canvas.keyPressed(event.key);
        break;
    case InputEvent::Reshape:
        windowWidth = event.width;
        windowHeight = event.height;
        canvas.setProjection(0, 0, event.width, event.height);
        break;
    case InputEvent::Grow:
        canvas.growPainting(event.factor, event.pointer);
        break;
    case InputEvent::Tool:
        canvas.choosePointerTool(event.pointer, event.tool);
        break;
    }
    canvas.quiet = wasQuiet;
    if (listener != nullptr) {
        listener->delivered(event);
    }
}

void InputDispatcher::deliverIdle(std::int64_t ticks) {
    clock.set(ticks);
    // The step is the difference of two held readings, exactly what a replay is given.
    const auto dt = static_cast<float>(Stage::instance()->elapsed());
    deliver(InputEvent::idle(ticks, dt));
}

} // namespace tessera
