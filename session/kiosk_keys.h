#pragma once

namespace tessera {

// What a key press does to the show. In a kiosk a visitor's keys must not end or wipe it,
// nor move the board away for the next visitor, nor fill the disk with snapshots: only
// the keys that paint and undo reach the Canvas, and the owner ends the show with a chord
// nobody presses by chance, Ctrl+Alt+Q.
class KioskKeys {
public:
    enum Action {
        Forward,        // to the Canvas (and the recording)
        ForwardAndQuit, // the quit key outside a kiosk: the Canvas sees it, then status 1
        Ignore,         // reaches nothing
        EndShow,        // the owner's chord: ends normally, status 0, unseen by the Canvas
    };
    // The modifiers held, as GLUT reports them.
    static constexpr int shift = 1;
    static constexpr int control = 2;
    static constexpr int alt = 4;

    explicit KioskKeys(bool kiosk) : kiosk(kiosk) {}

    Action action(unsigned char key, int modifiers) const;
    bool inKiosk() const { return kiosk; }

private:
    bool kiosk;
};

} // namespace tessera
