#include "tessera/touch_events.h"

#include "session/show.h"

#include <GL/glx.h>
#include <X11/Xlib.h>
#include <X11/extensions/XInput2.h>
#include <cmath>

namespace tessera {
namespace {

// The error a selection's request gets, caught while it is sent (X's handler is the
// process's, and freeglut's own ends it).
int selectionError = 0;

int noteError(Display*, XErrorEvent* error) {
    selectionError = error->error_code;
    return 0;
}

} // namespace

TouchEvents::~TouchEvents() {
    if (display != nullptr) {
        XCloseDisplay(display);
    }
}

std::string TouchEvents::listen() {
    Display* glutDisplay = glXGetCurrentDisplay();
    const GLXDrawable window = glXGetCurrentDrawable();
    if (glutDisplay == nullptr || window == 0) {
        return "no window to hear touches on";
    }
    display = XOpenDisplay(DisplayString(glutDisplay));
    if (display == nullptr) {
        return "no second connection to the display";
    }
    int event = 0;
    int error = 0;
    // Touches come only to a client that says it knows XI 2.2.
    int major = 2;
    int minor = 2;
    std::string fault;
    if (!XQueryExtension(display, "XInputExtension", &opcode, &event, &error)) {
        fault = "the display has no input extension";
    } else if (XIQueryVersion(display, &major, &minor) != Success || major * 100 + minor < 202) {
        fault = "the display's input extension has no touches";
    } else {
        unsigned char bits[XIMaskLen(XI_LASTEVENT)] = {};
        XISetMask(bits, XI_TouchBegin);
        XISetMask(bits, XI_TouchUpdate);
        XISetMask(bits, XI_TouchEnd);
        XIEventMask mask{XIAllMasterDevices, sizeof bits, bits};
        selectionError = 0;
        XErrorHandler before = XSetErrorHandler(noteError);
        XISelectEvents(display, window, &mask, 1);
        XSync(display, False);
        XSetErrorHandler(before);
        if (selectionError != 0) {
            fault = "another client takes the window's touches";
        }
    }
    if (!fault.empty()) {
        XCloseDisplay(display);
        display = nullptr;
    }
    return fault;
}

void TouchEvents::forward(Show& show) {
    while (display != nullptr && XPending(display) > 0) {
        XEvent event;
        XNextEvent(display, &event);
        XGenericEventCookie& cookie = event.xcookie;
        if (cookie.type != GenericEvent || cookie.extension != opcode ||
            !XGetEventData(display, &cookie)) {
            continue;
        }
        const auto& touch = *static_cast<const XIDeviceEvent*>(cookie.data);
        const int finger = static_cast<int>(touch.detail);
        const int x = static_cast<int>(std::lround(touch.event_x));
        const int y = static_cast<int>(std::lround(touch.event_y));
        if (cookie.evtype == XI_TouchBegin) {
            show.touchDown(finger, x, y);
        } else if (cookie.evtype == XI_TouchUpdate) {
            show.touchMoved(finger, x, y);
        } else if (cookie.evtype == XI_TouchEnd) {
            show.touchUp(finger, x, y);
        }
        XFreeEventData(display, &cookie);
    }
}

} // namespace tessera
