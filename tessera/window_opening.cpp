#include "tessera/window_opening.h"

#include <GL/freeglut.h>
#include <cstdio>
#include <cstdlib>

namespace tessera {

std::string openDisplay(DisplayConnection& display) {
    display.reset(XOpenDisplay(nullptr));
    if (display != nullptr) {
        return "";
    }
    const std::string name = XDisplayName(nullptr);
    return name.empty() ? "no display: DISPLAY is not set" : "cannot open display '" + name + "'";
}

WindowRequest windowRequest(const CommandLine& options, bool replaying) {
    switch (options.windowMode) {
    case WindowMode::FullScreen:
        return WindowRequest::FullScreen;
    case WindowMode::Window:
        return WindowRequest::Window;
    case WindowMode::Default:
        break;
    }
    return replaying ? WindowRequest::Window : WindowRequest::GameModeFirst;
}

void openWindow(WindowRequest request, int width, int height) {
    glutGameModeString("640x480:16@60");
    GameModeState gameMode;
    gameMode.possible = glutGameModeGet(GLUT_GAME_MODE_POSSIBLE) != 0;
    WindowStep step = nextWindowStep(request, gameMode);
    if (step == WindowStep::EnterGameMode) {
        glutEnterGameMode();
        gameMode.entered = true;
        gameMode.active = glutGameModeGet(GLUT_GAME_MODE_ACTIVE) != 0;
        step = nextWindowStep(request, gameMode);
    }
    if (step == WindowStep::KeepGameMode) {
        return;
    }
    if (step == WindowStep::FallBackToFullScreen) {
        std::fprintf(stderr,
                     "tessera: full-screen 640x480 mode not available; filling the screen\n");
    }
    const bool fullScreen = step != WindowStep::OpenWindow;
    // Made the screen's size from the start, so that even without a window manager to
    // honour the full-screen request the window covers the screen.
    glutInitWindowPosition(0, 0);
    glutInitWindowSize(fullScreen ? glutGet(GLUT_SCREEN_WIDTH) : width,
                       fullScreen ? glutGet(GLUT_SCREEN_HEIGHT) : height);
    glutCreateWindow("tessera");
    if (fullScreen) {
        glutFullScreen();
    }
}

void endProgram(int status) {
    if (glutGameModeGet(GLUT_GAME_MODE_ACTIVE) != 0) {
        glutLeaveGameMode();
    }
    std::exit(status);
}

} // namespace tessera
