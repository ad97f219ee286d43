#pragma once

namespace tessera {

// What the program asks of the display.
struct WindowRequest {
    bool fullScreen = true; // the 640 x 480 game mode, where the display has it
};

// What GLUT has said about game mode so far.
struct GameModeState {
    bool possible = false; // the display offers the mode
    bool entered = false;  // glutEnterGameMode has been called
    bool active = false;   // and game mode came on
};

// The next step on the way to a window.
enum class WindowStep {
    EnterGameMode,    // try full screen
    KeepGameMode,     // full screen is on: nothing more to do
    FallBackToWindow, // full screen was wanted but is not to be had: say so, open a window
    OpenWindow,       // an ordinary window was asked for
};

// Full screen only where it is wanted, offered, and really came on: a display can offer
// the mode and still fail to enter it, which leaves no window at all.
WindowStep nextWindowStep(const WindowRequest& request, const GameModeState& state);

} // namespace tessera
