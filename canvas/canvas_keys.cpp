#include "canvas/canvas.h"
#include "scene/random.h"
#include "stage/stage.h"

#include <algorithm>
#include <cstdio>

namespace tessera {

namespace {

// The factors are doubles: a product worked in double and rounded once is the float
// nearest the exact one, which a float product is not (726 x 0.9 would give 653.39996).
float scaled(float value, double factor) {
    return static_cast<float>(static_cast<double>(value) * factor);
}

// Light 0 rises this far with every scatter.
constexpr float scatterLightRise = 400.0f;

} // namespace

int Canvas::keyPressed(int key) {
    const int k = key & 0xFF;
    unattendedTime = 0.0;
    switch (k) {
    case 27: // Escape
        gestureState = 0;
        clearCanvas();
        break;
    case '-':
        cameraDistance = std::min(scaled(cameraDistance, 1.1), maxCameraDistance);
        break;
    case '=':
        cameraDistance = std::max(scaled(cameraDistance, 0.9), minCameraDistance);
        break;
    case 'a':
        cameraX = cameraX - static_cast<float>(cellWidth());
        break;
    case 'd':
        cameraX = cameraX + static_cast<float>(cellWidth());
        break;
    case 'f':
        if (animationKind == NoAnimation) {
            returnHome();
        }
        break;
    case 'r':
        if (animationKind == NoAnimation) {
            scatter();
        }
        break;
    case 's':
        cameraY = cameraY - static_cast<float>(cellHeight());
        break;
    case 'w':
        cameraY = cameraY + static_cast<float>(cellHeight());
        break;
    case 'z':
        undoLastShape();
        break;
    // The tools in toolbar order, within reach when the toolbar is zoomed or panned away.
    case '1':
    case '2':
    case '3':
    case '4':
        if (!tools.empty()) {
            selectTool(k - '1');
        }
        break;
    case 8:   // Backspace
    case 127: // Delete
        deleteSelected();
        break;
    default:
        break;
    }
    if (!quiet) {
        std::printf("%d\n", k);
    }
    return 2;
}

void Canvas::clearCanvas() {
    for (auto& entry : strokes) {
        entry.second.painting = nullptr;
    }
    selection.clear();
    shapes.clear();
    ++clearCount;
}

void Canvas::advance(float dt) {
    idleTime = idleTime + dt;
    if (!buttonHeld()) {
        unattendedTime = unattendedTime + dt;
    }
    if (clearAfterSeconds > 0.0 && unattendedTime > clearAfterSeconds && !shapes.empty()) {
        gestureState = 0;
        clearCanvas();
    }
    if (idleScatterSeconds > 0.0 && idleTime > idleScatterSeconds && !idleScatterDone) {
        idleScatterDone = true;
        scatter();
    }
    const auto holding = [](const Stroke& s) {
        return s.painting != nullptr && s.paintMode == Growing;
    };
    const float growth = dt * 1.3f + 1.0f;
    for (auto& entry : strokes) {
        if (holding(entry.second)) {
            entry.second.painting->scaleBy(growth, growth, 1.0f);
        }
    }
    for (auto& shape : shapes) {
        shape->update(dt);
    }
    // After the update, which makes a circle pulse: a held circle would otherwise pass the
    // cap by as much. Both axes by the same factor, so that the shape keeps its proportions.
    for (auto& entry : strokes) {
        if (holding(entry.second)) {
            capGrowth(*entry.second.painting);
        }
        entry.second.strokeElapsed = entry.second.strokeElapsed + dt;
    }
    if (timerDuration > 0.0 && timerElapsed + dt > timerDuration) {
        if (animationKind == ReturningHome) {
            raiseLight0(-light0Raised);
            light0Raised = 0.0f;
        }
        timerElapsed = timerDuration;
        animationKind = NoAnimation;
    } else {
        timerElapsed = timerElapsed + dt;
    }
}

void Canvas::scatter() {
    timerDuration = canvasAnimationSeconds;
    timerElapsed = 0.0;
    animationKind = Scattering;
    for (auto& shape : shapes) {
        shape->clearKeyframes();
        // NOTE: y is drawn before x; the order fixes where each shape flies: anywhere from
        // half a board before it to half a board past it (-240 to 720, -320 to 960).
        const float y = static_cast<float>(tessera::rand() % (2 * boardHeight) - boardHeight / 2);
        const float x = static_cast<float>(tessera::rand() % (2 * boardWidth) - boardWidth / 2);
        const float z = scaled(cameraDistance, 1.1);
        shape->queueMoveTo(static_cast<float>(canvasAnimationSeconds), x, y, z, Eased);
    }
    raiseLight0(scatterLightRise);
    light0Raised = light0Raised + scatterLightRise;
}

void Canvas::raiseLight0(float dz) {
    Stage* stage = Stage::instance();
    stage->light0Position[2] = stage->light0Position[2] + dz;
    renderer->moveLight(0, lighting().lights[0]);
}

void Canvas::returnHome() {
    timerDuration = canvasAnimationSeconds;
    timerElapsed = 0.0;
    animationKind = ReturningHome;
    for (auto& shape : shapes) {
        shape->clearKeyframes();
        shape->queueReturnHome(static_cast<float>(canvasAnimationSeconds));
    }
}

} // namespace tessera
