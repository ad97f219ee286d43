#include "tessera/command_line.h"

#include "program/long_options.h"
#include "replay/replay_header.h"

#include <cmath>
#include <cstdlib>
#include <vector>

namespace tessera {
namespace {

enum OptionCode : int {
    HelpOption = 'h',
    WindowOption = 256,
    WindowSizeOption,
    FullScreenOption,
    RegionsOption,
    CellsOption,
    MaxSizeOption,
    FitOption,
    ClearAfterOption,
    MaxShapesOption,
    IdleScatterOption,
    RecordOption,
    ReplayOption,
    FastOption,
    SnapshotsOption,
    ReferenceDrawingOption,
    TouchOption,
    KioskOption,
    PhotosOption,
    ShuffleOption,
    InviteOption,
    InviteAfterOption,
    RenderScaleOption,
    ShareOption,
    ShareMaxOption,
    ShareCodeOption,
    VersionOption,
};

const option longOptions[] = {
    {"help", no_argument, nullptr, HelpOption},
    {"window", no_argument, nullptr, WindowOption},
    {"window-size", required_argument, nullptr, WindowSizeOption},
    {"fullscreen", no_argument, nullptr, FullScreenOption},
    {"regions", required_argument, nullptr, RegionsOption},
    {"cells", required_argument, nullptr, CellsOption},
    {"max-size", required_argument, nullptr, MaxSizeOption},
    {"fit", required_argument, nullptr, FitOption},
    {"clear-after", required_argument, nullptr, ClearAfterOption},
    {"max-shapes", required_argument, nullptr, MaxShapesOption},
    {"idle-scatter", required_argument, nullptr, IdleScatterOption},
    {"record", required_argument, nullptr, RecordOption},
    {"replay", required_argument, nullptr, ReplayOption},
    {"fast", no_argument, nullptr, FastOption},
    {"snapshots", no_argument, nullptr, SnapshotsOption},
    {"reference-drawing", no_argument, nullptr, ReferenceDrawingOption},
    {"touch", no_argument, nullptr, TouchOption},
    {"kiosk", no_argument, nullptr, KioskOption},
    {"photos", required_argument, nullptr, PhotosOption},
    {"shuffle", no_argument, nullptr, ShuffleOption},
    {"invite", optional_argument, nullptr, InviteOption},
    {"invite-after", required_argument, nullptr, InviteAfterOption},
    {"render-scale", required_argument, nullptr, RenderScaleOption},
    {"share", required_argument, nullptr, ShareOption},
    {"share-max", required_argument, nullptr, ShareMaxOption},
    {"share-code", required_argument, nullptr, ShareCodeOption},
    {"version", no_argument, nullptr, VersionOption},
    {nullptr, 0, nullptr, 0},
};

// A finite number of seconds in plain decimal notation ("600", "2.5"), above 0 or, where
// zero is allowed, 0 as well.
bool parseSeconds(const std::string& text, double& value, bool zeroAllowed = false) {
    if (text.empty() || text.find_first_not_of("0123456789.") != std::string::npos) {
        return false;
    }
    char* end = nullptr;
    const double number = std::strtod(text.c_str(), &end);
    if (*end != '\0' || !std::isfinite(number) ||
        (number <= 0.0 && !(zeroAllowed && number == 0.0)) || number > 1.0e9) {
        return false;
    }
    value = number;
    return true;
}

std::string valueError(const std::string& name, const std::string& wanted,
                       const std::string& text) {
    return name + " needs " + wanted + ", not '" + text + "'";
}

std::string takeValue(int code, const std::string& name, const std::string& text,
                      CommandLine& options) {
    if (isPhotoOption(name)) {
        options.photoOptionsGiven = true;
        return setPhotoOption(name, text, options.photo);
    }
    switch (code) {
    case ClearAfterOption:
        if (!parseSeconds(text, options.clearAfterSeconds)) {
            return valueError(name, "a number of seconds above 0", text);
        }
        options.canvasOptionsGiven = true;
        return "";
    case IdleScatterOption:
        if (!parseSeconds(text, options.idleScatterSeconds, true)) {
            return valueError(name, "a number of seconds, 0 for never", text);
        }
        options.canvasOptionsGiven = true;
        return "";
    case MaxShapesOption:
        if (!parseWholeNumber(text, 100000000, options.maxShapes)) {
            return valueError(name, "a whole number from 1 to 100000000", text);
        }
        options.canvasOptionsGiven = true;
        return "";
    case InviteOption:
        options.invite = true;
        options.inviteFile = text;
        return "";
    case InviteAfterOption:
        if (!parseSeconds(text, options.inviteAfterSeconds)) {
            return valueError(name, "a number of seconds above 0", text);
        }
        options.inviteAfterGiven = true;
        return "";
    case WindowSizeOption:
        if (!parseWholeSize(text, maxReplayWindowSide, options.windowWidth, options.windowHeight)) {
            return valueError(
                name, "WxH with W and H from 1 to " + std::to_string(maxReplayWindowSide), text);
        }
        return "";
    case RecordOption:
    case ReplayOption:
        if (text.empty()) {
            return name + " needs a file name";
        }
        (code == RecordOption ? options.record : options.replay) = text;
        return "";
    case RenderScaleOption:
        if (!RenderScale::parse(text, options.renderScale)) {
            return valueError(name, "auto or a number from 0.5 to 1", text);
        }
        return "";
    case ShareOption:
        if (std::string error = parseShareAddress(text, options.shareAddress); !error.empty()) {
            return name + ": " + error;
        }
        options.share = true;
        return "";
    case ShareMaxOption:
        if (!parseWholeNumber(text, 100, options.shareMax)) {
            return valueError(name, "a whole number from 1 to 100", text);
        }
        options.shareMaxGiven = true;
        return "";
    case ShareCodeOption:
        if (text != "on" && text != "off") {
            return valueError(name, "on or off", text);
        }
        options.shareCode = text == "on";
        options.shareCodeGiven = true;
        return "";
    case PhotosOption:
        if (text.empty()) {
            return name + " needs a folder";
        }
        options.photos = text;
        return "";
    default:
        return "";
    }
}

// A replay sets the session up as it was recorded; only the window and the picture's
// place may be given anew.
std::string replayConflict(const CommandLine& options) {
    if (!options.record.empty() && !options.replay.empty()) {
        return "--record and --replay cannot be given together";
    }
    if (options.touch && !options.replay.empty()) {
        return "--touch and --replay cannot be given together";
    }
    if (options.fast && options.replay.empty()) {
        return "--fast only goes with --replay";
    }
    if (options.snapshots && options.replay.empty()) {
        return "--snapshots only goes with --replay";
    }
    if (options.invite && !options.replay.empty()) {
        return "--invite and --replay cannot be given together";
    }
    if (options.inviteAfterGiven && !options.invite) {
        return "--invite-after only goes with --invite";
    }
    if (options.share && !options.replay.empty()) {
        return "--share and --replay cannot be given together";
    }
    if ((options.shareMaxGiven || options.shareCodeGiven) && !options.share) {
        return std::string(options.shareMaxGiven ? "--share-max" : "--share-code") +
               " only goes with --share";
    }
    if (!options.replay.empty() && (options.photoOptionsGiven || options.canvasOptionsGiven)) {
        return "--replay takes --regions, --cells, --fit, --max-size, --clear-after, "
               "--idle-scatter, --max-shapes and --reference-drawing from the recording";
    }
    return "";
}

// A folder's photographs change with every clear, which a recording does not hold; a
// kiosk always fills the screen.
std::string showConflict(const CommandLine& options, const std::string& windowGiven) {
    if (!options.photos.empty()) {
        if (!options.picture.empty()) {
            return "--photos and a picture cannot be given together";
        }
        if (!options.record.empty() || !options.replay.empty()) {
            return std::string(options.record.empty() ? "--replay" : "--record") +
                   " and --photos cannot be given together";
        }
    }
    if (options.shuffle && options.photos.empty()) {
        return "--shuffle only goes with --photos";
    }
    if (options.kiosk && options.windowMode == WindowMode::Window) {
        return "--kiosk fills the screen; " + windowGiven + " cannot be given with it";
    }
    return replayConflict(options);
}

} // namespace

std::string parseCommandLine(int argc, const char* const* argv, CommandLine& options) {
    LongOptions parser("tessera", longOptions, argc, argv);
    std::string windowGiven;
    int code = 0;
    std::string value;
    while (parser.next(code, value)) {
        if (code == HelpOption) {
            options.help = true;
            return "";
        }
        if (code == VersionOption) {
            options.version = true;
            return "";
        }
        if (code == ReferenceDrawingOption) {
            options.referenceDrawing = true;
            options.canvasOptionsGiven = true;
            continue;
        }
        if (code == WindowOption || code == WindowSizeOption || code == FullScreenOption) {
            const WindowMode mode =
                code == FullScreenOption ? WindowMode::FullScreen : WindowMode::Window;
            if (!windowGiven.empty() && options.windowMode != mode) {
                return windowGiven + " and " + parser.nameOf(code) + " cannot be given together";
            }
            windowGiven = parser.nameOf(code);
            options.windowMode = mode;
            if (code != WindowSizeOption) {
                continue;
            }
        }
        if (code == FastOption || code == SnapshotsOption) {
            (code == FastOption ? options.fast : options.snapshots) = true;
            continue;
        }
        if (code == TouchOption || code == KioskOption || code == ShuffleOption) {
            (code == TouchOption   ? options.touch
             : code == KioskOption ? options.kiosk
                                   : options.shuffle) = true;
            continue;
        }
        if (std::string error = takeValue(code, parser.nameOf(code), value, options);
            !error.empty()) {
            return error;
        }
    }
    if (!parser.fault().empty()) {
        return parser.fault();
    }
    const std::vector<std::string> pictures = parser.operands();
    if (pictures.size() > 1) {
        return "more than one picture given: '" + pictures[0] + "' and '" + pictures[1] + "'";
    }
    if (!pictures.empty()) {
        options.picture = pictures[0];
    }
    if (std::string error = showConflict(options, windowGiven); !error.empty()) {
        return error;
    }
    if (options.kiosk) {
        options.windowMode = WindowMode::FullScreen;
    }
    return "";
}

std::string usageText() {
    return "usage: tessera [--window | --window-size WxH | --fullscreen] [--regions K]\n"
           "               [--cells WxH] [--fit own|crop|pad|stretch] [--max-size WxH]\n"
           "               [--clear-after SECONDS] [--idle-scatter SECONDS] [--max-shapes N]\n"
           "               [--reference-drawing] [--touch] [--kiosk] [--record FILE]\n"
           "               [--invite[=FILE]] [--invite-after SECONDS]\n"
           "               [--render-scale auto|F] [--share [ADDRESS:]PORT\n"
           "               [--share-max N] [--share-code on|off]]\n"
           "               [PICTURE | --photos DIR [--shuffle]]\n"
           "       tessera [--window | --window-size WxH | --fullscreen] --replay FILE\n"
           "               [--fast] [--snapshots] [--render-scale auto|F] [PICTURE]\n"
           "\n"
           "Shows a picture as a board to paint coloured, moving shapes on.\n"
           "PICTURE is a JPEG or PNG photograph, made into a picture set at start, or a\n"
           "picture set DIR/NAME (the files DIR/NAME.ppm, DIR/NAME_mask.pgm, DIR/NAME.map).\n"
           "Without it, the set \"fruit\" in the current folder, or the one installed\n"
           "with the program.\n"
           "\n"
           "  --window               open a 640x480 window, never full screen\n"
           "  --window-size WxH      open a window of that size, never full screen\n"
           "  --fullscreen           fill the screen at its own resolution; without any of\n"
           "                         these, 640x480 full screen where the display offers it\n"
           "  --regions K            colour regions of a photograph, 1 to 255 (default 12)\n"
           "  --cells WxH            mask grid of a photograph (default auto: square\n"
           "                         cells of 10 board units)\n"
           "  --fit MODE             a photograph's board takes its own shape (own, the\n"
           "                         default, 1:2.5 to 2.5:1), or it meets the 4:3 board\n"
           "                         by crop (its centre), pad (black bars) or stretch\n"
           "  --max-size WxH         a photograph is scaled down to at most this (1024x768,\n"
           "                         turned with a portrait board)\n"
           "  --clear-after SECONDS  clear the canvas after that long without input\n"
           "  --idle-scatter SECONDS the shapes fly off after that long without pointer\n"
           "                         motion (default 27; 0: never)\n"
           "  --max-shapes N         keep at most N shapes; the oldest go first\n"
           "  --reference-drawing    draw and pick each shape on its own (slower; to compare)\n"
           "  --touch                take the first button as a finger on a touch screen;\n"
           "                         controls down the right edge press z, Delete,\n"
           "                         Escape, r, f and p (in a kiosk: z, Delete, r, f)\n"
           "  --kiosk                full screen without the pointer; only the painting\n"
           "                         keys work (1 2 3 4 r f z Delete Backspace) and a\n"
           "                         window close is ignored; the owner ends the show with\n"
           "                         Ctrl+Alt+Q, SIGTERM or SIGHUP (status 0); a window or\n"
           "                         display lost ends the program with status 4\n"
           "  --photos DIR           show the JPEG and PNG files in DIR by name, the next\n"
           "                         after each clear; one that cannot be read is skipped\n"
           "  --shuffle              with --photos: in a shuffled order, each once a round\n"
           "  --record FILE          write the session's input to FILE as it runs\n"
           "  --invite[=FILE]        when the board has been empty and untouched a while,\n"
           "                         play FILE (the demo without it) over the picture\n"
           "                         until the first press or key, which leaves nothing\n"
           "                         of it\n"
           "  --invite-after SECONDS with --invite: that while (default 60)\n"
           "  --render-scale auto|F  draw frames at F (0.5 to 1) of the window's width and\n"
           "                         height and stretch them over it, or with auto as\n"
           "                         much as the frames keep up with (default 1)\n"
           "  --share [ADDRESS:]PORT serve phones on this network at http://ADDRESS:PORT/\n"
           "                         (PORT alone: every IPv4 interface): each phone's\n"
           "                         touches paint on the board as a brush of its own\n"
           "  --share-max N          with --share: at most N phones at once (default 16)\n"
           "  --share-code on|off    with --share: show the phones' address as a QR code\n"
           "                         and text in the top-right corner (default on)\n"
           "  --replay FILE          play a recorded session back (the grave accent quits);\n"
           "                         PICTURE names the picture set or photograph where\n"
           "                         it is now (one recorded on the web page, say)\n"
           "  --fast                 replay as fast as frames are drawn\n"
           "  --snapshots            save a snapshot wherever the replayed session pressed p\n"
           "                         (a replay writes no file without it)\n"
           "  --help                 show this text\n"
           "  --version              print the program's version\n"
           "\n"
           "Buttons and keys:\n"
           "  right button           on the toolbar: choose the shape (parallelogram,\n"
           "                         circle, square, triangle); on the picture: paint one\n"
           "                         in the colour under the pointer, hold to grow it,\n"
           "                         drag for a trail\n"
           "  left button            on two shapes: they trade places or sizes (a circle\n"
           "                         first: they travel round each other); on a triangle\n"
           "                         and two more: a cycle of three; on bare picture: cancel\n"
           "  touch (--touch)        as the right button: paint, or choose a tool; held\n"
           "                         still half a second on a shape, as the left button:\n"
           "                         select, connect\n"
           "  r / f                  scatter the shapes / bring them home\n"
           "  a d w s                pan left, right, up, down\n"
           "  - / =                  zoom out / in\n"
           "  z                      take back the newest shape\n"
           "  Delete, Backspace      remove the selected shapes\n"
           "  p                      save the window as tessera-NNNN.png in this folder\n"
           "  Escape                 clear the canvas (with --photos: show the next one)\n"
           "  ` (grave accent)       quit (status 1)\n";
}

} // namespace tessera
