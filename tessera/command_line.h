#pragma once

#include "canvas/idle_scatter.h"
#include "frame/render_scale.h"
#include "photo/photo_options.h"
#include "share/share_address.h"

#include <string>

namespace tessera {

// How the program opens its window: by default it tries the 640 x 480 game mode and falls
// back to filling the screen; --fullscreen fills the screen at its own resolution;
// --window and --window-size open an ordinary window and never try full screen.
enum class WindowMode { Default, Window, FullScreen };

// Everything the command line says. Nothing else in the program looks at argv.
struct CommandLine {
    WindowMode windowMode = WindowMode::Default;
    // The size of an ordinary window (--window-size); 0 for 640 x 480, or for a replay the
    // recorded size.
    int windowWidth = 0;
    int windowHeight = 0;
    // A picture-set prefix (DIR/NAME) or a JPEG or PNG photograph; empty for the default
    // picture set.
    std::string picture;
    // How a photograph is made into a picture set; they mean nothing for a picture set.
    PhotoOptions photo;
    bool photoOptionsGiven = false;
    // --clear-after, --idle-scatter, --max-shapes or --reference-drawing was given.
    bool canvasOptionsGiven = false;
    // Seconds without pointer motion, press or key after which the canvas is cleared; 0
    // never clears.
    double clearAfterSeconds = 0.0;
    // Seconds without pointer motion after which the shapes fly off; 0 never.
    double idleScatterSeconds = defaultIdleScatterSeconds;
    // Most shapes on the canvas; the oldest goes when a new one would pass it. 0: no limit.
    int maxShapes = 0;
    // Draw and pick as the shapes' own code does, one by one: slower, for comparison.
    bool referenceDrawing = false;
    // The first button is a finger on a touch screen: a touch paints, a still hold on a
    // shape selects it. Live input only; a recording holds the presses it became.
    bool touch = false;
    // A show nobody at the keyboard can end or wipe: full screen, no pointer, only the
    // painting keys; the owner ends it with Ctrl+Alt+Q, SIGTERM or SIGINT (status 0).
    bool kiosk = false;
    // A folder of photographs, the next one shown after each clear; shuffled or by name.
    std::string photos;
    bool shuffle = false;
    // Write a replay file of the session, or play one back instead of the real input
    // (as fast as frames are drawn with fast). A replay saves the recorded snapshots only
    // with snapshots: playing somebody's file writes nothing unasked.
    std::string record;
    std::string replay;
    bool fast = false;
    bool snapshots = false;
    // Once the board has been empty and untouched for inviteAfterSeconds, play a recording
    // over it to invite a visitor: inviteFile, or the demo shipped with the program when
    // that is empty. The first press or key ends it, leaving nothing of it.
    bool invite = false;
    std::string inviteFile;
    double inviteAfterSeconds = 60.0;
    bool inviteAfterGiven = false;
    // The share of the window's width and height frames are drawn at and stretched from
    // (--render-scale): fixed, or chosen from how long the frames take.
    RenderScale renderScale = RenderScale::fixed(1.0);
    // Serve phones on the room's network at shareAddress (--share [ADDRESS:]PORT): each a
    // brush on the board, at most shareMax at once; the address shown in a corner unless
    // shareCode is off.
    bool share = false;
    ShareAddress shareAddress;
    int shareMax = 16;
    bool shareMaxGiven = false;
    bool shareCode = true;
    bool shareCodeGiven = false;
    bool help = false;
    bool version = false;
};

// Reads the arguments after the program name, GNU style: options and the picture in any
// order, "--name=value" or "--name value", unambiguous abbreviations, "--" ends the
// options. Returns an empty string, or one line naming the argument at fault.
std::string parseCommandLine(int argc, const char* const* argv, CommandLine& options);

std::string usageText();

} // namespace tessera
