#include "app/canvas.h"

namespace tessera {

void Canvas::buttonPressed(int x, int y, int) {
    pointerX = pressX = x;
    pointerY = pressY = y;
}

void Canvas::buttonReleased(int, int, int) {}

void Canvas::pointerMoved(int x, int y) {
    idleTime = 0.0;
    pointerX = x;
    pointerY = y;
}

} // namespace tessera
