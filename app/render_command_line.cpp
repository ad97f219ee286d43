#include "app/render_command_line.h"

#include <getopt.h>
#include <vector>

namespace tessera {
namespace {

enum OptionCode : int {
    HelpOption = 'h',
    PictureOption = 256,
    SnapshotOption,
    FramesOption,
    EveryOption,
};

const option longOptions[] = {
    {"help", no_argument, nullptr, HelpOption},
    {"picture", required_argument, nullptr, PictureOption},
    {"snapshot", required_argument, nullptr, SnapshotOption},
    {"frames", required_argument, nullptr, FramesOption},
    {"every", required_argument, nullptr, EveryOption},
    {nullptr, 0, nullptr, 0},
};

std::string nameOf(int code) {
    for (const option* o = longOptions; o->name != nullptr; ++o) {
        if (o->val == code) {
            return std::string("--") + o->name;
        }
    }
    return "-" + std::string(1, static_cast<char>(code));
}

bool parseEvery(const std::string& text, int& value) {
    if (text.empty() || text.size() > 7 ||
        text.find_first_not_of("0123456789") != std::string::npos) {
        return false;
    }
    value = std::stoi(text);
    return value >= 1 && value <= 1000000;
}

} // namespace

std::string parseRenderCommandLine(int argc, const char* const* argv, RenderCommandLine& options) {
    // getopt_long reorders its array and keeps its place in globals: a private copy, and
    // a fresh start (optind 0) on every call.
    std::vector<char*> arguments;
    arguments.push_back(const_cast<char*>("tessera-render"));
    for (int i = 0; i < argc; ++i) {
        arguments.push_back(const_cast<char*>(argv[i]));
    }
    arguments.push_back(nullptr);
    const int count = argc + 1;
    opterr = 0;
    optind = 0;
    bool everyGiven = false;
    for (;;) {
        const int code = getopt_long(count, arguments.data(), ":h", longOptions, nullptr);
        if (code == -1) {
            break;
        }
        const std::string argument = arguments[static_cast<std::size_t>(optind - 1)];
        if (code == ':') {
            return nameOf(optopt) + " needs a value";
        }
        if (code == '?') {
            if (optopt != 0 && argument.rfind("--", 0) == 0) {
                return nameOf(optopt) + " takes no value";
            }
            return "unknown option '" + argument.substr(0, argument.find('=')) + "'";
        }
        const std::string value = optarg != nullptr ? optarg : "";
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
            if (!parseEvery(value, options.every)) {
                return "--every needs a whole number from 1 to 1000000, not '" + value + "'";
            }
            everyGiven = true;
            break;
        default:
            break;
        }
    }
    if (optind >= count) {
        return "no replay file given";
    }
    if (count - optind > 1) {
        return "more than one replay file given: '" + std::string(arguments[optind]) + "' and '" +
               arguments[optind + 1] + "'";
    }
    options.replay = arguments[optind];
    if (options.snapshot.empty() && options.frames.empty()) {
        return "nothing to write: give --snapshot OUT.png or --frames DIR";
    }
    if (everyGiven && options.frames.empty()) {
        return "--every only goes with --frames";
    }
    return "";
}

std::string renderUsageText() {
    return "usage: tessera-render FILE [--picture PICTURE] [--snapshot OUT.png]\n"
           "                      [--frames DIR [--every N]]\n"
           "\n"
           "Plays a session recorded with tessera --record into an offscreen buffer, with\n"
           "no display, and writes PNG files of what the window showed.\n"
           "\n"
           "  --snapshot OUT.png  the last frame\n"
           "  --frames DIR        every frame as DIR/frame-000001.png, frame-000002.png, ...\n"
           "  --every N           only every Nth frame, from the first on\n"
           "  --picture PICTURE   the picture, when it is not where the recording says\n"
           "  --help              show this text\n";
}

} // namespace tessera
