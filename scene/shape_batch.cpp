#include "scene/shape_batch.h"

#include "scene/shape_transform.h"

#include <GL/gl.h>

namespace tessera {

void ShapeBatch::fill(const std::vector<std::unique_ptr<Shape>>& shapes) {
    vertices.clear();
    for (const auto& shape : shapes) {
        add(*shape);
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
