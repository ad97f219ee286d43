#pragma once

#include <cstdint>

namespace tessera {

// Turns fingers on the window into the events a mouse and the keyboard give, so that
// neither the Canvas nor a recording ever learns of fingers. finger tells touches apart
// while several are down (X11 gives one, a browser its pointer ids); points are window
// pixels, y downwards; times are the clock's ticks.
class TouchTranslator {
public:
    virtual ~TouchTranslator() = default;

    virtual void touchDown(int finger, int x, int y, std::int64_t ticks) = 0;
    virtual void touchMoved(int finger, int x, int y, std::int64_t ticks) = 0;
    // A finger lifted, or its touch cancelled.
    virtual void touchUp(int finger, int x, int y, std::int64_t ticks) = 0;
    // Time passing with fingers still: a touch waiting on a shape long enough selects.
    virtual void tick(std::int64_t ticks) = 0;
    virtual bool touching() const = 0;
};

} // namespace tessera
