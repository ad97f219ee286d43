#pragma once

namespace tessera {

class Canvas;
class Shape;

// What a finger's touch meets, by the rules every finger follows, whether it is the only
// one on the glass or one of many.
// Whether a touch at window point (x, y) lands on a placed shape: on the board and under no
// toolbar entry, whose choice wins over any shape beneath it, as the Canvas's press finds.
bool landsOnShape(const Canvas& canvas, int x, int y);
// What a shape just painted is grown by to show tapPixels across, no further than a hold
// may grow it nor a recording holds; 1 when it shows that wide already.
float tapGrowth(const Canvas& canvas, const Shape& shape, double tapPixels);

} // namespace tessera
