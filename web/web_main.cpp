// The web entry point. The page's script (page.js) turns the browser's input into calls of
// these functions, each handing one input to the show as the program's GLUT callbacks do;
// the browser's animation frame calls tessera_frame, which runs the idle step (or the
// replay's next events) and draws. Nothing here sleeps or loops: the browser owns the loop.
#include "replay/recorded_photo_name.h"
#include "session/show.h"
#include "web/page_pictures.h"
#include "web/webgl_context.h"

#include <algorithm>
#include <emscripten/emscripten.h>
#include <string>

namespace {

// Made at its first use, once the module's statics are (the Stage's own clock among them).
tessera::Show& show() {
    static tessera::Show running;
    return running;
}
tessera::PagePictures pictures;
// Where a recording is written in the module's file system, for the page to save.
const char* const recordingPath = "/recording.tessera-replay";
// What the last call has to say to the page.
std::string message;
// The keys the show hears, the kiosk's once the page asks for them.
tessera::KioskKeys keyRules(false);

} // namespace

extern "C" {
// A kiosk's page, asked before tessera_start: only the keys that paint and undo reach the
// show, and every finger paints its own stroke, none zooms or pans.
EMSCRIPTEN_KEEPALIVE void tessera_kiosk() {
    keyRules = tessera::KioskKeys(true);
    show().useKioskKeys(true);
}

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
    if (!tessera::makeWebGl2Context("#canvas")) {
        message = "this browser offers no WebGL 2";
        return message.c_str();
    }
    show().canvas.leastToolPixels = std::clamp(toolPixels, 0.0, tessera::maxReplayToolPixels);
    show().useTouch(stillPixels, tapPixels, false);
    show().useRenderScale(tessera::RenderScale()); // the page's own choice until it fixes one
    message = pictures.start(show(), width, height, replay, name, fast != 0, record != 0, shape,
                             recordingPath);
    if (message.empty()) {
        show().begin();
    }
    return message.c_str();
}

// The default photograph, decoded by the page, width x height RGBA rows top to bottom: kept
// for the default picture made at a screen's shape. Given before tessera_start.
EMSCRIPTEN_KEEPALIVE void tessera_default_photo(const unsigned char* rgba, int width, int height) {
    pictures.keepDefaultPhoto(rgba, width, height);
}

// The screen has turned: the default picture made from the photograph is made again at the
// new shape while nothing would be lost. Returns 1 when it was.
EMSCRIPTEN_KEEPALIVE int tessera_default_shape(double shape) {
    return pictures.reshapeDefault(show(), shape, message) ? 1 : 0;
}

// The canvas's size in its own pixels; points in canvas pixels; buttons as GLUT numbers them
// (0 left, 1 middle, 2 right); a key as GLUT reports it, by its character code (Escape 27,
// Backspace 8, Delete 127); a finger or a pen by the browser's pointer id.
EMSCRIPTEN_KEEPALIVE void tessera_resize(int width, int height) {
    show().resize(width, height);
}
EMSCRIPTEN_KEEPALIVE void tessera_press(int button, int x, int y) {
    show().press(button, x, y);
}
EMSCRIPTEN_KEEPALIVE void tessera_release(int button, int x, int y) {
    show().release(button, x, y);
}
EMSCRIPTEN_KEEPALIVE void tessera_motion(int x, int y) {
    show().motion(x, y);
}
// Returns what the show made of the key, as KioskKeys::Action numbers it.
EMSCRIPTEN_KEEPALIVE int tessera_key(int key) {
    return show().key(static_cast<unsigned char>(key), 0);
}
// Whether the show would hear the key, for the page's controls: only the kiosk's have one.
EMSCRIPTEN_KEEPALIVE int tessera_key_heard(int key) {
    return keyRules.action(static_cast<unsigned char>(key), 0) != tessera::KioskKeys::Ignore;
}
EMSCRIPTEN_KEEPALIVE void tessera_touch_down(int id, int x, int y) {
    show().touchDown(id, x, y);
}
EMSCRIPTEN_KEEPALIVE void tessera_touch_move(int id, int x, int y) {
    show().touchMoved(id, x, y);
}
EMSCRIPTEN_KEEPALIVE void tessera_touch_up(int id, int x, int y) {
    show().touchUp(id, x, y);
}

