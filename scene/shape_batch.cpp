#include "scene/shape_batch.h"

#include "scene/shape_transform.h"

#include <GL/gl.h>
#include <array>

namespace tessera {

void ShapeBatch::fill(const std::vector<std::unique_ptr<Shape>>& shapes) {
    vertices.clear();
    // A crowd of shapes outgrows the caches, and each shape is a chain of loads that wait on
    // one another: the shape, its outline list, the outline, then edge after edge, each edge
    // naming the next one and its vertex. Shapes ahead are fetched one link per step (the
    // shape, its list, its outline), and then their edges are walked, one edge per shape
    // and step, so that the waits of many shapes overlap.
    constexpr std::size_t ahead = 4;
    struct Walker {
        const Edge* edge = nullptr;
        int left = 0;
    };
    std::array<Walker, 8> walking{};
    const std::size_t n = shapes.size();
    for (std::size_t i = 0; i < n; ++i) {
        const std::size_t far = i + walking.size() + 2 * ahead;
        if (far < n) {
            const Shape* later = shapes[far].get();
            __builtin_prefetch(&later->position);
            __builtin_prefetch(&later->polygons);
            __builtin_prefetch(&later->selected);
        }
        if (far - ahead < n) {
            __builtin_prefetch(shapes[far - ahead]->polygons.data());
        }
        const std::size_t walked = far - 2 * ahead;
        if (walked < n && !shapes[walked]->polygons.empty()) {
            const Polygon& outline = *shapes[walked]->polygons[0];
            walking[walked % walking.size()] = {outline.first, outline.count};
            __builtin_prefetch(outline.first);
        }
        for (Walker& walker : walking) {
            if (walker.left > 0 && walker.edge != nullptr) {
                __builtin_prefetch(&walker.edge->start->position);
                walker.edge = walker.edge->next;
                __builtin_prefetch(walker.edge);
                --walker.left;
            }
        }
        add(*shapes[i]);
    }
}

void ShapeBatch::add(const Shape& shape) {
    if (shape.polygons.empty()) {
        return;
    }
    const Polygon& outline = *shape.polygons[0];
    if (outline.count < 3) {
        return;
    }
    const ShapeTransform transform(shape);
    const Vec3 n = transform.normal();
    const float bright = shape.selected != 0 ? 1.4f : 1.0f;
    const Vec3 c(shape.colour.x * bright, shape.colour.y * bright, shape.colour.z * bright);
    const auto at = [&](const Actor* vertex) {
        const Vec3 p = transform.apply(vertex->position);
        return BatchVertex{p.x, p.y, p.z, n.x, n.y, n.z, c.x, c.y, c.z};
    };
    outline.forEachFanTriangle(
        at, [this](const BatchVertex& a, const BatchVertex& b, const BatchVertex& c) {
            vertices.push_back(a);
            vertices.push_back(b);
            vertices.push_back(c);
            return false;
        });
}

void ShapeBatch::draw() const {
    drawTriangles(vertices);
}

void drawTriangles(const std::vector<BatchVertex>& triangles) {
    if (triangles.empty()) {
        return;
    }
    glDisable(GL_TEXTURE_2D);
    glEnableClientState(GL_VERTEX_ARRAY);
    glEnableClientState(GL_NORMAL_ARRAY);
    glEnableClientState(GL_COLOR_ARRAY);
    constexpr auto stride = static_cast<GLsizei>(sizeof(BatchVertex));
    glVertexPointer(3, GL_FLOAT, stride, &triangles[0].x);
    glNormalPointer(GL_FLOAT, stride, &triangles[0].nx);
    glColorPointer(3, GL_FLOAT, stride, &triangles[0].r);
    glDrawArrays(GL_TRIANGLES, 0, static_cast<GLsizei>(triangles.size()));
    glDisableClientState(GL_COLOR_ARRAY);
    glDisableClientState(GL_NORMAL_ARRAY);
    glDisableClientState(GL_VERTEX_ARRAY);
}

} // namespace tessera
