#pragma once

namespace tessera {

// Three single-precision components: a position, a rotation in degrees, a scale or a
// colour, by use. All arithmetic is per component in float.
struct Vec3 {
    float x = 0.0f;
    float y = 0.0f;
    float z = 0.0f;

    Vec3() = default;
    Vec3(float x, float y, float z) : x(x), y(y), z(z) {}

    void set(float nx, float ny, float nz) {
        x = nx;
        y = ny;
        z = nz;
    }
    Vec3& fill(float v) {
        x = y = z = v;
        return *this;
    }
    void add(float dx, float dy, float dz) {
        x += dx;
        y += dy;
        z += dz;
    }

    Vec3 operator+(const Vec3& o) const { return {x + o.x, y + o.y, z + o.z}; }
    Vec3 operator-(const Vec3& o) const { return {x - o.x, y - o.y, z - o.z}; }
    Vec3 operator*(float s) const { return {x * s, y * s, z * s}; }
    // Divides each component by s itself rather than multiplying by 1/s, so results
    // match the stepwise motion law to the last bit.
    Vec3 operator/(float s) const { return {x / s, y / s, z / s}; }
};

} // namespace tessera
