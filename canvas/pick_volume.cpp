#include "canvas/pick_volume.h"

#include "scene/shape.h"
#include "scene/shape_transform.h"

#include <cmath>

namespace tessera {

namespace {

using Matrix = double[4][4];

void multiply(const Matrix a, const Matrix b, Matrix out) {
    for (int i = 0; i < 4; ++i) {
        for (int j = 0; j < 4; ++j) {
            out[i][j] =
                a[i][0] * b[0][j] + a[i][1] * b[1][j] + a[i][2] * b[2][j] + a[i][3] * b[3][j];
        }
    }
}

// Signed distance of a clip-space point from side k of the clip volume -w <= x, y, z <= w:
// inside when not negative.
double distance(const std::array<double, 4>& p, int k) {
    const double coordinate = p[static_cast<std::size_t>(k / 2)];
    return k % 2 == 0 ? p[3] + coordinate : p[3] - coordinate;
}

// A triangle clipped against one side at a time holds at most 3 + 6 corners; the rest is
// room for rounding near a side.
constexpr int maxCorners = 16;

} // namespace

void PickVolume::cameraProjection(const Camera& camera, double aspect, double out[4][4]) {
    const double half = camera.fieldOfView / 2.0 * M_PI / 180.0;
    const double f = std::cos(half) / std::sin(half);
    const double depth = camera.zFar - camera.zNear;
    const Matrix perspective = {{f / aspect, 0.0, 0.0, 0.0},
                                {0.0, f, 0.0, 0.0},
                                {0.0, 0.0, -(camera.zFar + camera.zNear) / depth,
                                 -2.0 * camera.zNear * camera.zFar / depth},
                                {0.0, 0.0, -1.0, 0.0}};
    const Matrix view = {{1.0, 0.0, 0.0, -camera.x},
                         {0.0, 1.0, 0.0, -camera.y},
                         {0.0, 0.0, 1.0, -camera.distance},
                         {0.0, 0.0, 0.0, 1.0}};
    multiply(perspective, view, out);
}

PickVolume::PickVolume(const std::array<int, 4>& viewport, const Camera& camera, int x, int y,
                       double size) {
    const double width = viewport[2];
    const double height = viewport[3];
    if (width <= 0.0 || height <= 0.0 || size <= 0.0) {
        empty = true;
        return;
    }
    // As gluPickMatrix: the region, at (x0 + x, y0 + height - y), stretched over the whole
    // volume.
    const double px = viewport[0] + x;
    const double py = viewport[1] + height - y;
    const Matrix pick = {{width / size, 0.0, 0.0, (width - 2.0 * (px - viewport[0])) / size},
                         {0.0, height / size, 0.0, (height - 2.0 * (py - viewport[1])) / size},
                         {0.0, 0.0, 1.0, 0.0},
                         {0.0, 0.0, 0.0, 1.0}};
    Matrix lens;
    cameraProjection(camera, width / height, lens);
    multiply(pick, lens, clip);
    for (int k = 0; k < 6; ++k) {
        const double sign = k % 2 == 0 ? 1.0 : -1.0;
        const int row = k / 2;
        double length = 0.0;
        for (int j = 0; j < 4; ++j) {
            sides[k][j] = clip[3][j] + sign * clip[row][j];
            length += j < 3 ? sides[k][j] * sides[k][j] : 0.0;
        }
        length = std::sqrt(length);
        for (int j = 0; j < 4; ++j) {
            sides[k][j] = length > 0.0 ? sides[k][j] / length : 0.0;
        }
    }
}

PickVolume::Point PickVolume::toClip(float x, float y, float z) const {
    Point p;
    for (int i = 0; i < 4; ++i) {
        p[static_cast<std::size_t>(i)] =
            clip[i][0] * x + clip[i][1] * y + clip[i][2] * z + clip[i][3];
    }
    return p;
}

bool PickVolume::outside(float x, float y, float z, double radius) const {
    for (const auto& side : sides) {
        if (side[0] * x + side[1] * y + side[2] * z + side[3] < -radius) {
            return true;
        }
    }
    return false;
}

void PickVolume::collect(const std::vector<std::unique_ptr<Shape>>& shapes, unsigned int firstName,
                         std::vector<unsigned int>& names) const {
    // A crowd of shapes lies scattered over the heap, and a frame drawn since has pushed
    // them out of the caches: each test would wait on memory three times (the shape, its
    // outline list, the outline). Fetching those a few shapes ahead, one level per stage,
    // lets the waits overlap.
    constexpr std::size_t ahead = 8;
    const std::size_t n = shapes.size();
    for (std::size_t i = 0; i < n; ++i) {
        if (i + 3 * ahead < n) {
            const Shape* later = shapes[i + 3 * ahead].get();
            __builtin_prefetch(&later->position);
            __builtin_prefetch(&later->polygons);
        }
        if (i + 2 * ahead < n) {
            __builtin_prefetch(shapes[i + 2 * ahead]->polygons.data());
        }
        if (i + ahead < n && !shapes[i + ahead]->polygons.empty()) {
            __builtin_prefetch(shapes[i + ahead]->polygons[0].get());
        }
        if (hits(*shapes[i])) {
            names.push_back(firstName + static_cast<unsigned int>(i));
        }
    }
}

bool PickVolume::hits(const Shape& shape) const {
    if (empty || shape.polygons.empty() || shape.polygons[0]->count < 3) {
        return false;
    }
    const Polygon& outline = *shape.polygons[0];
    // Cheap test first: the sphere around the shape's position that holds the whole outline.
    const double radius = static_cast<double>(outline.reach) * std::fabs(shape.scale.x);
    const Vec3& centre = shape.position;
    // Widened by more than the rounding of the placed vertices, so that the sphere never
    // turns away what the exact test would accept.
    const double slack = radius * 1e-3 +
                         1e-5 * (std::fabs(centre.x) + std::fabs(centre.y) + std::fabs(centre.z)) +
                         1e-3;
    if (!std::isfinite(radius) || outside(centre.x, centre.y, centre.z, radius + slack)) {
        return false;
    }
    const ShapeTransform transform(shape);
    const auto at = [&](const Actor* vertex) {
        const Vec3 p = transform.apply(vertex->position);
        return toClip(p.x, p.y, p.z);
    };
    return outline.forEachFanTriangle(at, [this](const Point& a, const Point& b, const Point& c) {
        return clipsTriangle(a, b, c);
    });
}

// Sutherland-Hodgman clipping against the six sides; the triangle counts when a polygon
// of three or more corners is left, as OpenGL's clipper then passes it on.
bool PickVolume::clipsTriangle(const Point& a, const Point& b, const Point& c) const {
    Point corners[2][maxCorners] = {{a, b, c}};
    int count = 3;
    int from = 0;
    for (int k = 0; k < 6 && count >= 3; ++k) {
        const Point* in = corners[from];
        Point* out = corners[1 - from];
        int kept = 0;
        for (int i = 0; i < count; ++i) {
            const Point& p = in[i];
            const Point& q = in[(i + 1) % count];
            const double dp = distance(p, k);
            const double dq = distance(q, k);
            if (dp >= 0.0 && kept < maxCorners) {
                out[kept++] = p;
            }
            if ((dp >= 0.0) != (dq >= 0.0) && kept < maxCorners) {
                const double t = dp / (dp - dq);
                Point cut;
                for (std::size_t j = 0; j < 4; ++j) {
                    cut[j] = p[j] + (q[j] - p[j]) * t;
                }
                out[kept++] = cut;
            }
        }
        count = kept;
        from = 1 - from;
    }
    return count >= 3;
}

} // namespace tessera
