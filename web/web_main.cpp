// The web entry point. The page's script (page.js) turns the browser's input into calls of
// these functions, each of which hands one input event to the dispatcher, stamped with the
// clock's reading, as the program's GLUT callbacks do; the browser's animation frame calls
// tessera_frame, which runs the idle step (or the replay's next events) and draws. Nothing
// here sleeps or loops: the browser owns the loop.
#include "canvas/canvas.h"
#include "photo/photo_options.h"
#include "photo/picture_set_buffers.h"
#include "photo/picture_set_summary.h"
#include "photo/upright_photo.h"
#include "session/input_dispatcher.h"
#include "session/picture_checksum.h"
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
#include <string>
#include <utility>

namespace {

// The default picture set, which the page puts in the module's file system before start.
const char* const pictureSet = "fruit";

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

// The recording's picture must be the default set, byte for byte: the page has no other.
std::string checkReplayPicture(const tessera::ReplayHeader& header) {
    if (header.picture != tessera::ReplayHeader::DefaultPicture) {
        return "the session was recorded on " + header.picturePath +
               ", which this page does not have; it plays sessions of the default picture";
    }
    std::uint64_t sum = 0;
    const std::string base(pictureSet);
    if (std::string error =
            tessera::checksumFiles({base + ".ppm", base + "_mask.pgm", base + ".map"}, sum);
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

std::string openReplay(const char* path, const char* name, int width, int height) {
    tessera::ReplayHeader header;
    if (std::string error = recordingFault(path, name, header); !error.empty()) {
        return error;
    }
    if (std::string error = playback.open(path); !error.empty()) {
        return error;
    }
    theCanvas.clearAfterSeconds = header.clearAfterSeconds;
    theCanvas.idleScatterSeconds = header.idleScatterSeconds;
    theCanvas.maxShapes = static_cast<std::size_t>(header.maxShapes);
    theCanvas.referenceDrawing = header.referenceDrawing;
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

// The session from its start, as the program records one of the default picture.
std::string startRecording(int width, int height) {
    tessera::ReplayHeader header;
    header.width = width;
    header.height = height;
    const std::string base(pictureSet);
    if (std::string error = tessera::checksumFiles(
            {base + ".ppm", base + "_mask.pgm", base + ".map"}, header.checksum);
        !error.empty()) {
        return error;
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

// Makes the WebGL 2 context on the page's canvas and loads the picture set; with a
// recording's path (the file called name), plays it instead of taking input, and with
// record, records the session. A finger held within stillPixels of where it came down is
// held still. Returns an empty string, or what is wrong.
EMSCRIPTEN_KEEPALIVE const char* tessera_start(int width, int height, const char* replay,
                                               const char* name, int fast, int record,
                                               double stillPixels) {
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
    if (replay != nullptr && replay[0] != '\0') {
        message = openReplay(replay, name, width, height);
        if (!message.empty()) {
            return message.c_str();
        }
        fastReplay = fast != 0;
    }
    theCanvas.load(pictureSet);
    touches = std::make_unique<tessera::TouchInput>(theCanvas, dispatcher, stillPixels);
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
    if (std::string error =
            tessera::makePictureSetFromRgba(rgba, width, height, tessera::PhotoOptions{}, set);
        !error.empty()) {
        message = std::string(name) + ": " + error;
        return 0;
    }
    set.photoWidth = photoWidth;
    set.photoHeight = photoHeight;
    message = tessera::pictureSetSummary(name, set);
    tessera::PictureSetBuffers buffers = tessera::pictureSetBuffers(set);
    theCanvas.loadPictureSet(name, std::move(buffers.picture), std::move(buffers.mask),
                             std::move(buffers.regionMap));
    return 1;
}

// The frame the window shows, drawn again without a step: for a snapshot.
EMSCRIPTEN_KEEPALIVE void tessera_draw() {
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

EMSCRIPTEN_KEEPALIVE const char* tessera_message() {
    return message.c_str();
}

} // extern "C"
