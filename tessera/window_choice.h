#pragma once

namespace tessera {

// What the program asks of the display.
enum class WindowRequest {
    GameModeFirst, // the 640 x 480 game mode where the display has it, else full screen
    FullScreen,    // a window that fills the screen at its own resolution, no mode change
    Window,        // an ordinary window of a given size
};

// What GLUT has said about game mode so far.
struct GameModeState {
    bool possible = false; // the display offers the mode
    bool entered = false;  // glutEnterGameMode has been called
    bool active = false;   // and game mode came on
};

// The next step on the way to a window.
enum class WindowStep {
    EnterGameMode,        // try the 640 x 480 mode
    KeepGameMode,         // it is on: nothing more to do
    FallBackToFullScreen, // the mode is not to be had: say so, fill the screen as it is
    OpenFullScreen,       // a window filling the screen was asked for
    OpenWindow,           // an ordinary window was asked for
};

// The game mode only where it is wanted, offered, and really came on: a display can offer
// the mode and still fail to enter it, which leaves no window at all.
WindowStep nextWindowStep(WindowRequest request, const GameModeState& state);

} // namespace tessera
