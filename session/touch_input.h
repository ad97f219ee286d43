#pragma once

#include "session/touch_translator.h"

#include <cstdint>

namespace tessera {

class Canvas;
class InputDispatcher;

// Fingers (or pens) on the window, turned into the events a mouse and the keyboard give, so
// that neither the Canvas nor a recording ever learns of fingers.
// - A touch that lands on no placed shape (the board, the margins, the toolbar) is the right
//   button pressed at once: it paints, grows while held, trails when dragged and chooses a
//   tool on the toolbar.
// - A touch that lands on a shape waits: held still for holdTicks it is a left click where it
//   landed (select, connect); moved beyond the slop or lifted sooner, it is the right button
//   pressed where it landed, at that moment, and goes on as above.
// - A press that paints grows its shape at once (a grow event) to tapPixels across, as far
//   as a hold may grow it: a tap leaves a shape a finger does not hide. Holding still grows
//   it further, as the button does.
// - A second finger ends the first one's press; the two then zoom as they spread or close
//   (the zoom keys, a step a key) and pan as they move together (the pan keys, a cell a key),
//   keeping the board under them. A third finger plays no part, and a finger left over from
//   a pinch does nothing until it lifts.
// Points are window pixels, y downwards; times are the clock's ticks.
class TouchInput : public TouchTranslator {
public:
    // Half a second of the clock's nanoseconds: long enough that a tap never selects,
    // short enough that a gesture of several holds keeps its rhythm.
    static constexpr std::int64_t holdTicks = 500'000'000;
    // How far a finger may wander in pixels and still count as held still: a fingertip
    // rolls by a few pixels on any screen (more where pixels are small).
    static constexpr double defaultSlopPixels = 10.0;
    // The least width of a tapped shape, and of a tool on a toolbar for fingers, in pixels
    // at a pixel ratio of 1: a fingertip covers some 10 mm, and 48 is the size phones give
    // their own touch targets.
    static constexpr double defaultTapPixels = 12.0;
    static constexpr double toolPixels = 48.0;

    TouchInput(const Canvas& canvas, InputDispatcher& dispatcher,
               double slopPixels = defaultSlopPixels, double tapPixels = defaultTapPixels);

    // finger tells touches apart while several are down (X11 gives one, a browser its
    // pointer ids). A touch by a finger already down, and moves or lifts by one that is not,
    // are passed over.
    void touchDown(int finger, int x, int y, std::int64_t ticks) override;
    void touchMoved(int finger, int x, int y, std::int64_t ticks) override;
    // A finger lifted, or its touch cancelled.
    void touchUp(int finger, int x, int y, std::int64_t ticks) override;
    // Time passing with the finger still: a touch waiting on a shape long enough selects.
    void tick(std::int64_t ticks) override;

    bool touching() const override { return phase != Phase::Lifted; }

private:
    enum class Phase { Lifted, Waiting, Painting, Held, Pinching };
    struct Finger {
        int id = 0;
        bool down = false;
        int x = 0;
        int y = 0;
    };

    Finger* find(int id);
    bool withinSlop(int x, int y) const;
    void pressRight(std::int64_t ticks);
    void startPinch();
    void pinch(std::int64_t ticks);
    bool midpointOnBoard(float& x, float& y) const;
    void key(int code, std::int64_t ticks);

    const Canvas& canvas;
    InputDispatcher& dispatcher;
    double slopPixels;
    double tapPixels;
    Phase phase = Phase::Lifted;
    Finger fingers[2];
    // Where and when the first finger came down.
    int startX = 0;
    int startY = 0;
    std::int64_t startTicks = 0;
    // The two fingers' distance at the last zoom step, and the board point that lay under
    // their midpoint when the second came down.
    double pinchDistance = 0.0;
    float pinchBoardX = 0.0f;
    float pinchBoardY = 0.0f;
    bool pinchAnchored = false;
};

} // namespace tessera
