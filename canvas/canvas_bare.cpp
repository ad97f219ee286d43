#include "canvas/canvas.h"
#include "scene/random.h"
#include "scene/shape.h"
#include "stage/stage.h"

#include <algorithm>

namespace tessera {

BareCanvas Canvas::bare() const {
    BareCanvas state;
    state.cameraX = cameraX;
    state.cameraY = cameraY;
    state.cameraDistance = cameraDistance;
    state.currentTool = currentTool;
    for (std::size_t i = 0; i < tools.size(); i += 2) {
        if (tools[i]->isSelected() != 0) {
            state.selectedTool = static_cast<int>(i / 2);
        }
    }
    state.leastToolPixels = leastToolPixels;
    state.pointerX = pointerX;
    state.pointerY = pointerY;
    state.pressX = pressX;
    state.pressY = pressY;
    state.gestureState = gestureState;
    state.gesture = {gestureX1, gestureY1, gestureTime1, gestureX2, gestureY2, gestureTime2};
    state.animationKind = animationKind;
    state.timerDuration = timerDuration;
    state.timerElapsed = timerElapsed;
    state.idleTime = idleTime;
    state.unattendedTime = unattendedTime;
    state.idleScatterDone = idleScatterDone;
    state.clearCount = clearCount;
    state.heldButtons = heldButtons;
    state.strokeElapsed = strokeElapsed;
    state.light0Raised = light0Raised;
    std::copy_n(Stage::instance()->light0Position, 4, state.light0Position.begin());
    std::copy_n(light1Position, 4, state.light1Position.begin());
    state.randomState = randomState();
    state.nextShapeId = nextShapeId;
    return state;
}

void Canvas::returnTo(const BareCanvas& state) {
    shapes.clear();
    selection.clear();
    painting = nullptr;
    paintMode = NotPainting;
    cameraX = state.cameraX;
    cameraY = state.cameraY;
    cameraDistance = state.cameraDistance;
    for (auto& entry : tools) {
        entry->setSelected(0);
    }
    toolHits.clear();
    if (state.selectedTool >= 0 && !tools.empty()) {
        selectTool(state.selectedTool);
    }
    currentTool = state.currentTool;
    leastToolPixels = state.leastToolPixels;
    pointerX = state.pointerX;
    pointerY = state.pointerY;
    pressX = state.pressX;
    pressY = state.pressY;
    gestureState = state.gestureState;
    gestureX1 = state.gesture[0];
    gestureY1 = state.gesture[1];
    gestureTime1 = state.gesture[2];
    gestureX2 = state.gesture[3];
    gestureY2 = state.gesture[4];
    gestureTime2 = state.gesture[5];
    animationKind = state.animationKind;
    timerDuration = state.timerDuration;
    timerElapsed = state.timerElapsed;
    idleTime = state.idleTime;
    unattendedTime = state.unattendedTime;
    idleScatterDone = state.idleScatterDone;
    clearCount = state.clearCount;
    heldButtons = state.heldButtons;
    strokeElapsed = state.strokeElapsed;
    light0Raised = state.light0Raised;
    std::copy(state.light0Position.begin(), state.light0Position.end(),
              Stage::instance()->light0Position);
    std::copy(state.light1Position.begin(), state.light1Position.end(), light1Position);
    renderer->moveLight(0, lighting().lights[0]);
    renderer->moveLight(1, lighting().lights[1]);
    seedRandom(state.randomState);
    nextShapeId = state.nextShapeId;
}

} // namespace tessera
