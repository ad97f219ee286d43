#pragma once

#include "tessera/command_line.h"
#include "tessera/window_choice.h"

#include <X11/Xlib.h>
#include <memory>
#include <string>

namespace tessera {

// freeglut ends the process with status 1, the quit key's, when it cannot open the display;
// asking first gives that its own message and status.
constexpr int noDisplayStatus = 3;

// Opens the display to see that it answers, or says why it does not. The connection is kept
// until GLUT has its own: a server whose last client leaves resets (a bare Xvfb, or xinit with
// this as its only client), and GLUT's connection would then come while the server is not
// there.
struct DisplayCloser {
    void operator()(Display* display) const { XCloseDisplay(display); }
};
using DisplayConnection = std::unique_ptr<Display, DisplayCloser>;
std::string openDisplay(DisplayConnection& display);

// What the command line asks of the window; a replay opens a window of the recorded size
// unless told otherwise.
WindowRequest windowRequest(const CommandLine& options, bool replaying);

// The 640 x 480 game mode where it is asked for and the display has it; otherwise a window
// that fills the screen at its own resolution (a virtual X server, most current desktops, or
// a mode offered that will not come on), or an ordinary window of the given size.
void openWindow(WindowRequest request, int width, int height);
// Ends the program with status, the display's own mode given back first.
[[noreturn]] void endProgram(int status);

} // namespace tessera
