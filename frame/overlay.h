#pragma once

#include "scene/vec3.h"

#include <vector>

namespace tessera {

// A point of the overlay, in window pixels (y downwards), with its colour.
struct OverlayVertex {
    float x = 0.0f;
    float y = 0.0f;
    Vec3 colour;
};

// What the program lays over a frame in window pixels, such as controls for a finger: drawn
// last, over everything, unlit and without a depth test, the triangles and then the lines.
// The Canvas neither picks nor reads it.
struct Overlay {
    std::vector<OverlayVertex> triangles; // three to a triangle
    std::vector<OverlayVertex> lines;     // two to a line
    float lineWidth = 1.0f;

    bool empty() const { return triangles.empty() && lines.empty(); }
};

} // namespace tessera
