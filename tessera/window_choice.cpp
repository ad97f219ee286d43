#include "tessera/window_choice.h"

namespace tessera {

WindowStep nextWindowStep(WindowRequest request, const GameModeState& state) {
    if (request == WindowRequest::Window) {
        return WindowStep::OpenWindow;
    }
    if (request == WindowRequest::FullScreen) {
        return WindowStep::OpenFullScreen;
    }
    if (!state.entered) {
        return state.possible ? WindowStep::EnterGameMode : WindowStep::FallBackToFullScreen;
    }
    return state.active ? WindowStep::KeepGameMode : WindowStep::FallBackToFullScreen;
}

} // namespace tessera
