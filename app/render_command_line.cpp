#include "app/render_command_line.h"

#include "app/long_options.h"
#include "app/replay_header.h"

#include <vector>

namespace tessera {
namespace {

enum OptionCode : int {
    HelpOption = 'h',
    PictureOption = 256,
    SnapshotOption,
    FramesOption,
    EveryOption,
    SizeOption,
};

const option longOptions[] = {
    {"help", no_argument, nullptr, HelpOption},
    {"picture", required_argument, nullptr, PictureOption},
    {"snapshot", required_argument, nullptr, SnapshotOption},
    {"frames", required_argument, nullptr, FramesOption},
    {"every", required_argument, nullptr, EveryOption},
    {"size", required_argument, nullptr, SizeOption},
    {nullptr, 0, nullptr, 0},
};

} // namespace

std::string parseRenderCommandLine(int argc, const char* const* argv, RenderCommandLine& options) {
    LongOptions parser("tessera-render", longOptions, argc, argv);
    bool everyGiven = false;
    int code = 0;
    std::string value;
    while (parser.next(code, value)) {
        switch (code) {
        case HelpOption:
            options.help = true;
            return "";
        case PictureOption:
            options.picture = value;
            break;
        case SnapshotOption:
            options.snapshot = value;
            break;
        case FramesOption:
            options.frames = value;
            break;
        case EveryOption:
            if (!parseWholeNumber(value, 1000000, options.every)) {
                return "--every needs a whole number from 1 to 1000000, not '" + value + "'";
            }
            everyGiven = true;
            break;
        case SizeOption:
            if (!parseWholeSize(value, maxReplayWindowSide, options.width, options.height)) {
                return "--size needs WxH with W and H from 1 to " +
                       std::to_string(maxReplayWindowSide) + ", not '" + value + "'";
            }
            break;
        default:
            break;
        }
    }
    if (!parser.fault().empty()) {
        return parser.fault();
    }
    const std::vector<std::string> files = parser.operands();
    if (files.empty()) {
        return "no replay file given";
    }
    if (files.size() > 1) {
        return "more than one replay file given: '" + files[0] + "' and '" + files[1] + "'";
    }
    options.replay = files[0];
    if (options.snapshot.empty() && options.frames.empty()) {
        return "nothing to write: give --snapshot OUT.png or --frames DIR";
    }
    if (everyGiven && options.frames.empty()) {
        return "--every only goes with --frames";
    }
    return "";
}

std::string renderUsageText() {
    return "usage: tessera-render FILE [--picture PICTURE] [--size WxH]\n"
           "                      [--snapshot OUT.png] [--frames DIR [--every N]]\n"
           "\n"
           "Plays a session recorded with tessera --record into an offscreen buffer, with\n"
           "no display, and writes PNG files of what the window showed.\n"
           "\n"
           "  --snapshot OUT.png  the last frame\n"
           "  --frames DIR        every frame as DIR/frame-000001.png, frame-000002.png, ...\n"
           "  --every N           only every Nth frame, from the first on\n"
           "  --size WxH          render at this size instead of the recorded window's;\n"
           "                      each press lands on the board point it did there\n"
           "  --picture PICTURE   the picture, when it is not where the recording says\n"
           "  --help              show this text\n";
}

} // namespace tessera
