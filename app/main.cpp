// Program entry and the window-system callbacks. Each callback only translates its
// arguments into an input event, stamped with the clock's reading, and hands it to the
// dispatcher, which forwards it to one Canvas operation. In a replay the events come from
// the file instead, and the real pointer and keyboard are ignored but for quitting.
#include "app/canvas.h"
#include "app/clock.h"
#include "app/command_line.h"
#include "app/frame_pacer.h"
#include "app/init_graphics.h"
#include "app/input_dispatcher.h"
#include "app/picture_checksum.h"
#include "app/picture_source.h"
#include "app/prepared_picture.h"
#include "app/recorder.h"
#include "app/replay_picture.h"
#include "app/replay_playback.h"
#include "app/replay_reader.h"
#include "app/snapshot.h"
#include "app/stage.h"
#include "app/window_choice.h"

#include <GL/freeglut.h>
#if defined(__SANITIZE_ADDRESS__)
#include <sanitizer/lsan_interface.h>
#endif
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <thread>

namespace {

tessera::Canvas theCanvas;
tessera::FramePacer pacer(60.0);
// The real time the callbacks stamp events with, and the clock the Stage reads, held at
// each event's reading while the Canvas handles it.
tessera::SteadyClock liveClock;
tessera::VirtualClock heldClock;
tessera::InputDispatcher dispatcher(theCanvas, heldClock);
tessera::Recorder recorder;
tessera::ReplayPlayback playback;
bool fastReplay = false;
// The replay's first event and the real time it was played at, for its pace.
std::int64_t replayStartTicks = -1;
std::int64_t replayStartReal = 0;
int windowId = 0;

constexpr unsigned char graveAccent = 96;
constexpr unsigned char snapshotKey = 'p';

void postRedisplay() {
    glutPostWindowRedisplay(windowId);
}

// Draws the frame into the back buffer.
void drawWindow() {
    theCanvas.showFrame(dispatcher.width(), dispatcher.height());
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
    const std::string error =
        tessera::saveSnapshot(dispatcher.width(), dispatcher.height(), ".", name);
    if (error.empty()) {
        std::printf("snapshot %s\n", name.c_str());
    } else {
        std::fprintf(stderr, "tessera: cannot save a snapshot: %s\n", error.c_str());
    }
}

void quit() {
    if (glutGameModeGet(GLUT_GAME_MODE_ACTIVE) != 0) {
        glutLeaveGameMode();
    }
    std::exit(1);
}

void reshapeCallback(int width, int height) {
    dispatcher.deliver(tessera::InputEvent::reshape(liveClock.ticks(), width, height));
}

void idleCallback() {
    pacer.wait();
    dispatcher.deliverIdle(liveClock.ticks());
    postRedisplay();
}

void keyboardCallback(unsigned char key, int, int) {
    dispatcher.deliver(tessera::InputEvent::keyPress(liveClock.ticks(), key));
    postRedisplay();
    if (key == snapshotKey) {
        takeSnapshot();
    }
    if (key == graveAccent) {
        quit();
    }
}

void mouseCallback(int button, int state, int x, int y) {
    if (state == GLUT_DOWN) {
        dispatcher.deliver(tessera::InputEvent::press(liveClock.ticks(), button, x, y));
    } else if (state == GLUT_UP) {
        dispatcher.deliver(tessera::InputEvent::release(liveClock.ticks(), button, x, y));
    }
    postRedisplay();
}

void motionCallback(int x, int y) {
    dispatcher.deliver(tessera::InputEvent::motion(liveClock.ticks(), x, y));
    postRedisplay();
}

// Waits until as much real time has passed since the replay began as had passed in the
// session at this event.
void keepRecordedPace(std::int64_t ticks) {
    if (replayStartTicks < 0) {
        replayStartTicks = ticks;
        replayStartReal = liveClock.ticks();
    }
    const std::int64_t due = replayStartReal + (ticks - replayStartTicks);
    const std::int64_t now = liveClock.ticks();
    if (!fastReplay && due > now) {
        std::this_thread::sleep_for(std::chrono::nanoseconds(due - now));
    }
}

// Plays the recorded events up to and including the next idle step; once they are all
// played the last frame stays.
void replayIdleCallback() {
    if (playback.ended()) {
        pacer.wait();
        return;
    }
    tessera::InputEvent event;
    std::string error;
    while (playback.next(event, error)) {
        if (event.kind == tessera::InputEvent::Idle) {
            keepRecordedPace(event.ticks);
        }
        dispatcher.deliver(event);
        if (event.kind == tessera::InputEvent::Key && event.key == snapshotKey) {
            takeSnapshot();
        }
        if (event.kind == tessera::InputEvent::Idle) {
            postRedisplay();
            return;
        }
    }
    if (!error.empty()) {
        std::fprintf(stderr, "tessera: %s\n", error.c_str());
        std::exit(255);
    }
    std::printf("replay ended\n");
    postRedisplay();
}

void replayKeyboardCallback(unsigned char key, int, int) {
    if (key == graveAccent) {
        quit();
    }
}

// Full screen at 640 x 480 where the display allows it; otherwise (a virtual X server, most
// current desktops, or a mode offered that will not come on) an ordinary window of the
// given size, which behaves the same.
void openWindow(const tessera::WindowRequest& request, int width, int height) {
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
    glutInitWindowSize(width, height);
    glutCreateWindow("tessera");
}

// What a recording notes before its events: the window, the picture as the command line
// gave it, the options that shape it and the session, and the checksum of its bytes.
std::string startRecording(const tessera::CommandLine& options,
                           const tessera::PictureSource& picture) {
    tessera::ReplayHeader header;
    header.width = glutGet(GLUT_WINDOW_WIDTH);
    header.height = glutGet(GLUT_WINDOW_HEIGHT);
    header.picturePath = options.picture;
    if (options.picture.empty()) {
        header.picture = tessera::ReplayHeader::DefaultPicture;
    } else if (picture.kind == tessera::PictureSource::Photograph) {
        header.picture = tessera::ReplayHeader::Photograph;
        header.photo = options.photo;
    } else {
        header.picture = tessera::ReplayHeader::PictureSet;
    }
    header.clearAfterSeconds = options.clearAfterSeconds;
    header.maxShapes = options.maxShapes;
    header.referenceDrawing = options.referenceDrawing;
    if (std::string error = tessera::checksumFiles(tessera::pictureFiles(picture), header.checksum);
        !error.empty()) {
        return error;
    }
    if (std::string error = recorder.start(header); !error.empty()) {
        return error;
    }
    dispatcher.setListener(&recorder);
    return "";
}

int fail(const std::string& message, int status) {
    std::fprintf(stderr, "tessera: %s\n", message.c_str());
    return status;
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
    const bool replaying = !options.replay.empty();
    tessera::ReplayHeader header;
    tessera::PictureSource picture;
    if (replaying) {
        // The whole file is read once first: a bad one never half plays.
        if (std::string error = tessera::checkReplayFile(options.replay, header); !error.empty()) {
            return fail(error, 255);
        }
        if (std::string error =
                tessera::replayPicture(header, options.picture, tessera::executablePath(), picture);
            !error.empty()) {
            return fail(error, 255);
        }
        options.photo = header.photo;
        options.clearAfterSeconds = header.clearAfterSeconds;
        options.maxShapes = header.maxShapes;
        options.referenceDrawing = header.referenceDrawing;
        if (std::string error = playback.open(options.replay); !error.empty()) {
            return fail(error, 255);
        }
        fastReplay = options.fast;
    } else {
        picture = tessera::choosePicture(options.picture, tessera::executablePath());
    }
    if (options.photoOptionsGiven && picture.kind == tessera::PictureSource::PictureSetFiles) {
        std::fprintf(stderr,
                     "tessera: --regions, --cells, --fit and --max-size shape a photograph; %s "
                     "is not a JPEG or PNG file\n%s",
                     picture.path.c_str(), tessera::usageText().c_str());
        return 2;
    }
    tessera::PreparedPicture prepared;
    std::string summary;
    if (std::string error = prepared.prepare(picture, options.photo, summary); !error.empty()) {
        return fail(error, 255);
    }
    if (!summary.empty()) {
        std::printf("%s\n", summary.c_str());
    }
    if (!options.record.empty()) {
        if (std::string error = recorder.open(options.record); !error.empty()) {
            return fail("cannot record: " + error, 255);
        }
    }

    tessera::Stage* stage = tessera::Stage::instance();
    // Everything the Canvas stamps with a time, from the load on, reads the held clock.
    stage->setClock(&heldClock);
    // The command line is ours: GLUT gets the program name only.
    int glutArgc = 1;
    glutInit(&glutArgc, argv);
    glutInitDisplayMode(GLUT_RGB | GLUT_DOUBLE | GLUT_DEPTH);
    // --window never tries full screen; by default and with --fullscreen it is tried.
    openWindow(tessera::WindowRequest{options.windowMode != tessera::WindowMode::Window},
               header.width, header.height);
    if (replaying) {
        glutDisplayFunc(displayCallback);
        glutIdleFunc(replayIdleCallback);
        glutKeyboardFunc(replayKeyboardCallback);
    } else {
        glutMouseFunc(mouseCallback);
        glutMotionFunc(motionCallback);
        glutReshapeFunc(reshapeCallback);
        glutDisplayFunc(displayCallback);
        glutIdleFunc(idleCallback);
        glutKeyboardFunc(keyboardCallback);
        glutPassiveMotionFunc(motionCallback);
    }
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
    prepared.loadInto(theCanvas);
    if (!options.record.empty()) {
        if (std::string error = startRecording(options, picture); !error.empty()) {
            return fail("cannot record: " + error, 255);
        }
    }
    heldClock.set(liveClock.ticks());
    stage->elapsed(); // the first idle step measures from here
    glutMainLoop();
    return 0;
}
