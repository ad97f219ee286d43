#include "scene/edge.h"

#include "scene/actor.h"

#include <cmath>

namespace tessera {

Edge::Edge(Actor* start, Actor* end, Edge* after)
    : start(start), end(end), next(after->next), prev(after) {
    if (next != nullptr) {
        next->prev = this;
    }
    after->next = this;
}

float Edge::length() const {
    const Vec3 d = start->position - end->position;
    return std::sqrt(d.x * d.x + d.y * d.y + d.z * d.z);
}

} // namespace tessera
