#include "scene/polygon.h"

#include "scene/actor.h"

#include <GL/gl.h>
#include <algorithm>
#include <cmath>
#include <vector>

namespace tessera {

namespace {

float lengthSquared(const Vec3& v) {
    return v.x * v.x + v.y * v.y + v.z * v.z;
}

} // namespace

Polygon::Polygon(Edge* first, int count) : first(first), count(count) {
    Edge* edge = first;
    for (int i = 0; i < count && edge != nullptr; ++i, edge = edge->next) {
        edge->start->reportStartsTo(&restless);
    }
    measure();
}

void Polygon::measure() {
    float farthest = 0.0f;
    const Edge* edge = first;
    for (int i = 0; i < count && edge != nullptr; ++i, edge = edge->next) {
        farthest = std::max(farthest, lengthSquared(edge->start->position));
    }
    reach = std::sqrt(farthest);
    restless = true;
}

Polygon::~Polygon() {
    Edge* edge = first;
    for (int i = 0; i < count && edge != nullptr; ++i) {
        Edge* next = edge->next;
        delete edge->start;
        delete edge;
        edge = next;
    }
}

std::unique_ptr<Polygon> Polygon::ring(const std::vector<std::pair<float, float>>& points) {
    std::vector<Actor*> vertices;
    vertices.reserve(points.size());
    for (const auto& [x, y] : points) {
        vertices.push_back(new Actor(x, y, 0.0f));
    }
    const int n = static_cast<int>(vertices.size());
    Edge* first = new Edge(vertices[0], vertices[1 % n]);
    Edge* last = first;
    for (int i = 1; i < n; ++i) {
        last = new Edge(vertices[i], vertices[(i + 1) % n], last);
    }
    return std::make_unique<Polygon>(first, n);
}

void Polygon::draw() const {
    if (count < 3) {
        return;
    }
    glBegin(count == 3 ? GL_TRIANGLES : count == 4 ? GL_QUADS : GL_POLYGON);
    const Edge* edge = first;
    for (int i = 0; i < count; ++i, edge = edge->next) {
        glNormal3f(0.0f, 0.0f, 1.0f);
        glVertex3f(edge->start->position.x, edge->start->position.y, edge->start->position.z);
    }
    glEnd();
}

void Polygon::updateVertices(float dt) {
    const bool forward = std::isfinite(dt) && !std::signbit(dt);
    float farthest = 0.0f;
    bool resting = forward;
    Edge* edge = first;
    for (int i = 0; i < count; ++i, edge = edge->next) {
        edge->start->update(dt);
        farthest = std::max(farthest, lengthSquared(edge->start->position));
        resting = resting && edge->start->atRest();
    }
    reach = std::sqrt(farthest);
    restless = !resting;
}

float Polygon::area() const {
    if (count == 3) {
        const float b = first->length();
        const float c = first->next->length();
        const float d = first->next->next->length();
        if (b == 0.0f || c == 0.0f) {
            return 0.0f;
        }
        // Rounding can carry the cosine of a flat triangle just past +-1, where its angle
        // has no value; sin(acos(x)) is taken as sqrt(1 - x^2), which is 0 at both ends.
        const float cosine = std::clamp((c * c + b * b - d * d) / (2.0f * b * c), -1.0f, 1.0f);
        return 0.5f * b * c * std::sqrt(1.0f - cosine * cosine);
    }
    if (count == 4) {
        return first->length() * first->next->length();
    }
    return 1.0f;
}

} // namespace tessera
