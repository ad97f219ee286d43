#pragma once

namespace tessera {

class Actor;

// One side of a polygon outline, linked to its neighbours. Edges own nothing: the
// Polygon owns its edges and their vertices.
struct Edge {
    Actor* start = nullptr;
    Actor* end = nullptr;
    Edge* next = nullptr;
    Edge* prev = nullptr;

    Edge(Actor* start, Actor* end) : start(start), end(end) {}
    // Links the new edge directly after the given one.
    Edge(Actor* start, Actor* end, Edge* after);

    float length() const;
};

} // namespace tessera
