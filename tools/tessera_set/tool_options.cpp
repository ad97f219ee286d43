#include "tools/tessera_set/tool_options.h"

#include <filesystem>
#include <vector>

namespace tessera {

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
        if (argument == "--version") {
            options.version = true;
            return "";
        }
        const std::size_t equals = argument.find('=');
        const std::string option = argument.substr(0, equals);
        if (!isPhotoOption(option)) {
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
        const std::string error = setPhotoOption(option, value, options.photo);
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
    // The three files are NAME.ppm and so on: a NAME that is only a folder would make
    // hidden files (".ppm") in it.
    const std::string file = std::filesystem::path(options.name).filename().string();
    if (file.empty() || file == "." || file == "..") {
        return "NAME '" + options.name + "' has no file name part; give one, as in shots/beach";
    }
    return "";
}

std::string usageText() {
    return "usage: tessera-set INPUT NAME [--regions K] [--cells WxH] [--max-size WxH]\n"
           "                  [--fit own|crop|pad|stretch]\n"
           "\n"
           "Turns a JPEG or PNG photograph into a picture set: NAME.ppm (the picture),\n"
           "NAME_mask.pgm (one region key per grid cell) and NAME.map (each region's\n"
           "mean colour). NAME may include a folder. A JPEG's orientation tag is\n"
           "honoured, so a photograph taken upright shows upright.\n"
           "\n"
           "  --regions K     number of colour regions, 1 to 255 (default 12)\n"
           "  --cells WxH     mask grid, W and H from 1 to 640 cells and at most the\n"
           "                  board's units, at most one cell per pixel of the picture\n"
           "                  (default auto: square cells of 10 units, 64x48 at 4:3)\n"
           "  --max-size WxH  largest picture written, W and H from 1 to 8192; a larger\n"
           "                  photograph is scaled down, never up (default 1024x768)\n"
           "  --fit own       the board takes the photograph's shape, from 1:2.5 to\n"
           "                  2.5:1 (beyond, its centre part), its longer side 640\n"
           "                  units (the default); the map notes the board\n"
           "  --fit crop      the centre of the photograph in the board's 4:3 shape\n"
           "  --fit pad       the whole photograph, centred on black bars to 4:3\n"
           "  --fit stretch   the whole photograph in its own shape, which the board\n"
           "                  stretches to 4:3\n"
           "  --help          show this text\n"
           "  --version       print the program's version\n"
           "\n"
           "The same input and options always give the same files.\n";
}

} // namespace tessera
