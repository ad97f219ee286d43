#include "app/window_choice.h"

namespace tessera {

WindowStep nextWindowStep(const WindowRequest& request, const GameModeState& state) {
    if (!request.fullScreen) {
        return WindowStep::OpenWindow;
    }
    if (!state.entered) {
        return state.possible ? WindowStep::EnterGameMode : WindowStep::FallBackToWindow;
    }
    return state.active ? WindowStep::KeepGameMode : WindowStep::FallBackToWindow;
}

} // namespace tessera
