#pragma once

#include "scene/shape.h"

#include <cstddef>
#include <memory>
#include <vector>

namespace tessera {

// One point of the batch: where it lies in board space, its normal and its colour.
struct BatchVertex {
    float x, y, z;
    float nx, ny, nz;
    float r, g, b;
};

// Many shapes drawn with one vertex array instead of one glBegin and matrix push each. The
// vertices are placed on the CPU exactly as a shape kind's draw places its first outline,
// with that draw's normal and colour (brighter when selected; colours stay floats, so a
// value above 1 reaches OpenGL as it is). Each outline becomes triangles as OpenGL splits
// it, and the shapes keep their order: shapes at one depth hide later ones in both ways.
// Placed points light as the shape's own draw lights them because the camera lives in the
// projection: lighting happens in board space either way.
class ShapeBatch {
public:
    // Refills the arrays; once they have grown to the scene, this allocates nothing.
    void fill(const std::vector<std::unique_ptr<Shape>>& shapes);
    // One glDrawArrays of every triangle, lit like the shapes' own draw. Leaves texturing
    // off, as that draw does, and the client arrays disabled.
    void draw() const;

    const std::vector<BatchVertex>& triangles() const { return vertices; }

private:
    void add(const Shape& shape);

    std::vector<BatchVertex> vertices;
};

// One glDrawArrays of the triangles, with their normals and colours. Leaves texturing off
// and the client arrays disabled.
void drawTriangles(const std::vector<BatchVertex>& triangles);

} // namespace tessera
