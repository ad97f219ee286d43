#include "virtual_display.h"

#include "wait_until.h"

#include <X11/Xlib.h>
#include <filesystem>
#include <fstream>
#include <stdexcept>

namespace tessera {
namespace {

using namespace std::chrono_literals;

constexpr int firstDisplay = 90;
constexpr int lastDisplay = 189;
constexpr auto startTimeout = 20s;

bool looksFree(int number) {
    const std::string n = std::to_string(number);
    std::error_code ignored;
    return !std::filesystem::exists("/tmp/.X" + n + "-lock", ignored) &&
           !std::filesystem::exists("/tmp/.X11-unix/X" + n, ignored);
}

// The server writes its process id into the lock file of the display it holds.
bool lockedBy(int number, pid_t pid) {
    std::ifstream lock("/tmp/.X" + std::to_string(number) + "-lock");
    long owner = 0;
    return static_cast<bool>(lock >> owner) && owner == static_cast<long>(pid);
}

bool acceptsConnections(const std::string& name) {
    Display* display = XOpenDisplay(name.c_str());
    if (display == nullptr) {
        return false;
    }
    XCloseDisplay(display);
    return true;
}

} // namespace

VirtualDisplay::VirtualDisplay(int width, int height, Reset reset)
    : screen(std::to_string(width) + "x" + std::to_string(height) + "x24"), reset(reset) {
    std::string failures;
    for (int number = firstDisplay; number <= lastDisplay; ++number) {
        if (looksFree(number) && startOn(number, failures)) {
            return;
        }
    }
    throw std::runtime_error("no virtual X server could be started:" + failures);
}

// Another server may take the number between the look and the start; then this one
// ends at once, and the caller tries the next number.
bool VirtualDisplay::startOn(int number, std::string& failures) {
    const std::string name = ":" + std::to_string(number);
    std::vector<std::string> arguments{"Xvfb", name, "-screen", "0", screen, "-nolisten", "tcp"};
    if (reset == NeverReset) {
        arguments.push_back("-noreset");
    }
    server = std::make_unique<ChildProcess>(arguments, "/");
    const pid_t pid = server->pid();
    const bool ready = waitUntil(startTimeout, [&] {
        return !server->poll() || (lockedBy(number, pid) && acceptsConnections(name));
    });
    if (ready && server->poll()) {
        displayName = name;
        return true;
    }
    failures += "\n  " + name + (ready ? ": " : ": not ready in time: ") + server->errors().text();
    server.reset();
    return false;
}

} // namespace tessera
