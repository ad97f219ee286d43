// Program entry and the window-system callbacks. Each callback only translates its
// arguments and forwards them to one Canvas operation.
#include "app/canvas.h"
#include "app/command_line.h"
#include "app/frame_pacer.h"
#include "app/init_graphics.h"
#include "app/photograph.h"
#include "app/picture_source.h"
#include "app/snapshot.h"
#include "app/stage.h"
#include "app/window_choice.h"

#include <GL/freeglut.h>
#if defined(__SANITIZE_ADDRESS__)
#include <sanitizer/lsan_interface.h>
#endif
#include <cstdio>
#include <cstdlib>
#include <string>
#include <utility>

namespace {

tessera::Canvas theCanvas;
tessera::FramePacer pacer(60.0);
int windowId = 0;
int windowWidth = 0;
int windowHeight = 0;

constexpr int windowedWidth = 640;
constexpr int windowedHeight = 480;
constexpr unsigned char graveAccent = 96;
constexpr unsigned char snapshotKey = 'p';

void postRedisplay() {
    glutPostWindowRedisplay(windowId);
}

// Draws the frame into the back buffer.
void drawWindow() {
    glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
    theCanvas.setProjection(0, 0, windowWidth, windowHeight);
    theCanvas.drawFrame(GL_RENDER);
    glFlush();
}

void displayCallback() {
    drawWindow();
    glutSwapBuffers();
}

// The frame the window shows, drawn afresh into the back buffer and saved in the current
// folder. A folder that cannot be written costs the snapshot, not the session.
void takeSnapshot() {
    drawWindow();
    glReadBuffer(GL_BACK);
    std::string name;
    const std::string error = tessera::saveSnapshot(windowWidth, windowHeight, ".", name);
    if (error.empty()) {
        std::printf("snapshot %s\n", name.c_str());
    } else {
        std::fprintf(stderr, "tessera: cannot save a snapshot: %s\n", error.c_str());
    }
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
    if (key == snapshotKey) {
        takeSnapshot();
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
    tessera::CommandLine options;
    const std::string usageError = tessera::parseCommandLine(argc - 1, argv + 1, options);
    if (!usageError.empty()) {
        std::fprintf(stderr, "tessera: %s\n%s", usageError.c_str(), tessera::usageText().c_str());
        return 2;
    }
    if (options.help) {
        std::fputs(tessera::usageText().c_str(), stdout);
        return 0;
    }
    const tessera::PictureSource picture =
        tessera::choosePicture(options.picture, tessera::executablePath());
    tessera::PictureSetBuffers photograph;
    if (picture.kind == tessera::PictureSource::Photograph) {
        std::string summary;
        const std::string error =
            tessera::preparePhotograph(picture.path, options.photo, photograph, summary);
        if (!error.empty()) {
            std::fprintf(stderr, "tessera: %s\n", error.c_str());
            return 255;
        }
        std::printf("%s\n", summary.c_str());
    } else if (picture.kind == tessera::PictureSource::OtherFile) {
        std::fprintf(stderr,
                     "tessera: %s: not a JPEG or PNG photograph (a picture set is named by the "
                     "common prefix of its files, as in data/fruit)\n",
                     picture.path.c_str());
        return 255;
    } else if (options.photoOptionsGiven) {
        std::fprintf(stderr,
                     "tessera: --regions, --cells, --fit and --max-size shape a photograph; %s "
                     "is not a JPEG or PNG file\n%s",
                     picture.path.c_str(), tessera::usageText().c_str());
        return 2;
    }

    tessera::Stage* stage = tessera::Stage::instance();
    // The command line is ours: GLUT gets the program name only.
    int glutArgc = 1;
    glutInit(&glutArgc, argv);
    glutInitDisplayMode(GLUT_RGB | GLUT_DOUBLE | GLUT_DEPTH);
    // --window never tries full screen; by default and with --fullscreen it is tried.
    openWindow(tessera::WindowRequest{options.windowMode != tessera::WindowMode::Window});
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
    theCanvas.clearAfterSeconds = options.clearAfterSeconds;
    theCanvas.maxShapes = static_cast<std::size_t>(options.maxShapes);
    theCanvas.referenceDrawing = options.referenceDrawing;
    if (picture.kind == tessera::PictureSource::Photograph) {
        theCanvas.loadPictureSet(picture.path.c_str(), std::move(photograph.picture),
                                 std::move(photograph.mask), std::move(photograph.regionMap));
    } else {
        theCanvas.load(picture.path.c_str());
    }
    stage->elapsed(); // the first idle step measures from here
    glutMainLoop();
    return 0;
}
