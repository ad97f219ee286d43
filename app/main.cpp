// Program entry and the window-system callbacks. Each callback only translates its
// arguments and forwards them to one Canvas operation.
#include "app/canvas.h"
#include "app/frame_pacer.h"
#include "app/init_graphics.h"
#include "app/stage.h"
#include "app/window_choice.h"

#include <GL/freeglut.h>
#if defined(__SANITIZE_ADDRESS__)
#include <sanitizer/lsan_interface.h>
#endif
#include <cstdio>
#include <cstdlib>

namespace {

tessera::Canvas theCanvas;
tessera::FramePacer pacer(60.0);
int windowId = 0;
int windowWidth = 0;
int windowHeight = 0;

constexpr int windowedWidth = 640;
constexpr int windowedHeight = 480;
constexpr unsigned char graveAccent = 96;

void postRedisplay() {
    glutPostWindowRedisplay(windowId);
}

void displayCallback() {
    glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
    theCanvas.setProjection(0, 0, windowWidth, windowHeight);
    theCanvas.drawFrame(GL_RENDER);
    glFlush();
    glutSwapBuffers();
}

void reshapeCallback(int width, int height) {
    windowWidth = width;
    windowHeight = height;
    theCanvas.setProjection(0, 0, width, height);
}

void idleCallback() {
    pacer.wait();
    const auto dt = static_cast<float>(tessera::Stage::instance()->elapsed());
    theCanvas.advance(dt);
    postRedisplay();
}

void keyboardCallback(unsigned char key, int, int) {
    if (theCanvas.keyPressed(key) == 2) {
        postRedisplay();
    }
    if (key == graveAccent) {
        if (glutGameModeGet(GLUT_GAME_MODE_ACTIVE) != 0) {
            glutLeaveGameMode();
        }
        std::exit(1);
    }
}

void mouseCallback(int button, int state, int x, int y) {
    if (state == GLUT_DOWN) {
        theCanvas.buttonPressed(x, y, button);
    } else if (state == GLUT_UP) {
        theCanvas.buttonReleased(x, y, button);
    }
    postRedisplay();
}

void motionCallback(int x, int y) {
    theCanvas.pointerMoved(x, y);
    postRedisplay();
}

// Full screen at 640 x 480 where the display allows it; otherwise (a virtual X server, most
// current desktops, or a mode offered that will not come on) an ordinary window of the same
// size, which behaves the same.
void openWindow(const tessera::WindowRequest& request) {
    using tessera::WindowStep;
    glutGameModeString("640x480:16@60");
    tessera::GameModeState gameMode;
    gameMode.possible = glutGameModeGet(GLUT_GAME_MODE_POSSIBLE) != 0;
    WindowStep step = tessera::nextWindowStep(request, gameMode);
    if (step == WindowStep::EnterGameMode) {
        glutEnterGameMode();
        gameMode.entered = true;
        gameMode.active = glutGameModeGet(GLUT_GAME_MODE_ACTIVE) != 0;
        step = tessera::nextWindowStep(request, gameMode);
    }
    if (step == WindowStep::KeepGameMode) {
        return;
    }
    if (step == WindowStep::FallBackToWindow) {
        std::fprintf(stderr, "tessera: full-screen 640x480 mode not available; using a window\n");
    }
    glutInitWindowPosition(0, 0);
    glutInitWindowSize(windowedWidth, windowedHeight);
    glutCreateWindow("tessera");
}

} // namespace

int main(int argc, char** argv) {
    // Lines reach a pipe as they are printed, not when the buffer fills.
    std::setvbuf(stdout, nullptr, _IOLBF, 0);
    tessera::Stage* stage = tessera::Stage::instance();
    glutInit(&argc, argv);
    glutInitDisplayMode(GLUT_RGB | GLUT_DOUBLE | GLUT_DEPTH);
    openWindow(tessera::WindowRequest{});
    glutMouseFunc(mouseCallback);
    glutMotionFunc(motionCallback);
    glutReshapeFunc(reshapeCallback);
    glutDisplayFunc(displayCallback);
    glutIdleFunc(idleCallback);
    glutKeyboardFunc(keyboardCallback);
    glutPassiveMotionFunc(motionCallback);
    windowId = glutGetWindow();
    tessera::initGraphics();
#if defined(__SANITIZE_ADDRESS__)
    // NOTE: registered after the window opens, so that it runs before the GL driver is
    // unloaded at exit: the driver's own allocations can then be recognised and passed
    // over, and any leak of ours still fails the run.
    std::atexit(__lsan_do_leak_check);
#endif
    theCanvas.load("fruit");
    stage->elapsed(); // the first idle step measures from here
    glutMainLoop();
    return 0;
}
