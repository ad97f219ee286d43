#include "scene/shape_transform.h"

#include "scene/shape.h"

#include <cmath>

namespace tessera {

ShapeTransform::ShapeTransform(const Shape& shape)
    : ShapeTransform(shape.position, shape.scale.x, shape.rotation) {}

ShapeTransform::ShapeTransform(const Vec3& p, float s, const Vec3& rotation) {
    const float rows[3][4] = {{s, 0.0f, 0.0f, p.x}, {0.0f, s, 0.0f, p.y}, {0.0f, 0.0f, s, p.z}};
    for (int i = 0; i < 3; ++i) {
        for (int j = 0; j < 4; ++j) {
            m[i][j] = rows[i][j];
        }
    }
    rotate(rotation.x, 0);
    rotate(rotation.y, 1);
    rotate(rotation.z, 2);
}

// NOTE: the sine and cosine are taken, and the product summed, in the order OpenGL's
// matrix code uses, so that the vertices match the immediate-mode ones.
void ShapeTransform::rotate(float degrees, int axis) {
    if (degrees == 0.0f) {
        return;
    }
    const auto radians = static_cast<float>(static_cast<double>(degrees) * M_PI / 180.0);
    const float s = std::sin(radians);
    const float c = std::cos(radians);
    float r[3][3] = {{1.0f, 0.0f, 0.0f}, {0.0f, 1.0f, 0.0f}, {0.0f, 0.0f, 1.0f}};
    const int a = (axis + 1) % 3;
    const int b = (axis + 2) % 3;
    r[a][a] = c;
    r[b][b] = c;
    r[a][b] = -s;
    r[b][a] = s;
    for (int i = 0; i < 3; ++i) {
        const float m0 = m[i][0];
        const float m1 = m[i][1];
        const float m2 = m[i][2];
        for (int j = 0; j < 3; ++j) {
            m[i][j] = m0 * r[0][j] + m1 * r[1][j] + m2 * r[2][j];
        }
    }
}

Vec3 ShapeTransform::normal() const {
    const Vec3 n(m[0][2], m[1][2], m[2][2]);
    const float length = std::sqrt(n.x * n.x + n.y * n.y + n.z * n.z);
    if (length == 0.0f || !std::isfinite(length)) {
        return {0.0f, 0.0f, 1.0f};
    }
    return n / length;
}

} // namespace tessera
