#pragma once

#include "session/brush_event.h"

#include <cstdint>
#include <functional>
#include <map>

namespace tessera {

class Canvas;
class InputDispatcher;

// Brushes held elsewhere (phones in the room), turned into the window events of pointers of
// their own: a touch with a painting tool is the right button of its pointer, pressed with
// that tool; with the select tool it is the left button. Each touch lands on the window
// point that shows its board point now, so that it paints under the same point of the
// picture wherever the window stands; the Canvas and a recording know only pointers.
class RemoteBrushes {
public:
    // newPointer gives a pointer id no other input uses.
    RemoteBrushes(const Canvas& canvas, InputDispatcher& dispatcher,
                  std::function<int()> newPointer);

    void handle(const BrushEvent& event, std::int64_t ticks);
    // Brushes known now: each has a pointer while it is connected.
    std::size_t count() const { return brushes.size(); }

private:
    struct Brush {
        int pointer = 0;
        int tool = 0;
        bool down = false;
        int button = 0;
        int x = 0;
        int y = 0;
    };

    Brush& brushFor(int id);
    // The window pixel showing the board point at shares (u, v) from the top-left.
    void windowPoint(float u, float v, int& x, int& y) const;
    void lift(Brush& brush, std::int64_t ticks);

    const Canvas& canvas;
    InputDispatcher& dispatcher;
    std::function<int()> newPointer;
    std::map<int, Brush> brushes;
};

} // namespace tessera
