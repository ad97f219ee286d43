#pragma once

#include <array>
#include <memory>
#include <vector>

namespace tessera {

class Shape;

// What a small region of the window around a pointer sees through the Canvas's camera: the
// volume that OpenGL's selection mode clips against after gluPickMatrix, gluPerspective and
// the camera's translation. A shape is hit when any part of its drawn outline lies inside,
// as selection mode reports a hit for any primitive that survives clipping.
class PickVolume {
public:
    struct Camera {
        double fieldOfView;
        double zNear;
        double zFar;
        double x;
        double y;
        double distance;
    };

    // A size x size pixel region centred on window point (x, y), y downwards as the
    // pointer reports it, in the viewport (x0, y0, width, height).
    PickVolume(const std::array<int, 4>& viewport, const Camera& camera, int x, int y, double size);

    // Board space to clip space as setProjection makes it, as rows: gluPerspective with the
    // aspect, then the camera's translation.
    static void cameraProjection(const Camera& camera, double aspect, double out[4][4]);

    bool hits(const Shape& shape) const;
    // Appends firstName + i for every shapes[i] hit, in order.
    void collect(const std::vector<std::unique_ptr<Shape>>& shapes, unsigned int firstName,
                 std::vector<unsigned int>& names) const;

private:
    using Point = std::array<double, 4>;

    Point toClip(float x, float y, float z) const;
    bool clipsTriangle(const Point& a, const Point& b, const Point& c) const;
    // Whether a sphere of board space lies wholly outside one side of the volume.
    bool outside(float x, float y, float z, double radius) const;

    bool empty = false;
    double clip[4][4] = {};  // board space to the region's clip space, rows
    double sides[6][4] = {}; // the six sides in board space, inside positive, unit normals
};

} // namespace tessera
