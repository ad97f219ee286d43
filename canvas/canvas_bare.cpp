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
    // The mouse's stroke: the only one that stays when its buttons are up.
    const Stroke& mouse = strokes.at(0);
    state.pointerX = mouse.pointerX;
    state.pointerY = mouse.pointerY;
    state.pressX = mouse.pressX;
    state.pressY = mouse.pressY;
    state.gestureState = gestureState;
    state.gesture = {gestureX1, gestureY1, gestureTime1, gestureX2, gestureY2, gestureTime2};
    state.animationKind = animationKind;
    state.timerDuration = timerDuration;
    state.timerElapsed = timerElapsed;
    state.idleTime = idleTime;
    state.unattendedTime = unattendedTime;
    state.idleScatterDone = idleScatterDone;
    state.clearCount = clearCount;
    state.heldButtons = mouse.heldButtons;
    state.strokeElapsed = mouse.strokeElapsed;
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
    dropStrokes();
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
    Stroke& mouse = strokes.at(0);
    mouse.pointerX = state.pointerX;
    mouse.pointerY = state.pointerY;
    mouse.pressX = state.pressX;
    mouse.pressY = state.pressY;
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
    mouse.heldButtons = state.heldButtons;
    mouse.strokeElapsed = state.strokeElapsed;
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
