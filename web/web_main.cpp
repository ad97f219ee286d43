// The web entry point. The page's script (page.js) turns the browser's input into calls of
// these functions, each of which hands one input event to the dispatcher, stamped with the
// clock's reading, as the program's GLUT callbacks do; the browser's animation frame calls
// tessera_frame, which runs the idle step (or the replay's next events) and draws. Nothing
// here sleeps or loops: the browser owns the loop.
#include "canvas/canvas.h"
#include "frame/render_scale.h"
#include "photo/photo_options.h"
#include "photo/picture_set_buffers.h"
#include "photo/picture_set_summary.h"
#include "photo/upright_photo.h"
#include "session/input_dispatcher.h"
#include "session/picture_checksum.h"
#include "session/recorded_photo_name.h"
#include "session/recorder.h"
#include "session/replay_at_size.h"
#include "session/replay_pace.h"
#include "session/replay_playback.h"
#include "session/replay_reader.h"
#include "session/touch_input.h"
#include "stage/clock.h"
#include "stage/stage.h"

#include <algorithm>
#include <cinttypes>
#include <cstdio>
#include <emscripten/emscripten.h>
#include <emscripten/html5.h>
#include <memory>
#include <string>
#include <utility>
#include <vector>

namespace {

// The default picture set, which the page puts in the module's file system before start,
// and the photograph it was made from, for a screen far from its 4:3 shape.
const char* const pictureSet = "fruit";
const char* const defaultPhotograph = "fruits.jpg";
// The default photograph as the browser decoded it, RGBA rows top to bottom.
std::vector<unsigned char> defaultPixels;
int defaultPixelsWidth = 0;
int defaultPixelsHeight = 0;
// The shape (width / height) the default picture was made at from the photograph; 0 when
// it is the picture set.
double defaultShape = 0.0;

tessera::Canvas theCanvas;
tessera::SteadyClock liveClock;
tessera::VirtualClock heldClock;
tessera::InputDispatcher dispatcher(theCanvas, heldClock);
std::unique_ptr<tessera::TouchInput> touches;
tessera::Recorder recorder(theCanvas);
bool recording = false;
// Where a recording is written in the module's file system, for the page to save.
const char* const recordingPath = "/recording.tessera-replay";
tessera::ReplayPlayback playback;
tessera::ReplayAtSize replaySize(640, 480, 640, 480);
tessera::ReplayPace replayPace;
tessera::InputEvent pendingEvent;
bool eventPending = false;
bool replaying = false;
bool fastReplay = false;
bool replayOver = false;
std::string message;
tessera::RenderScale renderScale;

// The files the default picture is read from: the set, or the photograph it came from.
std::vector<std::string> defaultPictureFiles(bool fromPhotograph) {
    const std::string base(pictureSet);
    if (fromPhotograph) {
        return {defaultPhotograph};
    }
    return {base + ".ppm", base + "_mask.pgm", base + ".map"};
}

// How the default photograph is made the board at a shape.
tessera::PhotoOptions defaultPhotoOptions(double shape) {
    tessera::PhotoOptions options;
    options.shape = shape;
    return options;
}

// The default picture: the set, or with options.shape above 0 the default photograph made
// as they say. Returns what is wrong, or "".
std::string showDefaultPicture(const tessera::PhotoOptions& options) {
    if (options.shape <= 0.0) {
        defaultShape = 0.0;
        theCanvas.load(pictureSet);
        return "";
    }
    tessera::PictureSet set;
    if (std::string error = tessera::makePictureSetFromRgba(
            defaultPixels.data(), defaultPixelsWidth, defaultPixelsHeight, options, set);
        !error.empty()) {
        return std::string(defaultPhotograph) + ": " + error;
    }
    tessera::PictureSetBuffers buffers = tessera::pictureSetBuffers(set);
    theCanvas.loadPictureSet(defaultPhotograph, std::move(buffers.picture), std::move(buffers.mask),
                             std::move(buffers.regionMap));
    defaultShape = options.shape;
    return "";
}

// The person's photograph the page starts on, made ready before the start, and what a
// recording of it says: its file's name and the checksum of the file's bytes.
struct StartPhoto {
    tessera::PictureSet set;
    std::string name;
    std::uint64_t checksum = 0;
};
std::unique_ptr<StartPhoto> startPhoto;

// The recording's picture must be the default set, or the default photograph, byte for
// byte: the page has no other.
std::string checkReplayPicture(const tessera::ReplayHeader& header) {
    const bool photograph = header.picture == tessera::ReplayHeader::Photograph &&
                            header.picturePath == defaultPhotograph;
    if (header.picture != tessera::ReplayHeader::DefaultPicture && !photograph) {
        return "the session was recorded on " + header.picturePath +
               ", which this page does not have; it plays sessions of the default picture";
    }
    std::uint64_t sum = 0;
    if (std::string error = tessera::checksumFiles(defaultPictureFiles(photograph), sum);
        !error.empty()) {
        return error;
    }
    if (sum != header.checksum) {
        char sums[80];
        std::snprintf(sums, sizeof sums, "checksum %016" PRIx64 ", recorded %016" PRIx64, sum,
                      header.checksum);
        return std::string("the session was recorded on another default picture (") + sums + ")";
    }
    return "";
}

// What keeps the recording at path from playing on this page, with the file called name
// (the page's own path for it means nothing to a person), or "" when it plays: the checks
// a replay passes before it starts, which fill header.
std::string recordingFault(const std::string& path, const std::string& name,
                           tessera::ReplayHeader& header) {
    if (std::string error = tessera::checkReplayFile(path, header); !error.empty()) {
        if (error.compare(0, path.size(), path) == 0) {
            error.replace(0, path.size(), name);
        }
        return error;
    }
    if (std::string error = checkReplayPicture(header); !error.empty()) {
        return name + ": " + error;
    }
    return "";
}

// Why a photograph named name cannot become the board now, or "" when it can.
std::string photoRefusal(const char* name) {
    if (replaying) {
        return std::string(name) + ": a replay plays on its own picture";
    }
    if (recording) {
        return std::string(name) + ": a recording keeps the picture it began on; save it, then "
                                   "reload the page to show a photograph";
    }
    return "";
}

// Opens the recording and sets the Canvas up as it was recorded; picture then says how its
// default picture is made.
std::string openReplay(const char* path, const char* name, int width, int height,
                       tessera::PhotoOptions& picture) {
    tessera::ReplayHeader header;
    if (std::string error = recordingFault(path, name, header); !error.empty()) {
        return error;
    }
    picture = header.photo;
    if (header.picture != tessera::ReplayHeader::Photograph) {
        picture.shape = 0.0;
    }
    if (std::string error = playback.open(path); !error.empty()) {
        return error;
    }
    theCanvas.clearAfterSeconds = header.clearAfterSeconds;
    theCanvas.idleScatterSeconds = header.idleScatterSeconds;
    theCanvas.maxShapes = static_cast<std::size_t>(header.maxShapes);
    theCanvas.referenceDrawing = header.referenceDrawing;
    theCanvas.leastToolPixels = header.leastToolPixels;
    replaySize = tessera::ReplayAtSize(header.width, header.height, width, height);
    replaying = true;
    return "";
}

// Plays the recorded events up to and including the next idle step, once that is due at
// the recorded pace (at once when fast). Returns false once the file is played.
bool replayStep() {
    std::string error;
    while (eventPending || playback.next(pendingEvent, error)) {
        eventPending = true;
        if (pendingEvent.kind == tessera::InputEvent::Idle && !fastReplay &&
            replayPace.waitFor(pendingEvent.ticks, liveClock.ticks()) > 0) {
            return true;
        }
        eventPending = false;
        dispatcher.deliver(replaySize.map(pendingEvent, theCanvas));
        if (pendingEvent.kind == tessera::InputEvent::Idle) {
            return true;
        }
    }
    message = error;
    return false;
}

// The picture set of a photograph the browser has decoded (see tessera_photo), made as the
// program makes one given to it. Returns "" or what is wrong, with the photograph's name.
std::string photoSet(const unsigned char* rgba, int width, int height, int photoWidth,
                     int photoHeight, const char* name, tessera::PictureSet& set) {
    if (std::string error =
            tessera::makePictureSetFromRgba(rgba, width, height, tessera::PhotoOptions{}, set);
        !error.empty()) {
        return std::string(name) + ": " + error;
    }
    set.photoWidth = photoWidth;
    set.photoHeight = photoHeight;
    return "";
}

void showPhotoSet(const char* name, tessera::PictureSet& set) {
    tessera::PictureSetBuffers buffers = tessera::pictureSetBuffers(set);
    theCanvas.loadPictureSet(name, std::move(buffers.picture), std::move(buffers.mask),
                             std::move(buffers.regionMap));
}

// The session from its start, as the program records one of the default picture (or the
// default photograph it was made from) or of a photograph made with the default options,
// the page's only ones.
std::string startRecording(int width, int height) {
    tessera::ReplayHeader header;
    header.width = width;
    header.height = height;
    header.leastToolPixels = theCanvas.leastToolPixels;
    header.board = {theCanvas.boardWidth, theCanvas.boardHeight};
    if (startPhoto != nullptr) {
        header.picture = tessera::ReplayHeader::Photograph;
        header.picturePath = startPhoto->name;
        header.checksum = startPhoto->checksum;
    } else {
        if (defaultShape > 0.0) {
            header.picture = tessera::ReplayHeader::Photograph;
            header.picturePath = defaultPhotograph;
            header.photo = defaultPhotoOptions(defaultShape);
        }
        if (std::string error =
                tessera::checksumFiles(defaultPictureFiles(defaultShape > 0.0), header.checksum);
            !error.empty()) {
            return error;
        }
    }
    if (std::string error = recorder.open(recordingPath); !error.empty()) {
        return error;
    }
    if (std::string error = recorder.start(header); !error.empty()) {
        return error;
    }
    dispatcher.setListener(&recorder);
    recording = true;
    return "";
}

} // namespace

