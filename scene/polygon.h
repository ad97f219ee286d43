#pragma once

#include "scene/edge.h"

#include <cmath>
#include <memory>
#include <utility>
#include <vector>

namespace tessera {

// A closed planar outline: count edges chained from first, edge i running from vertex i
// to vertex (i + 1) mod count. The polygon owns its edges and their start vertices, which
// report to it when they start a keyframe.
struct Polygon {
    Edge* first = nullptr;
    int count = 0;
    // The largest distance of a vertex from the outline's origin, as construction or the
    // last update found it: a bound that hit tests read without visiting the vertices.
    // Vertices move through update and the keyframes they start; code that moves one
    // otherwise (sets a value or a motion vector itself) calls measure() after.
    float reach = 0.0f;
    // Whether a vertex may move in the next update. Once an update finds them all at rest,
    // later ones leave them alone, until one starts a keyframe or measure() runs.
    bool restless = true;

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

    // The outline as OpenGL splits a polygon: a fan of triangles from the first vertex
    // (for a quad, its two halves), so that what is drawn and what is hit agree. place
    // maps each vertex once; visit takes three placed corners and returns true to stop.
    // Returns whether a visit stopped it.
    template <typename Place, typename Visit>
    bool forEachFanTriangle(Place place, Visit visit) const;

private:
    void updateVertices(float dt);
};

inline void Polygon::update(float dt) {
    // A vertex that came to rest in an update forward in time has +0 steps and no -0 value
    // left for a +0 step to turn, so a later such update changes nothing but its elapsed
    // time, which is read again only after a keyframe starts and sets it to 0.
    if (restless || !std::isfinite(dt) || std::signbit(dt)) {
        updateVertices(dt);
    }
}

template <typename Place, typename Visit>
bool Polygon::forEachFanTriangle(Place place, Visit visit) const {
    if (count < 3) {
        return false;
    }
    const Edge* edge = first;
    const auto corner = place(edge->start);
    edge = edge->next;
    auto previous = place(edge->start);
    for (int i = 2; i < count; ++i) {
        edge = edge->next;
        const auto next = place(edge->start);
        if (visit(corner, previous, next)) {
            return true;
        }
        previous = next;
    }
    return false;
}

} // namespace tessera
