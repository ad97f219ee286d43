#pragma once

#include "scene/edge.h"

#include <memory>
#include <utility>
#include <vector>

namespace tessera {

// A closed planar outline: count edges chained from first, edge i running from vertex i
// to vertex (i + 1) mod count. The polygon owns its edges and their start vertices.
struct Polygon {
    Edge* first = nullptr;
    int count = 0;
    // The largest distance of a vertex from the outline's origin, as construction or the
    // last update found it: a bound that hit tests read without visiting the vertices.
    // Vertices move through update; code that moves one otherwise calls measure() after.
    float reach = 0.0f;

    Polygon(Edge* first, int count);
    Polygon(const Polygon&) = delete;
    Polygon& operator=(const Polygon&) = delete;
    ~Polygon();

    // A ring of vertex Actors at the given (x, y) points in the plane z = 0, in order.
    static std::unique_ptr<Polygon> ring(const std::vector<std::pair<float, float>>& points);

    void draw() const;
    void update(float dt);
    float area() const;
    void measure();
};

} // namespace tessera