extern "C" {

// Makes the WebGL 2 context on the page's canvas and loads the default picture (at shape
// above 0, made from the default photograph at that width / height); with a recording's
// path (the file called name), plays it instead of taking input, on its own picture, and
// with record, records the session. A finger held within stillPixels of where it came down
// is held still, a tap leaves a shape at least tapPixels across, and each tool is at least
// toolPixels wide (0: the mouse's toolbar). Returns an empty string, or what is wrong.
EMSCRIPTEN_KEEPALIVE const char* tessera_start(int width, int height, const char* replay,
                                               const char* name, int fast, int record,
                                               double stillPixels, double tapPixels,
                                               double toolPixels, double shape) {
    EmscriptenWebGLContextAttributes attributes;
    emscripten_webgl_init_context_attributes(&attributes);
    attributes.majorVersion = 2;
    attributes.minorVersion = 0;
    attributes.alpha = EM_FALSE;
    attributes.depth = EM_TRUE;
    attributes.stencil = EM_FALSE;
    attributes.antialias = EM_FALSE;
    const EMSCRIPTEN_WEBGL_CONTEXT_HANDLE context =
        emscripten_webgl_create_context("#canvas", &attributes);
    if (context <= 0) {
        message = "this browser offers no WebGL 2";
        return message.c_str();
    }
    emscripten_webgl_make_context_current(context);
    tessera::Stage::instance()->setClock(&heldClock);
    theCanvas.leastToolPixels = std::clamp(toolPixels, 0.0, tessera::maxReplayToolPixels);
    tessera::PhotoOptions picture = defaultPhotoOptions(shape);
    if (replay != nullptr && replay[0] != '\0') {
        message = openReplay(replay, name, width, height, picture);
        if (!message.empty()) {
            return message.c_str();
        }
        fastReplay = fast != 0;
    }
    // One load only: each builds the toolbar, whose shapes draw from the random sequence
    // that a replay of the recording starts afresh.
    if (startPhoto != nullptr && !replaying) {
        showPhotoSet(startPhoto->name.c_str(), startPhoto->set);
        startPhoto->set = tessera::PictureSet{}; // the Canvas has its own copy
    } else if (message = showDefaultPicture(picture); !message.empty()) {
        return message.c_str();
    }
    touches = std::make_unique<tessera::TouchInput>(theCanvas, dispatcher, stillPixels, tapPixels);
    if (record != 0 && !replaying) {
        message = startRecording(width, height);
        if (!message.empty()) {
            return message.c_str();
        }
    }
    heldClock.set(liveClock.ticks());
    tessera::Stage::instance()->elapsed(); // the first idle step measures from here
    message.clear();
    return message.c_str();
}

// The default photograph, decoded by the page, width x height RGBA rows top to bottom: kept
// for the default picture made at a screen's shape. Given before tessera_start.
EMSCRIPTEN_KEEPALIVE void tessera_default_photo(const unsigned char* rgba, int width, int height) {
    defaultPixels.assign(rgba, rgba + static_cast<std::size_t>(width) * height * 4);
    defaultPixelsWidth = width;
    defaultPixelsHeight = height;
}

// The screen has turned: the default picture made from the photograph is made again at the
// new shape, while nothing would be lost (no shapes, no replay or recording, no photograph
// of the person's own). Returns 1 when it was.
EMSCRIPTEN_KEEPALIVE int tessera_default_shape(double shape) {
    if (defaultShape <= 0.0 || shape <= 0.0 || replaying || recording ||
        !theCanvas.shapes.empty() || theCanvas.heldButtons != 0 || touches->touching()) {
        return 0;
    }
    message = showDefaultPicture(defaultPhotoOptions(shape));
    return message.empty() ? 1 : 0;
}

// The canvas has a new size in its own pixels. A replay keeps the recorded clock.
EMSCRIPTEN_KEEPALIVE void tessera_resize(int width, int height) {
    if (replaying) {
        replaySize.resize(width, height);
        dispatcher.deliver(tessera::InputEvent::reshape(heldClock.ticks(), width, height));
    } else {
        dispatcher.deliver(tessera::InputEvent::reshape(liveClock.ticks(), width, height));
    }
}

// Buttons as GLUT numbers them: 0 left, 1 middle, 2 right; points in canvas pixels.
EMSCRIPTEN_KEEPALIVE void tessera_press(int button, int x, int y) {
    if (!replaying) {
        dispatcher.deliver(tessera::InputEvent::press(liveClock.ticks(), button, x, y));
    }
}

EMSCRIPTEN_KEEPALIVE void tessera_release(int button, int x, int y) {
    if (!replaying) {
        dispatcher.deliver(tessera::InputEvent::release(liveClock.ticks(), button, x, y));
    }
}

EMSCRIPTEN_KEEPALIVE void tessera_motion(int x, int y) {
    if (!replaying) {
        dispatcher.deliver(tessera::InputEvent::motion(liveClock.ticks(), x, y));
    }
}

// A key as GLUT reports it: its character code (Escape 27, Backspace 8, Delete 127).
EMSCRIPTEN_KEEPALIVE void tessera_key(int key) {
    if (!replaying) {
        dispatcher.deliver(tessera::InputEvent::keyPress(liveClock.ticks(), key));
    }
}

// A finger or a pen, by the browser's pointer id, as TouchInput takes it.
EMSCRIPTEN_KEEPALIVE void tessera_touch_down(int id, int x, int y) {
    if (!replaying) {
        touches->touchDown(id, x, y, liveClock.ticks());
    }
}

EMSCRIPTEN_KEEPALIVE void tessera_touch_move(int id, int x, int y) {
    if (!replaying) {
        touches->touchMoved(id, x, y, liveClock.ticks());
    }
}

EMSCRIPTEN_KEEPALIVE void tessera_touch_up(int id, int x, int y) {
    if (!replaying) {
        touches->touchUp(id, x, y, liveClock.ticks());
    }
}

// A finger has come to a page that began with the mouse's toolbar: the toolbar becomes one
// of tools at least toolPixels wide. Not in a replay, which has the recorded toolbar, nor
// while recording, whose header holds the toolbar it began with. Returns 1 when it changed.
EMSCRIPTEN_KEEPALIVE int tessera_finger_toolbar(double toolPixels) {
    if (replaying || recording || theCanvas.leastToolPixels > 0.0) {
        return 0;
    }
    theCanvas.leastToolPixels = std::clamp(toolPixels, 0.0, tessera::maxReplayToolPixels);
    return 1;
}

// The recording at path (in the module's file system), called name, checked as a replay
// is before it starts. Returns "" when this page can play it, else what is wrong.
EMSCRIPTEN_KEEPALIVE const char* tessera_check_recording(const char* path, const char* name) {
    tessera::ReplayHeader header;
    message = recordingFault(path, name, header);
    return message.c_str();
}

// Shapes on the board: the person's work, which the page does not throw away unasked.
EMSCRIPTEN_KEEPALIVE int tessera_shape_count() {
    return static_cast<int>(theCanvas.shapes.size());
}

// What the shapes are doing as a whole: 0 nothing, 1 scattering, 2 coming home.
EMSCRIPTEN_KEEPALIVE int tessera_animation() {
    return theCanvas.animationKind;
}

// Why a photograph cannot become the board now (a replay or a recording is under way), or
// "" when it can.
EMSCRIPTEN_KEEPALIVE const char* tessera_photo_refusal(const char* name) {
    message = photoRefusal(name);
    return message.c_str();
}

// The scale (at most 1) to which the browser may shrink a width x height photograph before
// handing it over, so that the picture made from it is as large as from the whole: the
// smallest that still covers the picture's largest size.
EMSCRIPTEN_KEEPALIVE double tessera_photo_scale(int width, int height) {
    const tessera::PhotoOptions options;
    return std::min(1.0, std::max(static_cast<double>(options.maxWidth) / width,
                                  static_cast<double>(options.maxHeight) / height));
}

// A photograph the browser has decoded, turned upright and perhaps shrunk to width x height,
// RGBA rows top to bottom, from a photograph of photoWidth x photoHeight, made the board as
// the program makes a photograph given to it. Returns 1 with the summary, or 0 with what is
// wrong, in tessera_message; the picture shown stays then.
EMSCRIPTEN_KEEPALIVE int tessera_photo(const unsigned char* rgba, int width, int height,
                                       int photoWidth, int photoHeight, const char* name) {
    message = photoRefusal(name);
    if (!message.empty()) {
        return 0;
    }
    tessera::PictureSet set;
    message = photoSet(rgba, width, height, photoWidth, photoHeight, name, set);
    if (!message.empty()) {
        return 0;
    }
    message = tessera::pictureSetSummary(name, set);
    showPhotoSet(name, set);
    defaultShape = 0.0;
    return 1;
}

// Why a recording cannot be made on the photograph with this file name, or "".
EMSCRIPTEN_KEEPALIVE const char* tessera_record_photo_refusal(const char* fileName) {
    std::string name;
    message = tessera::recordedPhotoName(fileName, name);
    return message.c_str();
}

// The photograph to start on instead of the default picture, called before tessera_start:
// decoded as tessera_photo takes it, from the file whose bytes lie at path in the module's
// file system, called fileName. Returns 1 with the summary, or 0 with what is wrong, in
// tessera_message.
EMSCRIPTEN_KEEPALIVE int tessera_start_photo(const unsigned char* rgba, int width, int height,
                                             int photoWidth, int photoHeight, const char* fileName,
                                             const char* path) {
    auto photo = std::make_unique<StartPhoto>();
    message = tessera::recordedPhotoName(fileName, photo->name);
    if (message.empty()) {
        message = photoSet(rgba, width, height, photoWidth, photoHeight, fileName, photo->set);
    }
    if (message.empty()) {
        message = tessera::checksumFiles({path}, photo->checksum);
    }
    if (!message.empty()) {
        return 0;
    }
    message = tessera::pictureSetSummary(fileName, photo->set);
    startPhoto = std::move(photo);
    return 1;
}

// The frame the window shows, drawn again without a step: for a snapshot.
EMSCRIPTEN_KEEPALIVE void tessera_draw() {
    theCanvas.renderScale = 1.0; // at the window's full size
    theCanvas.showFrame(dispatcher.width(), dispatcher.height());
}

// One animation frame: the idle step, or a replay's events up to its next one, then the
// frame. Returns 0 while running, 1 once a replay has played to its end, 2 once the
// recording has turned out damaged (tessera_message says how).
EMSCRIPTEN_KEEPALIVE int tessera_frame() {
    if (!replaying) {
        touches->tick(liveClock.ticks());
        dispatcher.deliverIdle(liveClock.ticks());
    } else if (!replayOver) {
        replayOver = !replayStep();
    }
    theCanvas.showFrame(dispatcher.width(), dispatcher.height());
    if (!replayOver) {
        return 0;
    }
    return message.empty() ? 1 : 2;
}

// The share of the canvas's width and height the next frames are drawn at: fixed (0.5 to 1),
// or with 0 chosen from the seconds between the last two frames (0: none yet).
EMSCRIPTEN_KEEPALIVE double tessera_render_scale(double fixed, double seconds) {
    if (fixed > 0.0) {
        return theCanvas.renderScale = tessera::RenderScale::fixed(fixed).scale();
    }
    renderScale.frameTook(seconds);
    return theCanvas.renderScale = renderScale.scale();
}

EMSCRIPTEN_KEEPALIVE const char* tessera_message() {
    return message.c_str();
}

} // extern "C"
