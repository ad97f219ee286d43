#include "program_under_x.h"

#include "tools/screenshot/x_capture.h"
#include "wait_until.h"

#include <X11/Xlib.h>
#include <csignal>
#include <cstdlib>
#include <fstream>
#include <stdexcept>

namespace tessera {

using namespace std::chrono_literals;

namespace {

// In a sanitizer build the program checks for leaks itself before the GL driver unloads
// and the final check at exit is off; a memory error or a leak ends it with a status no
// test expects, so the test fails.
constexpr char addressSanitizerOptions[] = "exitcode=86";
constexpr char undefinedSanitizerOptions[] = "exitcode=86";

std::string addedTo(const char* variable, const std::string& options) {
    const char* current = std::getenv(variable);
    const std::string before =
        current != nullptr && *current != '\0' ? current + std::string(":") : "";
    return std::string(variable) + "=" + before + options;
}

} // namespace

ProgramUnderX::ProgramUnderX(int screenWidth, int screenHeight)
    : display(screenWidth, screenHeight) {}

void ProgramUnderX::start(const std::vector<std::string>& arguments) {
    if (program) {
        throw std::logic_error("the program is already started");
    }
    std::vector<std::string> command{TESSERA_PATH};
    command.insert(command.end(), arguments.begin(), arguments.end());
    program =
        std::make_unique<ChildProcess>(command, folder.path(),
                                       std::vector<std::string>{
                                           "DISPLAY=" + display.name(),
                                           addedTo("ASAN_OPTIONS", addressSanitizerOptions),
                                           addedTo("UBSAN_OPTIONS", undefinedSanitizerOptions),
                                       });
}

ChildProcess& ProgramUnderX::running() {
    if (!program) {
        throw std::logic_error("the program is not started");
    }
    program->poll();
    display.poll();
    return *program;
}

std::vector<std::string> ProgramUnderX::outputLines() {
    return running().output().lines();
}

std::string ProgramUnderX::errors() {
    return running().errors().text();
}

bool ProgramUnderX::waitForOutputLines(std::size_t count, Timeout timeout) {
    return waitUntil(timeout, [&] { return outputLines().size() >= count; });
}

std::string ProgramUnderX::xdotool(const std::vector<std::string>& arguments) {
    std::vector<std::string> command{"xdotool"};
    command.insert(command.end(), arguments.begin(), arguments.end());
    // Not in the folder: a test may take that away from the program.
    ChildProcess run(command, "/", {"DISPLAY=" + display.name()});
    const std::optional<int> status = run.waitForExit(startTimeout);
    std::string shown = "xdotool";
    for (const std::string& argument : arguments) {
        shown += " " + argument;
    }
    if (!status) {
        throw std::runtime_error(shown + " did not finish in time");
    }
    if (*status != 0) {
        throw std::runtime_error(shown + " failed with status " + std::to_string(*status) + ": " +
                                 run.errors().text());
    }
    return run.output().text();
}

unsigned long ProgramUnderX::window() {
    if (windowId == 0) {
        running();
        // --sync waits for the window to appear; the timeout of xdotool() bounds it.
        const std::string found =
            xdotool({"search", "--sync", "--onlyvisible", "--name", "^tessera$"});
        windowId = std::stoul(found);
        xdotool({"windowfocus", "--sync", std::to_string(windowId)});
    }
    return windowId;
}

void ProgramUnderX::pressKeys(const std::vector<std::string>& keys) {
    std::vector<std::string> arguments{"key"};
    arguments.insert(arguments.end(), keys.begin(), keys.end());
    window();
    xdotool(arguments);
}

void ProgramUnderX::typeText(const std::string& text) {
    window();
    xdotool({"type", text});
}

void ProgramUnderX::resizeWindow(int width, int height) {
    xdotool({"windowsize", "--sync", std::to_string(window()), std::to_string(width),
             std::to_string(height)});
}

void ProgramUnderX::movePointer(int x, int y) {
    // The query after the move returns once the server has made it. Not --sync: that waits
    // some 16 s for a pointer already where it is sent, as it is at the screen's centre.
    xdotool({"mousemove", "--window", std::to_string(window()), std::to_string(x),
             std::to_string(y), "getmouselocation"});
}

void ProgramUnderX::click(int button) {
    window();
    xdotool({"click", std::to_string(button)});
}

void ProgramUnderX::pressButton(int button) {
    window();
    xdotool({"mousedown", std::to_string(button)});
}

void ProgramUnderX::releaseButton(int button) {
    window();
    xdotool({"mouseup", std::to_string(button)});
}

void ProgramUnderX::requestClose() {
    const Window target = window();
    Display* connection = XOpenDisplay(display.name().c_str());
    if (connection == nullptr) {
        throw std::runtime_error("cannot open display " + display.name());
    }
    XEvent request{};
    request.xclient.type = ClientMessage;
    request.xclient.window = target;
    request.xclient.message_type = XInternAtom(connection, "WM_PROTOCOLS", False);
    request.xclient.format = 32;
    request.xclient.data.l[0] =
        static_cast<long>(XInternAtom(connection, "WM_DELETE_WINDOW", False));
    request.xclient.data.l[1] = CurrentTime;
    XSendEvent(connection, target, False, NoEventMask, &request);
    XCloseDisplay(connection); // sends it
}

void ProgramUnderX::destroyWindow() {
    xdotool({"windowclose", std::to_string(window())});
}

void ProgramUnderX::dropConnection() {
    xdotool({"windowkill", std::to_string(window())});
}

void ProgramUnderX::sendSignal(int number) {
    ::kill(running().pid(), number);
}

long ProgramUnderX::residentKib() {
    std::ifstream status("/proc/" + std::to_string(running().pid()) + "/status");
    std::string line;
    while (std::getline(status, line)) {
        if (line.rfind("VmRSS:", 0) == 0) {
            return std::stol(line.substr(6));
        }
    }
    return -1;
}

ScreenImage ProgramUnderX::screenshot() {
    ScreenImage shot;
    const std::string error = captureWindow(display.name(), window(), shot);
    if (!error.empty()) {
        throw std::runtime_error("screenshot failed: " + error);
    }
    return shot;
}

bool ProgramUnderX::waitForScreen(const std::function<bool(const ScreenImage&)>& condition,
                                  ScreenImage& shot, Timeout timeout) {
    return waitUntil(
        timeout,
        [&] {
            running();
            shot = screenshot();
            return condition(shot);
        },
        100ms);
}

std::optional<int> ProgramUnderX::waitForExit(Timeout timeout) {
    running();
    display.poll();
    return program->waitForExit(timeout);
}

int ProgramUnderX::terminate() {
    return running().stop();
}

} // namespace tessera
