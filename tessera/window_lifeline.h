#pragma once

namespace tessera {

// The status of a program whose window or display went away under it: not a normal end,
// so that a service manager starts it again.
constexpr int lostWindowStatus = 4;

// How the window's life may end from outside, as X tells freeglut, which handles two of
// the three badly for a show: it ends with status 0 on a window manager's close request
// (Alt+F4, a title-bar close) and does not notice the window destroyed by another client.
// watchWindow() takes the window freeglut has just made current, and from then on:
// - a close request never reaches freeglut: with closeRequestsIgnored it is said on
//   standard error, without it noted for closeRequested();
// - the window destroyed is noted for windowLost();
// - a lost connection to the display (the server gone, the client killed) ends the program
//   at once with lostWindowStatus, saying so.
void watchWindow(bool closeRequestsIgnored);

// Whether the window has been destroyed; X errors about it are passed over from then on.
bool windowLost();

// Whether a close request came that is not ignored: the program then ends with status 0.
bool closeRequested();

} // namespace tessera
