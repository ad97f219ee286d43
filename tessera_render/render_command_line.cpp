#include "tessera_render/render_command_line.h"

#include "program/long_options.h"
#include "replay/replay_header.h"

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
    VideoOption,
    VersionOption,
};

const option longOptions[] = {
    {"help", no_argument, nullptr, HelpOption},
    {"picture", required_argument, nullptr, PictureOption},
    {"snapshot", required_argument, nullptr, SnapshotOption},
    {"frames", required_argument, nullptr, FramesOption},
    {"every", required_argument, nullptr, EveryOption},
    {"size", required_argument, nullptr, SizeOption},
    {"video", required_argument, nullptr, VideoOption},
    {"version", no_argument, nullptr, VersionOption},
    {nullptr, 0, nullptr, 0},
};

// A video samples the session by its clock, the PNG outputs by its frames: one at a time.
std::string videoConflict(const RenderCommandLine& options, bool everyGiven) {
    if (!options.snapshot.empty() || !options.frames.empty() || everyGiven) {
        return "--video cannot be given with --snapshot, --frames or --every";
    }
    return "";
}

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
        case VersionOption:
            options.version = true;
            return "";
        case PictureOption:
            // Two places for one picture: which was meant is not for us to guess.
            if (!options.picture.empty()) {
                return "--picture given twice: '" + options.picture + "' and '" + value + "'";
            }
            if (value.empty()) {
                return "--picture needs a picture set or a photograph";
            }
            options.picture = value;
            break;
        case SnapshotOption:
            options.snapshot = value;
            break;
        case FramesOption:
            options.frames = value;
            break;
        case VideoOption:
            options.video = value;
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
    if (!options.video.empty()) {
        return videoConflict(options, everyGiven);
    }
    if (options.snapshot.empty() && options.frames.empty()) {
        return "nothing to write: give --snapshot OUT.png, --frames DIR or --video OUT";
    }
    if (everyGiven && options.frames.empty()) {
        return "--every only goes with --frames";
    }
    return "";
}

std::string renderUsageText() {
    return "usage: tessera-render FILE [--picture PICTURE] [--size WxH]\n"
           "                      [--snapshot OUT.png] [--frames DIR [--every N]]\n"
           "       tessera-render FILE [--picture PICTURE] [--size WxH]\n"
           "                      --video OUT.mp4|.webm|.gif\n"
           "\n"
           "Plays a session recorded with tessera --record into an offscreen buffer, with\n"
           "no display, and writes PNG files of what the window showed, or a video.\n"
           "\n"
           "  --snapshot OUT.png  the last frame\n"
           "  --frames DIR        every frame as DIR/frame-000001.png, frame-000002.png, ...\n"
           "  --every N           only every Nth frame, from the first on\n"
           "  --size WxH          render at this size instead of the recorded window's;\n"
           "                      each press lands on the board point it did there\n"
           "  --video OUT         the session as a video, as long as it lasted, through the\n"
           "                      ffmpeg program: .mp4 (H.264) or .webm (VP9) at 60 frames\n"
           "                      a second, .gif at 50\n"
           "  --picture PICTURE   the picture set or photograph, when it is not where the\n"
           "                      recording says (as for a recording made on the web page)\n"
           "  --help              show this text\n"
           "  --version           print the program's version\n";
}

} // namespace tessera
