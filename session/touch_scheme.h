#pragma once

#include <cstdint>

namespace tessera {

class Canvas;
class InputDispatcher;

// Touches (a finger, a pen) turned into the mouse's and the keyboard's events, so that the
// Canvas never learns of fingers and a touch session records and replays as any other:
// - one finger on the board, the margins or the toolbar is the right button: it paints
//   (hold to grow, drag for a trail) or chooses a tool;
// - one finger held still on a shape for holdSeconds is a left click there: it selects
//   the shape and joins it to a gesture; lifted or moved sooner, it does nothing, as the
//   right button paints nothing on a shape;
// - a second finger ends the first one's stroke, and the two then zoom as they spread or
//   close (the zoom keys, one step a key) and pan as they move together (the pan keys, a
//   cell a key), keeping the board under them.
// Points are window pixels, y downwards; times are the clock's ticks (nanoseconds).
class TouchScheme {
public:
    static constexpr double holdSeconds = 0.5;

    // stillRadius: how far in pixels a finger may wander and still be held still.
    TouchScheme(const Canvas& canvas, InputDispatcher& dispatcher, double stillRadius);

    void touchDown(int id, int x, int y, std::int64_t ticks);
    void touchMoved(int id, int x, int y, std::int64_t ticks);
    // A finger lifted, or its touch cancelled by the browser.
    void touchUp(int id, int x, int y, std::int64_t ticks);
    // Called every frame: a finger held still long enough on a shape clicks it.
    void tick(std::int64_t ticks);

private:
    enum Role { Unused, Painting, Holding, Idle };
    struct Finger {
        int id = -1;
        Role role = Unused;
        int x = 0;
        int y = 0;
        int downX = 0;
        int downY = 0;
        std::int64_t downTicks = 0;
    };

    Finger* find(int id);
    void endStroke(Finger& finger, std::int64_t ticks);
    void startPinch();
    void pinch(std::int64_t ticks);
    void key(int code, std::int64_t ticks);
    bool onShape(int x, int y) const;
    bool midpointOnBoard(float& x, float& y) const;

    const Canvas& canvas;
    InputDispatcher& dispatcher;
    double stillRadius;
    Finger fingers[2];
    // The two fingers' distance at the last zoom step, and the board point that lay under
    // their midpoint when they met.
    double pinchDistance = 0.0;
    float pinchBoardX = 0.0f;
    float pinchBoardY = 0.0f;
    bool pinchAnchored = false;
};

} // namespace tessera
