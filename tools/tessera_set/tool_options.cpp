#include "tools/tessera_set/tool_options.h"

#include <vector>

namespace tessera {
namespace {

// Reads a whole number from 1 to limit made only of digits; "+5", "5 " and "05x" fail.
bool parseCount(const std::string& text, int limit, int& value) {
    if (text.empty() || text.size() > 9 ||
        text.find_first_not_of("0123456789") != std::string::npos) {
        return false;
    }
    value = std::stoi(text);
    return value >= 1 && value <= limit;
}

std::string parseRegions(const std::string& text, ToolOptions& options) {
    if (!parseCount(text, maxRegions, options.regions)) {
        return "--regions needs a whole number from 1 to " + std::to_string(maxRegions) +
               ", not '" + text + "'";
    }
    return "";
}

std::string parseCells(const std::string& text, ToolOptions& options) {
    const std::size_t cross = text.find('x');
    if (cross == std::string::npos ||
        !parseCount(text.substr(0, cross), maxCellsAcross, options.cellsAcross) ||
        !parseCount(text.substr(cross + 1), maxCellsDown, options.cellsDown)) {
        return "--cells needs WxH with W from 1 to " + std::to_string(maxCellsAcross) +
               " and H from 1 to " + std::to_string(maxCellsDown) + ", not '" + text + "'";
    }
    return "";
}

} // namespace

std::string parseToolOptions(int argc, const char* const* argv, ToolOptions& options) {
    std::vector<std::string> positional;
    bool optionsEnded = false;
    for (int i = 0; i < argc; ++i) {
        const std::string argument = argv[i];
        if (optionsEnded || argument.size() < 2 || argument[0] != '-') {
            positional.push_back(argument);
            continue;
        }
        if (argument == "--") {
            optionsEnded = true;
            continue;
        }
        if (argument == "--help" || argument == "-h") {
            options.help = true;
            return "";
        }
        const std::size_t equals = argument.find('=');
        const std::string option = argument.substr(0, equals);
        if (option != "--regions" && option != "--cells") {
            return "unknown option '" + argument + "' (see --help)";
        }
        std::string value;
        if (equals != std::string::npos) {
            value = argument.substr(equals + 1);
        } else if (i + 1 < argc) {
            value = argv[++i];
        } else {
            return option + " needs a value";
        }
        const std::string error =
            option == "--regions" ? parseRegions(value, options) : parseCells(value, options);
        if (!error.empty()) {
            return error;
        }
    }
    if (positional.size() != 2) {
        return "expected INPUT and NAME, got " + std::to_string(positional.size()) +
               " argument(s) (see --help)";
    }
    options.input = positional[0];
    options.name = positional[1];
    return "";
}

std::string usageText() {
    return "usage: tessera-set INPUT NAME [--regions K] [--cells WxH]\n"
           "\n"
           "Turns a JPEG or PNG photograph into a picture set: NAME.ppm (the picture),\n"
           "NAME_mask.pgm (one region key per grid cell) and NAME.map (each region's\n"
           "mean colour). NAME may include a folder.\n"
           "\n"
           "  --regions K   number of colour regions, 1 to 255 (default 12)\n"
           "  --cells WxH   mask grid, W from 1 to 640 and H from 1 to 480 cells, at\n"
           "                most one cell per pixel (default 64x48)\n"
           "  --help        show this text\n"
           "\n"
           "The same input and options always give the same files.\n";
}

} // namespace tessera
