// Program entry and the window-system callbacks, which only translate their arguments into
// calls on the show; the loop is GLUT's, paced here. In a replay the events come from the
// file instead, and the real pointer and keyboard are ignored but for quitting.
#include "program/init_graphics.h"
#include "program/snapshot.h"
#include "program/version.h"
#include "session/show.h"
#include "tessera/command_line.h"
#include "tessera/frame_pacer.h"
#include "tessera/launch.h"
#include "tessera/stop_signals.h"
#include "tessera/touch_events.h"
#include "tessera/window_lifeline.h"
#include "tessera/window_opening.h"

#include <GL/freeglut.h>
#if defined(__SANITIZE_ADDRESS__)
#include <sanitizer/lsan_interface.h>
#endif
#include <algorithm>
#include <chrono>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <thread>

namespace {

// The show the callbacks drive, made in main and never ended but by the process's end.
tessera::Show* show = nullptr;
tessera::FramePacer pacer(60.0);
tessera::TouchEvents touches;
int windowId = 0;
static_assert(tessera::KioskKeys::shift == GLUT_ACTIVE_SHIFT &&
              tessera::KioskKeys::control == GLUT_ACTIVE_CTRL &&
              tessera::KioskKeys::alt == GLUT_ACTIVE_ALT);

void postRedisplay() {
    glutPostWindowRedisplay(windowId);
}

// The frame's time from its start to the swap, without the pacer's sleep or a replay's pause.
void displayCallback() {
    const auto start = std::chrono::steady_clock::now();
    show->draw();
    glFlush();
    glutSwapBuffers();
    if (show->frameTook(
            std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count())) {
        std::printf("render scale %g\n", show->renderScale());
    }
}

// The frame the window shows, drawn afresh into the back buffer and saved in the current
// folder. A folder that cannot be written costs the snapshot, not the session.
void takeSnapshot() {
    show->drawForSnapshot();
    glFlush();
    glReadBuffer(GL_BACK);
    std::string name;
    const std::string error = tessera::saveSnapshot(show->width(), show->height(), ".", name);
    if (error.empty()) {
        std::printf("snapshot %s\n", name.c_str());
    } else {
        std::fprintf(stderr, "tessera: cannot save a snapshot: %s\n", error.c_str());
    }
}

void endIfAsked() {
    if (tessera::stopAsked() || tessera::closeRequested()) {
        tessera::endProgram(0);
    }
    if (tessera::windowLost()) {
        std::fputs("tessera: the window was destroyed\n", stderr);
        tessera::endProgram(tessera::lostWindowStatus);
    }
}

void idleCallback() {
    const std::int64_t now = show->ticksAt(pacer.wait());
    endIfAsked();
    touches.forward(*show);
    show->step(now);
    postRedisplay();
}

// Plays the recorded events up to the next idle step once it is due. Until then, and once
// they are all played, it waits a frame at most: the window goes on answering through any
// pause in the recording.
void replayIdleCallback() {
    endIfAsked();
    if (show->replayOver()) {
        pacer.wait();
        return;
    }
    std::int64_t wait = 0;
    const tessera::Show::ReplayStep step = show->replayStep(wait);
    if (step == tessera::Show::ReplayStep::Waiting) {
        constexpr std::int64_t framePeriod = 1000000000 / 60;
        std::this_thread::sleep_for(std::chrono::nanoseconds(std::min(wait, framePeriod)));
        return;
    }
    if (step == tessera::Show::ReplayStep::Ended) {
        if (!show->replayError().empty()) {
            std::fprintf(stderr, "tessera: %s\n", show->replayError().c_str());
            std::exit(255);
        }
        std::printf("replay ended\n");
    }
    postRedisplay();
}

void reshapeCallback(int width, int height) {
    show->resize(width, height);
}

void keyboardCallback(unsigned char key, int, int) {
    const tessera::KioskKeys::Action action = show->key(key, glutGetModifiers());
    if (action == tessera::KioskKeys::EndShow || action == tessera::KioskKeys::ForwardAndQuit) {
        tessera::endProgram(action == tessera::KioskKeys::EndShow ? 0 : 1);
    }
    postRedisplay();
}

void mouseCallback(int button, int state, int x, int y) {
    if (state == GLUT_DOWN) {
        show->press(button, x, y);
    } else if (state == GLUT_UP) {
        show->release(button, x, y);
    }
    postRedisplay();
}

void motionCallback(int x, int y) {
    show->motion(x, y);
    postRedisplay();
}

// With --touch and no touches of X's own, its first button is a touch screen's finger: its
// presses and moves go to the touch translator; the others and a bare pointer the mouse's.
void touchMouseCallback(int button, int state, int x, int y) {
    if (button != GLUT_LEFT_BUTTON) {
        mouseCallback(button, state, x, y);
        return;
    }
    if (state == GLUT_DOWN) {
        show->touchDown(0, x, y);
    } else if (state == GLUT_UP) {
        show->touchUp(0, x, y);
    }
    postRedisplay();
}

void touchMotionCallback(int x, int y) {
    if (!show->touching()) {
        motionCallback(x, y);
        return;
    }
    show->touchMoved(0, x, y);
    postRedisplay();
}

void listen(const tessera::CommandLine& options, bool replaying) {
    glutReshapeFunc(reshapeCallback);
    glutDisplayFunc(displayCallback);
    glutKeyboardFunc(keyboardCallback);
    if (replaying) {
        glutIdleFunc(replayIdleCallback);
        return;
    }
    glutIdleFunc(idleCallback);
    glutMouseFunc(options.touch ? touchMouseCallback : mouseCallback);
    glutMotionFunc(options.touch ? touchMotionCallback : motionCallback);
    glutPassiveMotionFunc(motionCallback);
    if (const std::string fault = options.touch ? touches.listen() : ""; !fault.empty()) {
        std::printf("fingers one at a time: %s\n", fault.c_str());
    }
}

int fail(const std::string& message, int status) {
    std::fprintf(stderr, "tessera: %s\n%s", message.c_str(),
                 status == 2 ? tessera::usageText().c_str() : "");
    return status;
}

} // namespace

