#include "session/kiosk_keys.h"

#include <cstring>

namespace tessera {
namespace {

constexpr unsigned char graveAccent = 96;
// X11 gives Ctrl+Q as the control character 17; with Alt alone held it stays a letter.
constexpr unsigned char controlQ = 'q' & 0x1f;
// The tools, scatter and return, undo, Backspace and Delete.
constexpr const char allowedKeys[] = "1234rfz\b\x7f";

} // namespace

KioskKeys::Action KioskKeys::action(unsigned char key, int modifiers) const {
    if (!kiosk) {
        return key == graveAccent ? ForwardAndQuit : Forward;
    }
    const bool chord = (modifiers & (control | alt)) == (control | alt);
    if (chord && (key == controlQ || key == 'q' || key == 'Q')) {
        return EndShow;
    }
    return key != '\0' && std::strchr(allowedKeys, key) != nullptr ? Forward : Ignore;
}

} // namespace tessera
