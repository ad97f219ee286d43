#pragma once

#include "child_process.h"

#include <memory>
#include <string>

namespace tessera {

// A private Xvfb server with one screen of 24-bit colour, 640 x 480 unless told otherwise,
// on the first display number from 90 upwards that no other server holds. It accepts
// connections once constructed and is ended with the object.
class VirtualDisplay {
public:
    // Whether the server starts afresh whenever its last client leaves, as a bare server
    // does; the tests' servers do not, unless a test asks.
    enum Reset { NeverReset, ResetWhenIdle };

    // Throws std::runtime_error when no server could be started.
    explicit VirtualDisplay(int width = 640, int height = 480, Reset reset = NeverReset);

    // The display name for DISPLAY, such as ":90".
    const std::string& name() const { return displayName; }

    // Keeps the server's own messages flowing; gives false once the server has gone.
    bool poll() { return server->poll(); }

private:
    bool startOn(int number, std::string& failure);

    std::string screen; // as Xvfb takes it: "640x480x24"
    Reset reset;
    std::string displayName;
    std::unique_ptr<ChildProcess> server;
};

} // namespace tessera
