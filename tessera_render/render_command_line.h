#pragma once

#include <string>

namespace tessera {

// What tessera-render's command line says.
struct RenderCommandLine {
    std::string replay;
    // Where to find the picture instead of where the recording says; empty for that.
    std::string picture;
    // The last frame goes to this PNG file, when named.
    std::string snapshot;
    // Every Nth frame goes to this folder as frame-000001.png and on, when named.
    std::string frames;
    int every = 1;
    // The size to render at (--size WxH); 0 for the recorded window's.
    int width = 0;
    int height = 0;
    // The session as a video in the container OUT's extension names, when named.
    std::string video;
    bool help = false;
    bool version = false;
};

// Reads the arguments after the program name. Returns an empty string, or one line naming
// the argument at fault.
std::string parseRenderCommandLine(int argc, const char* const* argv, RenderCommandLine& options);

std::string renderUsageText();

} // namespace tessera
