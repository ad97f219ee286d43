#include "tessera/window_lifeline.h"

#include <GL/glx.h>
#include <X11/Xlib.h>
// For XESetWireToEvent, Xlib's hook between the wire and the event queue: the only place
// where an event can be kept from freeglut, which reads the queue itself.
#include <X11/Xlibint.h>
#include <csignal>
#include <cstdio>
#include <unistd.h>

namespace tessera {
namespace {

using WireToEvent = Bool (*)(Display*, XEvent*, xEvent*);

Window watched = 0;
Atom deleteWindow = 0;
bool ignoreCloseRequests = false;
bool closeAsked = false;
volatile std::sig_atomic_t lost = 0;
WireToEvent convertClientMessage = nullptr;
WireToEvent convertDestroyNotify = nullptr;
XErrorHandler previousErrorHandler = nullptr;

// Called by Xlib with the display locked: it may look at the event and note things, but
// call nothing of Xlib's. Returning False keeps the event out of the queue.
Bool clientMessageArrived(Display* display, XEvent* event, xEvent* wire) {
    const Bool keep = convertClientMessage(display, event, wire);
    // freeglut destroys the window and its context for any client message carrying the
    // atom, and exits from inside its loop: the program ends by its own way instead.
    if (!keep || event->xclient.window != watched || event->xclient.format != 32 ||
        static_cast<Atom>(event->xclient.data.l[0]) != deleteWindow) {
        return keep;
    }
    if (ignoreCloseRequests) {
        std::fputs("tessera: a request to close the window was ignored (--kiosk)\n", stderr);
    } else {
        closeAsked = true;
    }
    return False;
}

Bool destroyNotifyArrived(Display* display, XEvent* event, xEvent* wire) {
    const Bool keep = convertDestroyNotify(display, event, wire);
    if (keep && event->xdestroywindow.window == watched) {
        lost = 1;
    }
    return keep;
}

// Drawing into the window and freeglut's own ending both meet it gone: those errors are
// the window's loss, not the program's fault.
int errorArrived(Display* display, XErrorEvent* error) {
    return lost != 0 ? 0 : previousErrorHandler(display, error);
}

// Xlib ends the program when this returns, and any later call on the display would come
// back here: nothing is left to tidy but the output.
int connectionLost(Display*) {
    std::fputs("tessera: the connection to the display was lost\n", stderr);
    std::fflush(stdout);
    ::_exit(lostWindowStatus);
}

} // namespace

void watchWindow(bool closeRequestsIgnored) {
    Display* display = glXGetCurrentDisplay();
    watched = glXGetCurrentDrawable();
    deleteWindow = XInternAtom(display, "WM_DELETE_WINDOW", False);
    ignoreCloseRequests = closeRequestsIgnored;
    convertClientMessage = XESetWireToEvent(display, ClientMessage, clientMessageArrived);
    convertDestroyNotify = XESetWireToEvent(display, DestroyNotify, destroyNotifyArrived);
    previousErrorHandler = XSetErrorHandler(errorArrived);
    XSetIOErrorHandler(connectionLost);
}

bool windowLost() {
    return lost != 0;
}

bool closeRequested() {
    return closeAsked;
}

} // namespace tessera