// A finger has come to a page that began with the mouse's toolbar: the toolbar becomes one
// of tools at least toolPixels wide. Not in a replay, which has the recorded toolbar, nor
// while recording, whose header holds the toolbar it began with. Returns 1 when it changed.
EMSCRIPTEN_KEEPALIVE int tessera_finger_toolbar(double toolPixels) {
    if (show().replaying() || show().recording() || show().canvas.leastToolPixels > 0.0) {
        return 0;
    }
    show().canvas.leastToolPixels = std::clamp(toolPixels, 0.0, tessera::maxReplayToolPixels);
    return 1;
}

// The recording at path (in the module's file system), called name: "" when this page can
// play it, else what is wrong.
EMSCRIPTEN_KEEPALIVE const char* tessera_check_recording(const char* path, const char* name) {
    tessera::ReplayHeader header;
    message = pictures.recordingFault(path, name, header);
    return message.c_str();
}

// Shapes on the board: the person's work, which the page does not throw away unasked.
EMSCRIPTEN_KEEPALIVE int tessera_shape_count() {
    return static_cast<int>(show().canvas.shapes.size());
}

// What the shapes are doing as a whole: 0 nothing, 1 scattering, 2 coming home.
EMSCRIPTEN_KEEPALIVE int tessera_animation() {
    return show().canvas.animationKind;
}

// Why a photograph cannot become the board now, or "" when it can.
EMSCRIPTEN_KEEPALIVE const char* tessera_photo_refusal(const char* name) {
    message = pictures.photoRefusal(show(), name);
    return message.c_str();
}

// The scale (at most 1) to which the browser may shrink a width x height photograph.
EMSCRIPTEN_KEEPALIVE double tessera_photo_scale(int width, int height) {
    return tessera::PagePictures::photoScale(width, height);
}

// A photograph the browser has decoded, turned upright and perhaps shrunk to width x height,
// RGBA rows top to bottom, from a photograph of photoWidth x photoHeight, made the board as
// the program makes a photograph given to it. Returns 1 with the summary, or 0 with what is
// wrong, in tessera_message; the picture shown stays then.
EMSCRIPTEN_KEEPALIVE int tessera_photo(const unsigned char* rgba, int width, int height,
                                       int photoWidth, int photoHeight, const char* name) {
    message = pictures.photoRefusal(show(), name);
    return message.empty() && pictures.showPhoto(show().canvas, rgba, width, height, photoWidth,
                                                 photoHeight, name, message);
}

// Why a recording cannot be made on the photograph with this file name, or "".
EMSCRIPTEN_KEEPALIVE const char* tessera_record_photo_refusal(const char* fileName) {
    std::string name;
    message = tessera::recordedPhotoName(fileName, name);
    return message.c_str();
}

// The photograph to start on instead of the default picture, called before tessera_start:
// decoded as tessera_photo takes it, from the file whose bytes lie at path in the module's
// file system, called fileName. Returns as tessera_photo does.
EMSCRIPTEN_KEEPALIVE int tessera_start_photo(const unsigned char* rgba, int width, int height,
                                             int photoWidth, int photoHeight, const char* fileName,
                                             const char* path) {
    return pictures.keepStartPhoto(rgba, width, height, photoWidth, photoHeight, fileName, path,
                                   message);
}

// The frame the window shows, drawn again without a step at its full size: for a snapshot.
EMSCRIPTEN_KEEPALIVE void tessera_draw() {
    show().drawForSnapshot();
}

// The share of the canvas's width and height the next frames are drawn at: fixed (0.5 to 1),
// or with 0 chosen from the seconds between the last two frames (0: none yet).
EMSCRIPTEN_KEEPALIVE double tessera_render_scale(double fixed, double seconds) {
    if (fixed > 0.0) {
        show().useRenderScale(tessera::RenderScale::fixed(fixed));
    } else {
        show().frameTook(seconds);
    }
    return show().renderScale();
}

// One animation frame: the idle step, or a replay's events up to its next one, then the
// frame. Returns 0 while running, 1 once a replay has played to its end, 2 once the
// recording has turned out damaged (tessera_message says how).
EMSCRIPTEN_KEEPALIVE int tessera_frame() {
    if (!show().replaying()) {
        show().step(show().now());
    } else if (!show().replayOver()) {
        std::int64_t wait = 0;
        show().replayStep(wait);
        message = show().replayError();
    }
    show().draw();
    return !show().replayOver() ? 0 : message.empty() ? 1 : 2;
}

EMSCRIPTEN_KEEPALIVE const char* tessera_message() {
    return message.c_str();
}

} // extern "C"
