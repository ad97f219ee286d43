#pragma once

#include <string>

namespace tessera {

// The board the program shows a picture on is 640 x 480 units and divides it by the
// mask's size with whole numbers, so a wider or taller grid would give cells of size 0.
constexpr int maxCellsAcross = 640;
constexpr int maxCellsDown = 480;
constexpr int maxRegions = 255; // a mask cell is one byte holding the region key

struct ToolOptions {
    std::string input;
    std::string name;
    int regions = 12;
    int cellsAcross = 64;
    int cellsDown = 48;
    bool help = false;
};

// Reads the command line (without the program name). Returns an empty string, or a
// message naming the argument or option at fault.
std::string parseToolOptions(int argc, const char* const* argv, ToolOptions& options);

std::string usageText();

} // namespace tessera
