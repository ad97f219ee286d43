// Program entry and the window-system callbacks. Each callback only translates its
// arguments into an input event, stamped with the clock's reading, and hands it to the
// dispatcher, which forwards it to one Canvas operation. In a replay the events come from
// the file instead, and the real pointer and keyboard are ignored but for quitting. With
// an invitation, live input goes past it first: it may play a recording while the board
// waits for a visitor, and hands the board over at the first press or key.
#include "app/command_line.h"
#include "app/frame_pacer.h"
#include "app/init_graphics.h"
#include "app/kiosk_keys.h"
#include "app/output_target.h"
#include "app/photo_folder.h"
#include "app/photograph_in_preparation.h"
#include "app/picture_source.h"
#include "app/prepared_picture.h"
#include "app/replay_picture.h"
#include "app/snapshot.h"
#include "app/touch_controls.h"
#include "app/version.h"
#include "app/window_choice.h"
#include "app/window_lifeline.h"
#include "canvas/canvas.h"
#include "frame/render_scale.h"
#include "session/input_dispatcher.h"
#include "session/invitation.h"
#include "session/picture_checksum.h"
#include "session/recorder.h"
#include "session/replay_at_size.h"
#include "session/replay_pace.h"
#include "session/replay_playback.h"
#include "session/replay_reader.h"
#include "session/replay_writer.h"
#include "session/touch_input.h"
#include "stage/clock.h"
#include "stage/stage.h"

#include <GL/freeglut.h>
#include <X11/Xlib.h>
#if defined(__SANITIZE_ADDRESS__)
#include <sanitizer/lsan_interface.h>
#endif
#include <algorithm>
#include <chrono>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <memory>
#include <optional>
#include <random>
#include <string>
#include <thread>
#include <unistd.h>
#include <utility>

namespace {

tessera::Canvas theCanvas;
tessera::FramePacer pacer(60.0);
tessera::RenderScale renderScale = tessera::RenderScale::fixed(1.0);
// The real time the callbacks stamp events with, and the clock the Stage reads, held at
// each event's reading while the Canvas handles it.
tessera::SteadyClock liveClock;
tessera::VirtualClock heldClock;
tessera::InputDispatcher dispatcher(theCanvas, heldClock);
tessera::Recorder recorder(theCanvas);
// With --touch, X11's first button: a touch screen's finger, turned into mouse events.
tessera::TouchInput touch(theCanvas, dispatcher);
// With --touch, the keys a finger cannot otherwise reach, over the frame; a touch that lands
// on one is its key's, to the touch's end.
std::unique_ptr<tessera::TouchControls> touchControls;
bool touchOnControl = false;
tessera::ReplayPlayback playback;
// A replay plays at the size of its own window, whatever the recorded one's.
tessera::ReplayAtSize replaySize(640, 480, 640, 480);
bool fastReplay = false;
bool replaySnapshots = false;
tessera::ReplayPace replayPace;
// The replay's next event, read but not yet played: an idle step waits here until due.
tessera::InputEvent pendingEvent;
bool eventPending = false;
int windowId = 0;
tessera::KioskKeys kioskKeys(false);
// With --photos: the folder, what makes each photograph a picture set, the clears already
// answered with the next photograph, the one being prepared, and a finished one waiting for
// a board without shapes.
std::shared_ptr<tessera::PhotoFolder> photoFolder;
tessera::PhotoOptions photoOptions;
std::uint64_t clearsAnswered = 0;
std::unique_ptr<tessera::PhotographInPreparation> preparing;
std::optional<tessera::PhotographInPreparation::Result> finished;
// Why the picture stayed, as last said: a folder left with nothing to show says so once,
// not at every clear of a month's show, until a photograph is shown again.
std::string pictureStaysBecause;
// In a kiosk SIGTERM, SIGINT and SIGHUP end the show as the owner's chord does, between
// frames.
volatile std::sig_atomic_t endAsked = 0;

static_assert(tessera::KioskKeys::shift == GLUT_ACTIVE_SHIFT &&
              tessera::KioskKeys::control == GLUT_ACTIVE_CTRL &&
              tessera::KioskKeys::alt == GLUT_ACTIVE_ALT);
std::unique_ptr<tessera::Invitation> invitation;

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
    const auto drawStart = std::chrono::steady_clock::now();
    theCanvas.renderScale = renderScale.scale();
    drawWindow();
    glutSwapBuffers();
    if (renderScale.frameTook(
            std::chrono::duration<double>(std::chrono::steady_clock::now() - drawStart).count())) {
        std::printf("render scale %g\n", renderScale.scale());
    }
}

