#pragma once

#include <array>
#include <cstdint>

namespace tessera {

// Everything that a canvas with no shapes carries into what happens next: the camera, the
// tool, the toolbar's least tool width, the pointer, buttons and gesture, the idle counts, the
// clears and the animation, the two lights, and the random sequence and shape numbering that the
// next shapes draw from. Taken from a canvas with no shapes and given back to it, it makes the
// canvas go on exactly as if nothing had happened in between.
struct BareCanvas {
    float cameraX = 0.0f;
    float cameraY = 0.0f;
    float cameraDistance = 0.0f;
    int currentTool = 0;
    int selectedTool = -1; // none highlighted on the toolbar
    double leastToolPixels = 0.0;
    int pointerX = 0;
    int pointerY = 0;
    int pressX = -1;
    int pressY = -1;
    int gestureState = 0;
    std::array<float, 6> gesture = {}; // x, y and time of its two presses
    int animationKind = 0;
    double timerDuration = 0.0;
    double timerElapsed = 0.0;
    double idleTime = 0.0;
    double unattendedTime = 0.0;
    bool idleScatterDone = false;
    std::uint64_t clearCount = 0;
    std::uint32_t heldButtons = 0;
    double strokeElapsed = 0.0;
    float light0Raised = 0.0f;
    std::array<float, 4> light0Position = {};
    std::array<float, 4> light1Position = {};
    unsigned int randomState = 1;
    int nextShapeId = 1;
};

} // namespace tessera