int main(int argc, char** argv) {
    // Lines reach a pipe as they are printed, not when the buffer fills. What is printed is
    // a log of the session: a reader that went away must not end it.
    std::setvbuf(stdout, nullptr, _IOLBF, 0);
    std::signal(SIGPIPE, SIG_IGN);
    tessera::CommandLine options;
    if (std::string error = tessera::parseCommandLine(argc - 1, argv + 1, options);
        !error.empty()) {
        return fail(error, 2);
    }
    if (options.help || options.version) {
        std::fputs(options.help ? tessera::usageText().c_str() : "tessera " TESSERA_VERSION "\n",
                   stdout);
        return 0;
    }
    tessera::Launch launch(options);
    int status = 0;
    if (std::string error = launch.check(status); !error.empty()) {
        return fail(error, status);
    }
    tessera::DisplayConnection display;
    if (std::string error = tessera::openDisplay(display); !error.empty()) {
        return fail(error, tessera::noDisplayStatus);
    }
    if (std::string error = launch.prepare(); !error.empty()) {
        return fail(error, 255);
    }
    show = new tessera::Show;
    // The command line is ours: GLUT gets the program name only.
    int glutArgc = 1;
    glutInit(&glutArgc, argv);
    display.reset();
    glutInitDisplayMode(GLUT_RGB | GLUT_DOUBLE | GLUT_DEPTH);
    const bool replaying = launch.replaying();
    const auto [width, height] = launch.windowSize();
    tessera::openWindow(tessera::windowRequest(options, replaying), width, height);
    listen(options, replaying);
    windowId = glutGetWindow();
    tessera::watchWindow(options.kiosk);
    if (options.kiosk) {
        // Nobody needs the pointer to paint under it: the light and the shapes follow it.
        glutSetCursor(GLUT_CURSOR_NONE);
        tessera::endOnStopSignals();
    }
    tessera::initGraphics();
#if defined(__SANITIZE_ADDRESS__)
    // NOTE: registered after the window opens, so that it runs before the GL driver is
    // unloaded at exit: the driver's own allocations can then be recognised and passed
    // over, and any leak of ours still fails the run.
    std::atexit(__lsan_do_leak_check);
#endif
    if (std::string error =
            launch.start(*show, glutGet(GLUT_WINDOW_WIDTH), glutGet(GLUT_WINDOW_HEIGHT));
        !error.empty()) {
        return fail(error, 255);
    }
    show->onSnapshot(takeSnapshot, replaying && options.snapshots);
    show->begin();
    glutMainLoop();
    return 0;
}
