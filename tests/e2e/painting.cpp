#include "painting.h"

#include "window_layout.h"

namespace tessera {

void chooseTool(ProgramUnderX& program, int tool, bool finger) {
    program.movePointer(finger ? fingerToolCentreX[tool] : toolCentreX[tool],
                        (toolbarTop + toolbarBottom) / 2);
    program.click(leftButton);
}

bool paintUntil(ProgramUnderX& program, int x, int y, const ScreenImage& bare, int halfSize,
                const std::function<bool(const ChangedPatch&)>& enough, ChangedPatch& patch,
                int button) {
    const ScreenRegion area = around(x, y, halfSize);
    program.movePointer(x, y);
    program.pressButton(button);
    ScreenImage shot;
    const bool done = program.waitForScreen(
        [&](const ScreenImage& s) {
            patch = changedPatch(bare, s, area);
            return enough(patch);
        },
        shot);
    program.releaseButton(button);
    return done;
}

} // namespace tessera
