#pragma once

#include <cstdint>

namespace tessera {

class Shape;

// One pointer's painting: the shape it is growing, whether it grows or trails, the time
// since it last laid a shape, where it was pressed and where it is, its buttons held and the
// tool its presses paint with. Several pointers paint at once, each with a stroke of its own.
struct Stroke {
    enum Mode { NotPainting = 0, Growing = 2, Trailing = 3 };
    // The canvas's current tool, the one the toolbar shows.
    static constexpr int toolbarTool = -1;

    Shape* painting = nullptr;
    int paintMode = NotPainting;
    // Seconds since the stroke last spawned or began trailing. Kept apart from the
    // animation timer, so that painting and the scatter or return-home animation can run
    // at the same time without either spoiling the other.
    double strokeElapsed = 0.0;
    int pointerX = 0;
    int pointerY = 0;
    int pressX = -1;
    int pressY = -1;
    // A bit for each button held down.
    std::uint32_t heldButtons = 0;
    int tool = toolbarTool;
};

} // namespace tessera
