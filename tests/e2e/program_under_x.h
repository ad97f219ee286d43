#pragma once

#include "child_process.h"
#include "picture_folder.h"
#include "tools/screenshot/screen_image.h"
#include "virtual_display.h"

#include <chrono>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

namespace tessera {

// The tessera program as a user meets it: running on a private X server, in a folder of
// its own holding a copy of the picture set, driven by real key and pointer events
// (xdotool) and watched through its output, its exit status and screenshots of its
// window. Whatever happens in the test, the program and the server end with the object.
//
// The waits take a timeout and give whether what was awaited happened; the defaults
// leave room for a slow, software-rendered, sanitizer-checked start.
class ProgramUnderX {
public:
    using Timeout = std::chrono::milliseconds;
    static constexpr Timeout startTimeout{30000};
    static constexpr Timeout stepTimeout{10000};

    // Starts the X server, with a screen of the given size, and prepares the folder; the
    // program itself waits for start(), so that a test can break the picture set first.
    // Throws std::runtime_error.
    explicit ProgramUnderX(int screenWidth = 640, int screenHeight = 480);

    const PictureFolder& pictures() const { return folder; }
    // For DISPLAY, to run other X clients alongside the program.
    const std::string& displayName() const { return display.name(); }

    // Starts the program in the folder with the given command-line arguments.
    void start(const std::vector<std::string>& arguments = {});

    // Standard output and standard error as far as they have arrived.
    std::vector<std::string> outputLines();
    std::string errors();

    bool waitForOutputLines(std::size_t count, Timeout timeout = startTimeout);

    // The program's top-level window, waited for the first time and then given the
    // keyboard focus.
    unsigned long window();

    // Key presses by xdotool key names ("q", "minus", "grave", "Escape").
    void pressKeys(const std::vector<std::string>& keys);
    // Types text character by character.
    void typeText(const std::string& text);
    // Sets the window's size, as a person dragging its corner does, and waits until it has
    // it.
    void resizeWindow(int width, int height);
    // Pointer position and clicks in window coordinates; buttons as X numbers them
    // (1 left, 2 middle, 3 right).
    void movePointer(int x, int y);
    void click(int button);
    void pressButton(int button);
    void releaseButton(int button);

    // What the window shows now, in window coordinates.
    ScreenImage screenshot();
    // Takes screenshots until one satisfies condition; shot holds the last one taken.
    bool waitForScreen(const std::function<bool(const ScreenImage&)>& condition, ScreenImage& shot,
                       Timeout timeout = stepTimeout);

    // What may end the window from outside: a window manager's close request (Alt+F4, a
    // title-bar close: WM_DELETE_WINDOW), another client destroying it (xdotool
    // windowclose), the server dropping the program's connection (xdotool windowkill).
    void requestClose();
    void destroyWindow();
    void dropConnection();
    void sendSignal(int number);
    // The program's resident memory (VmRSS) in KiB, or -1 when it cannot be read.
    long residentKib();

    // The exit status (as ChildProcess gives it), or nothing if it still runs at the end.
    std::optional<int> waitForExit(Timeout timeout = stepTimeout);
    // Sends SIGTERM, as a service manager stops a program, and gives the exit status.
    int terminate();

private:
    // Runs xdotool on this display to its end; gives its output. Throws on failure.
    std::string xdotool(const std::vector<std::string>& arguments);
    ChildProcess& running();

    // Declared in the order of need; destroyed in reverse: program, folder, server.
    VirtualDisplay display;
    PictureFolder folder;
    std::unique_ptr<ChildProcess> program;
    unsigned long windowId = 0;
};

} // namespace tessera
