#pragma once

#include "frame/overlay.h"

#include <utility>
#include <vector>

namespace tessera {

// The keys a touch screen has no other way to reach (undo, delete, clear, scatter, return,
// snapshot), as controls a finger can hit: squares in a column down the window's right edge
// from its top corner, away from the toolbar at the board's bottom left, in a second column
// to the left where a window is too low for one. A press on one stands for its key; what the
// key then does is the key's own path.
class TouchControls {
public:
    struct Control {
        unsigned char key = 0;
        int x = 0; // the square's top left window pixel, y downwards
        int y = 0;
        int side = 0;

        bool contains(int px, int py) const {
            return px >= x && px < x + side && py >= y && py < y + side;
        }
    };

    // Every key that has a control, in the column's order.
    static const std::vector<unsigned char>& allKeys();
    // The smallest side, in pixels: a fingertip's width on a common touch screen.
    static constexpr int minimumSide = 48;

    // Controls for these keys, none until laid out.
    explicit TouchControls(std::vector<unsigned char> keys) : keys(std::move(keys)) {}

    // Places the controls in a window of the size and draws them into overlay.
    void layOut(int width, int height, Overlay& overlay);
    const std::vector<Control>& controls() const { return placed; }
    // The key of the control at window pixel (x, y), or 0 where there is none.
    unsigned char keyAt(int x, int y) const;

private:
    std::vector<unsigned char> keys;
    std::vector<Control> placed;
};

} // namespace tessera
