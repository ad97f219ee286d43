#pragma once

#include "photo/photo_options.h"

#include <string>

namespace tessera {

struct ToolOptions {
    std::string input;
    std::string name;
    PhotoOptions photo;
    bool help = false;
    bool version = false;
};

// Reads the command line (without the program name). Returns an empty string, or a
// message naming the argument or option at fault.
std::string parseToolOptions(int argc, const char* const* argv, ToolOptions& options);

std::string usageText();

} // namespace tessera
