#pragma once

#include "session/touch_input.h"
#include "session/touch_translator.h"

#include <cstdint>
#include <functional>
#include <vector>

namespace tessera {

class Canvas;
class InputDispatcher;

// A kiosk's fingers: a wall many visitors paint on at once, each finger its own pointer with
// its own stroke. Each finger gets a new pointer as it lands, so that neither the Canvas nor
// a recording sees the window system's finger ids, which it reuses.
// Each finger keeps TouchInput's single-finger rules:
// - landing on no placed shape it is the right button pressed at once, the shape it paints
//   grown to tapPixels across;
// - landing on a shape it waits: held still for holdTicks it is a left click where it
//   landed (select, or connect to the selection standing, whichever finger made it); moved
//   beyond the slop or lifted sooner, a right press there;
// - its moves are its pointer's motion, its lift the release.
// No pinch zooms or pans: the board stays where the next visitor expects it. Fingers past
// maxFingers at once (a palm, a sleeve) are passed over until some lift.
class TouchWall : public TouchTranslator {
public:
    static constexpr std::size_t maxFingers = 20;

    // newPointer gives a pointer id no other input uses.
    TouchWall(const Canvas& canvas, InputDispatcher& dispatcher, std::function<int()> newPointer,
              double slopPixels = TouchInput::defaultSlopPixels,
              double tapPixels = TouchInput::defaultTapPixels);

    void touchDown(int finger, int x, int y, std::int64_t ticks) override;
    void touchMoved(int finger, int x, int y, std::int64_t ticks) override;
    void touchUp(int finger, int x, int y, std::int64_t ticks) override;
    void tick(std::int64_t ticks) override;
    bool touching() const override { return !fingers.empty(); }

private:
    enum class Phase { Waiting, Painting, Held };
    struct Finger {
        int id = 0;
        int pointer = 0;
        Phase phase = Phase::Waiting;
        // Where and when it came down.
        int startX = 0;
        int startY = 0;
        std::int64_t startTicks = 0;
    };

    Finger* find(int id);
    void pressRight(Finger& finger, std::int64_t ticks);

    const Canvas& canvas;
    InputDispatcher& dispatcher;
    std::function<int()> newPointer;
    double slopPixels;
    double tapPixels;
    std::vector<Finger> fingers;
};

} // namespace tessera
