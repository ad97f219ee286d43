#pragma once

#include "scene/vec3.h"

namespace tessera {

class Shape;

// The placement a shape kind's draw gives its outline (translate to the position, scale
// uniformly by scale.x, rotate about x, then y, then z), as a 3 x 4 affine matrix built in
// single precision the way OpenGL composes glTranslatef, glScalef and glRotatef. Points
// placed with it land where the shape's own draw puts them, to the last bit or so.
class ShapeTransform {
public:
    explicit ShapeTransform(const Shape& shape);
    // The same placement from its parts: position, uniform scale, rotation (degrees).
    ShapeTransform(const Vec3& position, float scale, const Vec3& rotation);

    Vec3 apply(const Vec3& p) const {
        return {m[0][0] * p.x + m[0][1] * p.y + m[0][2] * p.z + m[0][3],
                m[1][0] * p.x + m[1][1] * p.y + m[1][2] * p.z + m[1][3],
                m[2][0] * p.x + m[2][1] * p.y + m[2][2] * p.z + m[2][3]};
    }
    // The outline's +z normal turned with the shape, of unit length (+z when the scale is 0).
    Vec3 normal() const;

    float m[3][4];

private:
    void rotate(float degrees, int axis);
};

} // namespace tessera
