#pragma once

#include <string>

struct _XDisplay;

namespace tessera {

class Show;

// Every finger on a touch screen, through the X input extension's touches (XI 2.2): GLUT
// hears only the pointer X makes of the first finger, and freeglut never asks for more.
// The touches come on a connection of their own, which freeglut's loop does not read.
// Once they are selected, X makes no pointer of the fingers on this window: a finger is
// heard once.
class TouchEvents {
public:
    TouchEvents() = default;
    ~TouchEvents();
    TouchEvents(const TouchEvents&) = delete;
    TouchEvents& operator=(const TouchEvents&) = delete;

    // Asks for the touches on the current GLUT window. Returns "" or why they cannot come,
    // and then the first finger stays GLUT's pointer.
    std::string listen();
    // The touches that came since the last call, to the show, in their order.
    void forward(Show& show);

private:
    _XDisplay* display = nullptr;
    int opcode = 0;
};

} // namespace tessera
