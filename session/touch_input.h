#pragma once

#include <cstdint>

namespace tessera {

class Canvas;
class InputDispatcher;

// One finger (or pen) on the window, turned into the events a mouse gives, so that neither
// the Canvas nor a recording ever learns of fingers. A touch that lands on no placed shape
// (the board, the margins, the toolbar) is the right button pressed at once: it paints,
// grows while held, trails when dragged and chooses a tool on the toolbar. A touch that
// lands on a shape waits: held still for holdTicks it is a left click where it landed
// (select, connect); moved beyond slopPixels or lifted sooner, it is the right button
// pressed where it landed, at that moment, and goes on as above.
class TouchInput {
public:
    // Half a second of the clock's nanoseconds: long enough that a tap never selects,
    // short enough that a gesture of several holds keeps its rhythm.
    static constexpr std::int64_t holdTicks = 500'000'000;
    // How far a finger may wander in pixels and still count as held still: a fingertip
    // rolls by a few pixels on any screen.
    static constexpr int slopPixels = 10;

    TouchInput(const Canvas& canvas, InputDispatcher& dispatcher);

    // Window pixels, y downwards, and the clock's reading. A touch while one is down, and
    // moves or lifts with none down, are passed over.
    void touchDown(int x, int y, std::int64_t ticks);
    void touchMoved(int x, int y, std::int64_t ticks);
    void touchUp(int x, int y, std::int64_t ticks);
    // Time passing with the finger still: a touch waiting on a shape long enough selects.
    void tick(std::int64_t ticks);

    bool touching() const { return phase != Phase::Lifted; }

private:
    enum class Phase { Lifted, Waiting, Painting, Held };

    bool landsOnShape(int x, int y) const;
    bool withinSlop(int x, int y) const;
    void pressRight(std::int64_t ticks);

    const Canvas& canvas;
    InputDispatcher& dispatcher;
    Phase phase = Phase::Lifted;
    // Where and when the touch came down.
    int startX = 0;
    int startY = 0;
    std::int64_t startTicks = 0;
};

} // namespace tessera
