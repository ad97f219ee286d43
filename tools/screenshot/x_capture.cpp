#include "tools/screenshot/x_capture.h"

#include <X11/Xlib.h>
#include <X11/Xutil.h>
#include <algorithm>
#include <memory>

namespace tessera {
namespace {

// Xlib reports protocol errors through a process-wide handler whose default ends the
// process. While a capture runs, errors are recorded here instead and turned into a
// message.
int lastXError = 0;

int recordXError(Display*, XErrorEvent* event) {
    lastXError = event->error_code;
    return 0;
}

class XErrorTrap {
public:
    XErrorTrap() : previous(XSetErrorHandler(recordXError)) { lastXError = 0; }
    ~XErrorTrap() { XSetErrorHandler(previous); }
    XErrorTrap(const XErrorTrap&) = delete;
    XErrorTrap& operator=(const XErrorTrap&) = delete;

    // Waits for the server to answer everything sent so far; empty when nothing failed.
    std::string check(Display* display, const std::string& what) const {
        XSync(display, False);
        if (lastXError == 0) {
            return "";
        }
        char text[128] = {};
        XGetErrorText(display, lastXError, text, sizeof text);
        return what + ": " + text;
    }

private:
    XErrorHandler previous;
};

struct DisplayCloser {
    void operator()(Display* display) const { XCloseDisplay(display); }
};
using DisplayConnection = std::unique_ptr<Display, DisplayCloser>;

std::string openDisplay(const std::string& displayName, DisplayConnection& display) {
    display.reset(XOpenDisplay(displayName.empty() ? nullptr : displayName.c_str()));
    if (display) {
        return "";
    }
    const std::string shown = XDisplayName(displayName.empty() ? nullptr : displayName.c_str());
    if (shown.empty()) {
        return "no display to capture: DISPLAY is not set";
    }
    return "cannot open display " + shown;
}

struct ImageDestroyer {
    void operator()(XImage* image) const { XDestroyImage(image); }
};

// Scales one channel of a pixel value, given the channel's mask, to 0..255.
std::uint8_t channel(unsigned long pixel, unsigned long mask) {
    if (mask == 0) {
        return 0;
    }
    int shift = 0;
    while (((mask >> shift) & 1UL) == 0) {
        ++shift;
    }
    const unsigned long maximum = mask >> shift;
    const unsigned long value = (pixel & mask) >> shift;
    return static_cast<std::uint8_t>((value * 255 + maximum / 2) / maximum);
}

// Copies a w x h rectangle of the root window at (rootX, rootY) into image at (x, y).
std::string copyFromRoot(Display* display, int rootX, int rootY, int w, int h, ScreenImage& image,
                         int x, int y) {
    if (w <= 0 || h <= 0) {
        return "";
    }
    const XErrorTrap trap;
    std::unique_ptr<XImage, ImageDestroyer> shot(
        XGetImage(display, DefaultRootWindow(display), rootX, rootY, static_cast<unsigned>(w),
                  static_cast<unsigned>(h), AllPlanes, ZPixmap));
    const std::string error = trap.check(display, "reading the screen failed");
    if (!error.empty() || !shot) {
        return error.empty() ? "reading the screen failed" : error;
    }
    if (shot->red_mask == 0 || shot->green_mask == 0 || shot->blue_mask == 0) {
        return "the screen has no true-colour visual (depth " + std::to_string(shot->depth) + ")";
    }
    for (int row = 0; row < h; ++row) {
        for (int column = 0; column < w; ++column) {
            const unsigned long pixel = XGetPixel(shot.get(), column, row);
            const std::size_t i = image.offset(x + column, y + row);
            image.pixels[i] = channel(pixel, shot->red_mask);
            image.pixels[i + 1] = channel(pixel, shot->green_mask);
            image.pixels[i + 2] = channel(pixel, shot->blue_mask);
        }
    }
    return "";
}

void resetImage(ScreenImage& image, int width, int height) {
    image.width = width;
    image.height = height;
    image.pixels.assign(static_cast<std::size_t>(width) * static_cast<std::size_t>(height) * 3, 0);
}

// Reading from the root window gives what is on screen, whoever covers the window, and
// avoids the error XGetImage gives for a window that is partly off screen.
std::string captureWindowOf(Display* display, Window window, ScreenImage& image) {
    const XErrorTrap trap;
    XWindowAttributes attributes{};
    const Status known = XGetWindowAttributes(display, window, &attributes);
    std::string error = trap.check(display, "no such window");
    if (!error.empty() || known == 0) {
        return error.empty() ? "no such window" : error;
    }
    if (attributes.map_state != IsViewable) {
        return "the window is not shown on the screen";
    }
    int left = 0;
    int top = 0;
    Window child = 0;
    XTranslateCoordinates(display, window, DefaultRootWindow(display), 0, 0, &left, &top, &child);
    resetImage(image, attributes.width, attributes.height);
    const int screenWidth = DisplayWidth(display, DefaultScreen(display));
    const int screenHeight = DisplayHeight(display, DefaultScreen(display));
    const int x0 = std::max(left, 0);
    const int y0 = std::max(top, 0);
    const int x1 = std::min(left + attributes.width, screenWidth);
    const int y1 = std::min(top + attributes.height, screenHeight);
    error = copyFromRoot(display, x0, y0, x1 - x0, y1 - y0, image, x0 - left, y0 - top);
    if (!error.empty()) {
        image = ScreenImage{};
    }
    return error;
}

// Depth-first search below parent for a viewable window titled name.
Window findWindow(Display* display, Window parent, const std::string& name) {
    Window root = 0;
    Window parentOfParent = 0;
    Window* children = nullptr;
    unsigned count = 0;
    if (XQueryTree(display, parent, &root, &parentOfParent, &children, &count) == 0) {
        return 0;
    }
    Window found = 0;
    for (unsigned i = 0; i < count && found == 0; ++i) {
        char* title = nullptr;
        XWindowAttributes attributes{};
        if (XFetchName(display, children[i], &title) != 0 && title != nullptr) {
            if (name == title && XGetWindowAttributes(display, children[i], &attributes) != 0 &&
                attributes.map_state == IsViewable) {
                found = children[i];
            }
            XFree(title);
        }
        if (found == 0) {
            found = findWindow(display, children[i], name);
        }
    }
    if (children != nullptr) {
        XFree(children);
    }
    return found;
}

} // namespace

std::string captureRoot(const std::string& displayName, ScreenImage& image) {
    image = ScreenImage{};
    DisplayConnection display;
    const std::string error = openDisplay(displayName, display);
    if (!error.empty()) {
        return error;
    }
    Display* d = display.get();
    resetImage(image, DisplayWidth(d, DefaultScreen(d)), DisplayHeight(d, DefaultScreen(d)));
    const std::string copyError = copyFromRoot(d, 0, 0, image.width, image.height, image, 0, 0);
    if (!copyError.empty()) {
        image = ScreenImage{};
    }
    return copyError;
}

std::string captureWindow(const std::string& displayName, unsigned long window,
                          ScreenImage& image) {
    image = ScreenImage{};
    DisplayConnection display;
    const std::string error = openDisplay(displayName, display);
    if (!error.empty()) {
        return error;
    }
    return captureWindowOf(display.get(), static_cast<Window>(window), image);
}

std::string captureNamedWindow(const std::string& displayName, const std::string& windowName,
                               ScreenImage& image) {
    image = ScreenImage{};
    DisplayConnection display;
    const std::string error = openDisplay(displayName, display);
    if (!error.empty()) {
        return error;
    }
    const XErrorTrap trap; // windows may vanish during the search
    const Window window = findWindow(display.get(), DefaultRootWindow(display.get()), windowName);
    if (window == 0) {
        return "no window titled \"" + windowName + "\" is shown";
    }
    return captureWindowOf(display.get(), window, image);
}

} // namespace tessera
