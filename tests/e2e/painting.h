#pragma once

#include "changed_patch.h"
#include "program_under_x.h"

#include <functional>

namespace tessera {

// X button numbers.
constexpr int leftButton = 1;
constexpr int rightButton = 3;

// Tools by their place on the toolbar, from the left.
constexpr int circleTool = 1;
constexpr int squareTool = 2;

// A left click on the tool's button on the toolbar (with --touch, on the finger's toolbar).
void chooseTool(ProgramUnderX& program, int tool, bool finger = false);

// Holds the right button (or, with --touch, the left: a finger) at window point (x, y), so
// that the shape painted there grows, until its patch in the square of the given half size
// around the point (compared with the bare picture) satisfies enough; then lets go. Gives
// whether it did before the step timeout; patch holds the last patch seen.
bool paintUntil(ProgramUnderX& program, int x, int y, const ScreenImage& bare, int halfSize,
                const std::function<bool(const ChangedPatch&)>& enough, ChangedPatch& patch,
                int button = rightButton);

} // namespace tessera