// The frame the window shows, drawn afresh into the back buffer and saved in the current
// folder. A folder that cannot be written costs the snapshot, not the session.
// The controls for a finger are the window's, not the picture's: the snapshot leaves them out.
void takeSnapshot() {
    tessera::Overlay controls;
    std::swap(controls, theCanvas.overlay);
    theCanvas.renderScale = 1.0; // at the window's full size
    drawWindow();
    std::swap(controls, theCanvas.overlay);
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

void endWithStatus(int status) {
    if (glutGameModeGet(GLUT_GAME_MODE_ACTIVE) != 0) {
        glutLeaveGameMode();
    }
    std::exit(status);
}

void quit() {
    endWithStatus(1);
}

// Should a frame take long, the end comes anyway a second after it was asked, without
// leaving the game mode: the owner's way out must not wait on whatever the frame does.
void endNow(int) {
    constexpr char said[] = "tessera: the show did not end within a second; ending it now\n";
    ssize_t ignored = ::write(STDERR_FILENO, said, sizeof said - 1);
    static_cast<void>(ignored);
    ::_exit(0);
}

void askToEnd(int) {
    endAsked = 1;
    ::alarm(1);
}

void endIfAsked() {
    if (endAsked != 0 || tessera::closeRequested()) {
        endWithStatus(0);
    }
    if (tessera::windowLost()) {
        std::fputs("tessera: the window was destroyed\n", stderr);
        endWithStatus(tessera::lostWindowStatus);
    }
}

void showPhotograph(const std::string& path, tessera::PictureSetBuffers& buffers) {
    theCanvas.loadPictureSet(path.c_str(), std::move(buffers.picture), std::move(buffers.mask),
                             std::move(buffers.regionMap));
}

void reportSkipped(const std::vector<std::string>& skipped) {
    for (const std::string& line : skipped) {
        std::fprintf(stderr, "tessera: %s; skipped\n", line.c_str());
    }
}

// The folder's first photograph, made before the window opens; each one that cannot be
// read is named as it is passed over.
std::string firstPhotograph(tessera::PictureSetBuffers& buffers, std::string& path,
                            std::string& summary) {
    std::vector<std::string> skipped;
    std::string error = photoFolder->next(photoOptions, buffers, path, summary, skipped);
    reportSkipped(skipped);
    return error;
}

// After each clear the next photograph is prepared off this thread, and shown once it is
// finished and the board has no shapes; one somebody painted on meanwhile waits for the
// next clear. A folder with none left that can be read keeps the picture: the show goes on.
void followPhotoFolder() {
    if (photoFolder == nullptr) {
        return;
    }
    // An invitation's clears are undone with it.
    const bool inviting = invitation != nullptr && invitation->playing();
    const bool cleared = theCanvas.clearCount != clearsAnswered && !inviting;
    if (cleared) {
        clearsAnswered = theCanvas.clearCount;
        if (!finished) {
            preparing->start();
        }
    }
    if (!finished) {
        tessera::PhotographInPreparation::Result result;
        if (!preparing->take(result)) {
            return;
        }
        reportSkipped(result.skipped);
        if (!result.error.empty()) {
            if (result.error != pictureStaysBecause) {
                std::fprintf(stderr, "tessera: %s; the picture stays\n", result.error.c_str());
                pictureStaysBecause = result.error;
            }
            return;
        }
        pictureStaysBecause.clear();
        finished = std::move(result);
    }
    const bool bare = theCanvas.shapes.empty() && theCanvas.heldButtons == 0 && !inviting;
    if (cleared || bare) {
        std::printf("%s\n", finished->summary.c_str());
        showPhotograph(finished->path, finished->buffers);
        finished.reset();
    }
}

void reshapeCallback(int width, int height) {
    if (touchControls != nullptr) {
        touchControls->layOut(width, height, theCanvas.overlay);
    }
    dispatcher.deliver(tessera::InputEvent::reshape(liveClock.ticks(), width, height));
}

// The frame is the invitation's when it plays one.
void deliverFrame(std::int64_t now) {
    if (invitation == nullptr || !invitation->frame(now)) {
        dispatcher.deliverIdle(now);
    }
}

// A press or key ends an invitation before it acts; other pointer input is nobody's while
// one plays.
void handOver(std::int64_t now) {
    if (invitation != nullptr) {
        invitation->handOver(now);
    }
}

bool passes(std::int64_t now) {
    return invitation == nullptr || invitation->passes(now);
}

void idleCallback() {
    const std::int64_t now = liveClock.ticksAt(pacer.wait());
    endIfAsked();
    deliverFrame(now);
    followPhotoFolder();
    postRedisplay();
}

// A key the kiosk ignores reaches neither the Canvas nor the recording, so that a
// recording replays the same without knowing of the kiosk.
void pressKey(unsigned char key, int modifiers) {
    const tessera::KioskKeys::Action action = kioskKeys.action(key, modifiers);
    if (action == tessera::KioskKeys::Ignore) {
        return;
    }
    if (action == tessera::KioskKeys::EndShow) {
        endWithStatus(0);
    }
    handOver(liveClock.ticks());
    dispatcher.deliver(tessera::InputEvent::keyPress(liveClock.ticks(), key));
    postRedisplay();
    if (key == snapshotKey) {
        takeSnapshot();
    }
    if (action == tessera::KioskKeys::ForwardAndQuit) {
        quit();
    }
}

void keyboardCallback(unsigned char key, int, int) {
    pressKey(key, glutGetModifiers());
}

void mouseCallback(int button, int state, int x, int y) {
    const std::int64_t now = liveClock.ticks();
    if (state == GLUT_DOWN) {
        handOver(now);
        dispatcher.deliver(tessera::InputEvent::press(now, button, x, y));
    } else if (state == GLUT_UP && passes(now)) {
        dispatcher.deliver(tessera::InputEvent::release(now, button, x, y));
    }
    postRedisplay();
}

void motionCallback(int x, int y) {
    const std::int64_t now = liveClock.ticks();
    if (passes(now)) {
        dispatcher.deliver(tessera::InputEvent::motion(now, x, y));
    }
    postRedisplay();
}

// With --touch the first button's presses, its moves and the passing time go through the
// touch translator; the other buttons and the pointer without a touch stay the mouse's.
void touchIdleCallback() {
    const std::int64_t now = liveClock.ticksAt(pacer.wait());
    endIfAsked();
    touch.tick(now);
    deliverFrame(now);
    followPhotoFolder();
    postRedisplay();
}

void touchMouseCallback(int button, int state, int x, int y) {
    if (button != GLUT_LEFT_BUTTON) {
        mouseCallback(button, state, x, y);
        return;
    }
    // The controls are hit first: a touch on one is its key, and the touch's lift is its too.
    if (state == GLUT_DOWN && touchControls != nullptr) {
        if (const unsigned char key = touchControls->keyAt(x, y); key != 0) {
            touchOnControl = true;
            pressKey(key, 0);
            return;
        }
    }
    if (state == GLUT_UP && std::exchange(touchOnControl, false)) {
        return;
    }
    const std::int64_t now = liveClock.ticks();
    if (state == GLUT_DOWN) {
        handOver(now);
        touch.touchDown(0, x, y, now);
    } else if (state == GLUT_UP && passes(now)) {
        touch.touchUp(0, x, y, now);
    }
    postRedisplay();
}

void touchMotionCallback(int x, int y) {
    if (!touch.touching()) {
        motionCallback(x, y);
        return;
    }
    const std::int64_t now = liveClock.ticks();
    if (passes(now)) {
        touch.touchMoved(0, x, y, now);
    }
    postRedisplay();
}

// Plays the recorded events up to and including the next idle step, once that is due at
// the recorded pace. Until then, and once they are all played, it waits a frame at most
// and returns: the window goes on answering through any pause in the recording.
void replayIdleCallback() {
    endIfAsked();
    if (playback.ended() && !eventPending) {
        pacer.wait();
        return;
    }
    std::string error;
    while (eventPending || playback.next(pendingEvent, error)) {
        eventPending = true;
        if (pendingEvent.kind == tessera::InputEvent::Idle && !fastReplay) {
            constexpr std::int64_t framePeriod = 1000000000 / 60;
            const std::int64_t wait = replayPace.waitFor(pendingEvent.ticks, liveClock.ticks());
            if (wait > 0) {
                std::this_thread::sleep_for(std::chrono::nanoseconds(std::min(wait, framePeriod)));
                return;
            }
        }
        eventPending = false;
        dispatcher.deliver(replaySize.map(pendingEvent, theCanvas));
        if (replaySnapshots && pendingEvent.kind == tessera::InputEvent::Key &&
            pendingEvent.key == snapshotKey) {
            takeSnapshot();
        }
        if (pendingEvent.kind == tessera::InputEvent::Idle) {
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

// The window's own size changes are not the session's: the clock stays where the
// recording has it.
void replayReshapeCallback(int width, int height) {
    replaySize.resize(width, height);
    dispatcher.deliver(tessera::InputEvent::reshape(heldClock.ticks(), width, height));
}

void replayKeyboardCallback(unsigned char key, int, int) {
    switch (kioskKeys.action(key, glutGetModifiers())) {
    case tessera::KioskKeys::ForwardAndQuit:
        quit();
        break;
    case tessera::KioskKeys::EndShow:
        endWithStatus(0);
        break;
    default:
        break;
    }
}

// The 640 x 480 game mode where it is asked for and the display has it; otherwise a window
// that fills the screen at its own resolution (a virtual X server, most current desktops,
// or a mode offered that will not come on), or an ordinary window of the given size.
void openWindow(tessera::WindowRequest request, int width, int height) {
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

// What a recording notes before its events: the picture as the command line gave it, the
// options that shape it and the session, and the checksum of its bytes. Made before the
// window opens, so that a picture that cannot be recorded stops the start; the window's
// size is filled in once it is open.
std::string describeRecording(const tessera::CommandLine& options,
                              const tessera::PictureSource& picture,
                              tessera::ReplayHeader& header) {
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
    header.idleScatterSeconds = options.idleScatterSeconds;
    header.maxShapes = options.maxShapes;
    header.referenceDrawing = options.referenceDrawing;
    header.leastToolPixels = theCanvas.leastToolPixels;
    if (std::string error = tessera::replayHeaderError(header); !error.empty()) {
        return error;
    }
    return tessera::checksumFiles(tessera::pictureFiles(picture), header.checksum);
}

// Creates the recording, the last step of the start, and writes its header.
std::string startRecording(const std::string& path, tessera::ReplayHeader header) {
    header.width = glutGet(GLUT_WINDOW_WIDTH);
    header.height = glutGet(GLUT_WINDOW_HEIGHT);
    header.board = {theCanvas.boardWidth, theCanvas.boardHeight};
    if (std::string error = recorder.open(path); !error.empty()) {
        return error;
    }
    if (std::string error = recorder.start(header); !error.empty()) {
        return error;
    }
    dispatcher.setListener(&recorder);
    return "";
}

// freeglut ends the process with status 1, the quit key's, when it cannot open the
// display; asking first gives that its own message and status.
constexpr int noDisplayStatus = 3;

// Opens the display to see that it answers. The connection is kept until GLUT has its own:
// a server whose last client leaves resets (a bare Xvfb, or xinit with this as its only
// client), and GLUT's connection would then come while the server is not there.
struct DisplayCloser {
    void operator()(Display* display) const { XCloseDisplay(display); }
};
using DisplayConnection = std::unique_ptr<Display, DisplayCloser>;

std::string openDisplay(DisplayConnection& display) {
    display.reset(XOpenDisplay(nullptr));
    if (display != nullptr) {
        return "";
    }
    const std::string name = XDisplayName(nullptr);
    return name.empty() ? "no display: DISPLAY is not set" : "cannot open display '" + name + "'";
}

// A replay opens a window of the recorded size unless told otherwise.
tessera::WindowRequest windowRequest(const tessera::CommandLine& options, bool replaying) {
    switch (options.windowMode) {
    case tessera::WindowMode::FullScreen:
        return tessera::WindowRequest::FullScreen;
    case tessera::WindowMode::Window:
        return tessera::WindowRequest::Window;
    case tessera::WindowMode::Default:
        break;
    }
    return replaying ? tessera::WindowRequest::Window : tessera::WindowRequest::GameModeFirst;
}

int fail(const std::string& message, int status) {
    std::fprintf(stderr, "tessera: %s\n", message.c_str());
    return status;
}

} // namespace

int main(int argc, char** argv) {
    // Lines reach a pipe as they are printed, not when the buffer fills. What is printed is
    // a log of the session: a reader that went away must not end it.
    std::setvbuf(stdout, nullptr, _IOLBF, 0);
    std::signal(SIGPIPE, SIG_IGN);
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
    if (options.version) {
        std::printf("tessera %s\n", TESSERA_VERSION);
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
                tessera::replayPicture(header, options.replay, options.picture,
                                       "name where it is after the recording: tessera --replay " +
                                           options.replay + " PICTURE",
                                       tessera::executablePath(), picture);
            !error.empty()) {
            return fail(error, 255);
        }
        options.photo = header.photo;
        options.clearAfterSeconds = header.clearAfterSeconds;
        options.idleScatterSeconds = header.idleScatterSeconds;
        options.maxShapes = header.maxShapes;
        options.referenceDrawing = header.referenceDrawing;
        if (std::string error = playback.open(options.replay); !error.empty()) {
            return fail(error, 255);
        }
        fastReplay = options.fast;
        replaySnapshots = options.snapshots;
    } else if (options.photos.empty()) {
        picture = tessera::choosePicture(options.picture, tessera::executablePath());
    }
    if (!options.photos.empty()) {
        photoFolder = std::make_shared<tessera::PhotoFolder>(
            options.photos,
            options.shuffle ? tessera::PhotoFolder::Shuffled : tessera::PhotoFolder::NameOrder,
            std::random_device{}());
        photoOptions = options.photo;
    }
    if (photoFolder == nullptr && options.photoOptionsGiven &&
        picture.kind == tessera::PictureSource::PictureSetFiles) {
        std::fprintf(stderr,
                     "tessera: --regions, --cells, --fit and --max-size shape a photograph; %s "
                     "is not a JPEG or PNG file\n%s",
                     picture.path.c_str(), tessera::usageText().c_str());
        return 2;
    }
    if (!options.record.empty()) {
        tessera::SessionInputs inputs;
        for (const std::string& file : tessera::pictureFiles(picture)) {
            inputs.add(file);
        }
        if (std::string error = tessera::newFileFault(options.record, inputs); !error.empty()) {
            std::fprintf(stderr, "tessera: --record %s\n%s", error.c_str(),
                         tessera::usageText().c_str());
            return 2;
        }
    }
    tessera::ReplayHeader invitationHeader;
    if (options.invite) {
        if (options.inviteFile.empty()) {
            options.inviteFile = tessera::shippedDemo(tessera::executablePath());
        }
        if (std::string error = tessera::checkReplayFile(options.inviteFile, invitationHeader);
            !error.empty()) {
            return fail("--invite: " + error, 255);
        }
    }
    // What is wrong with the picture's files, or with the recording, is said before the
    // display is looked for, and the display before a photograph is decoded.
    if (std::string error =
            photoFolder != nullptr ? photoFolder->check() : tessera::pictureSourceError(picture);
        !error.empty()) {
        return fail(error, 255);
    }
    // A recording replays with the toolbar it was made with; fingers have one of their own.
    theCanvas.leastToolPixels = replaying       ? header.leastToolPixels
                                : options.touch ? tessera::TouchInput::toolPixels
                                                : 0.0;
    tessera::ReplayHeader recording;
    if (!options.record.empty()) {
        if (std::string error = describeRecording(options, picture, recording); !error.empty()) {
            return fail("cannot record: " + error, 255);
        }
        if (std::string error = tessera::checkOutputFolder(options.record); !error.empty()) {
            return fail("cannot record: " + error, 255);
        }
    }
    DisplayConnection display;
    if (std::string error = openDisplay(display); !error.empty()) {
        return fail(error, noDisplayStatus);
    }
    tessera::PreparedPicture prepared;
    tessera::PictureSetBuffers firstOfFolder;
    std::string photographPath;
    std::string summary;
    if (photoFolder != nullptr) {
        if (std::string error = firstPhotograph(firstOfFolder, photographPath, summary);
            !error.empty()) {
            return fail(error, 255);
        }
        preparing = std::make_unique<tessera::PhotographInPreparation>(photoFolder, photoOptions);
    } else if (std::string error = prepared.prepare(picture, options.photo, summary);
               !error.empty()) {
        return fail(error, 255);
    }
    if (!summary.empty()) {
        std::printf("%s\n", summary.c_str());
    }

    tessera::Stage* stage = tessera::Stage::instance();
    // Everything the Canvas stamps with a time, from the load on, reads the held clock.
    stage->setClock(&heldClock);
    // The command line is ours: GLUT gets the program name only.
    int glutArgc = 1;
    glutInit(&glutArgc, argv);
    display.reset();
    glutInitDisplayMode(GLUT_RGB | GLUT_DOUBLE | GLUT_DEPTH);
    const bool sizeGiven = options.windowWidth > 0;
    openWindow(windowRequest(options, replaying),
               sizeGiven   ? options.windowWidth
               : replaying ? header.width
                           : 640,
               sizeGiven   ? options.windowHeight
               : replaying ? header.height
                           : 480);
    kioskKeys = tessera::KioskKeys(options.kiosk);
    if (replaying) {
        replaySize = tessera::ReplayAtSize(header.width, header.height, glutGet(GLUT_WINDOW_WIDTH),
                                           glutGet(GLUT_WINDOW_HEIGHT));
        glutReshapeFunc(replayReshapeCallback);
        glutDisplayFunc(displayCallback);
        glutIdleFunc(replayIdleCallback);
        glutKeyboardFunc(replayKeyboardCallback);
    } else {
        if (options.touch) {
            // Only the keys a kiosk hears have a control there.
            std::vector<unsigned char> keys;
            for (const unsigned char key : tessera::TouchControls::allKeys()) {
                if (kioskKeys.action(key, 0) == tessera::KioskKeys::Forward) {
                    keys.push_back(key);
                }
            }
            touchControls = std::make_unique<tessera::TouchControls>(std::move(keys));
        }
        glutMouseFunc(options.touch ? touchMouseCallback : mouseCallback);
        glutMotionFunc(options.touch ? touchMotionCallback : motionCallback);
        glutReshapeFunc(reshapeCallback);
        glutDisplayFunc(displayCallback);
        glutIdleFunc(options.touch ? touchIdleCallback : idleCallback);
        glutKeyboardFunc(keyboardCallback);
        glutPassiveMotionFunc(motionCallback);
    }
    windowId = glutGetWindow();
    tessera::watchWindow(options.kiosk);
    if (options.kiosk) {
        // Nobody needs the pointer to paint under it: the light and the shapes follow it.
        glutSetCursor(GLUT_CURSOR_NONE);
        // The terminal or session a show was started from going away ends it as a stop does.
        for (int signal : {SIGTERM, SIGINT, SIGHUP}) {
            std::signal(signal, askToEnd);
        }
        std::signal(SIGALRM, endNow);
    }
    tessera::initGraphics();
#if defined(__SANITIZE_ADDRESS__)
    // NOTE: registered after the window opens, so that it runs before the GL driver is
    // unloaded at exit: the driver's own allocations can then be recognised and passed
    // over, and any leak of ours still fails the run.
    std::atexit(__lsan_do_leak_check);
#endif
    theCanvas.clearAfterSeconds = options.clearAfterSeconds;
    theCanvas.idleScatterSeconds = options.idleScatterSeconds;
    theCanvas.maxShapes = static_cast<std::size_t>(options.maxShapes);
    theCanvas.referenceDrawing = options.referenceDrawing;
    renderScale = options.renderScale;
    if (photoFolder != nullptr) {
        showPhotograph(photographPath, firstOfFolder);
    } else {
        prepared.loadInto(theCanvas);
    }
    if (!options.record.empty()) {
        if (std::string error = startRecording(options.record, recording); !error.empty()) {
            return fail("cannot record: " + error, 255);
        }
    }
    if (options.invite) {
        invitation = std::make_unique<tessera::Invitation>(
            theCanvas, heldClock, dispatcher, options.inviteFile, invitationHeader.width,
            invitationHeader.height, options.inviteAfterSeconds, liveClock.ticks());
        // A kiosk's rules hold for the invitation's keys as for a visitor's.
        invitation->setKeyFilter([](unsigned char key) {
            const tessera::KioskKeys::Action action = kioskKeys.action(key, 0);
            return action == tessera::KioskKeys::Forward ||
                   action == tessera::KioskKeys::ForwardAndQuit;
        });
    }
    heldClock.set(liveClock.ticks());
    stage->elapsed(); // the first idle step measures from here
    glutMainLoop();
    return 0;
}
