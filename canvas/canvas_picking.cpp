#include "canvas/canvas.h"
#include "canvas/matrix.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <vector>

namespace tessera {
namespace {

// The board height the camera's field of view is chosen for.
constexpr double framedBoardHeight = 480.0;

} // namespace

void Canvas::selectionHitsAt(int x, int y, std::vector<GLuint>& names) const {
    if (!renderer->selectionHits(describeFrame(false), x, y, pickRegionPixels, names)) {
        hitsAt(x, y, names);
    }
}

PickVolume::Camera Canvas::cameraFor(double aspect) const {
    return cameraFor(aspect, boardWidth, boardHeight);
}

PickVolume::Camera Canvas::cameraFor(double aspect, int width, int height) const {
    double field = fieldOfView;
    const double boardAspect = static_cast<double>(width) / height;
    // The field shows a board 480 units tall as the camera's own field does; a taller board
    // widens it in proportion, so that every board fills its viewport alike.
    const double heightShare = height / framedBoardHeight;
    const double half = field / 2.0 * M_PI / 180.0;
    if (aspect < boardAspect) {
        // As wide a view of the board plane as a viewport of the board's shape has.
        field = 2.0 * std::atan(std::tan(half) * boardAspect / aspect * heightShare) * 180.0 / M_PI;
    } else if (heightShare != 1.0) {
        field = 2.0 * std::atan(std::tan(half) * heightShare) * 180.0 / M_PI;
    }
    const float x = cameraX + static_cast<float>(width - boardWidth) * 0.5f;
    const float y = cameraY + static_cast<float>(height - boardHeight) * 0.5f;
    return {field, zNear, zFar, x, y, cameraDistance};
}

// The camera moved towards the board's origin, to a place and distance divided by s, shows
// the scene scaled by s about the origin, exactly, perspective and all: drawing and picking
// both see the toolbar through it.
PickVolume::Camera Canvas::toolbarCameraFor(double aspect) const {
    PickVolume::Camera camera = cameraFor(aspect);
    camera.x = static_cast<float>(boardWidth) * 0.5f;
    camera.y = static_cast<float>(boardHeight) * 0.5f;
    camera.distance = startingCameraDistance;
    const double s = toolbarScale();
    if (s > 1.0) {
        camera.x /= s;
        camera.y /= s;
        camera.distance /= s;
    }
    return camera;
}

double Canvas::toolbarScale() const {
    if (leastToolPixels <= 0.0 || tools.empty() || viewport[2] <= 0 || viewport[3] <= 0) {
        return 1.0;
    }
    const double aspect = static_cast<double>(viewport[2]) / viewport[3];
    const PickVolume::Camera camera = cameraFor(aspect);
    const double distance = startingCameraDistance;
    // The faces are squares (outline +-1, scaled by scale.x), all at one depth.
    const Shape& first = *tools.front();
    const Shape& last = *tools[tools.size() - 2];
    const double depth = first.position.z;
    const double tanY = std::tan(camera.fieldOfView / 2.0 * M_PI / 180.0);
    const double perUnit = viewport[3] / (2.0 * (distance - depth) * tanY);
    const double wanted = leastToolPixels / (2.0 * first.scale.x * perUnit);
    // At scale s a point (x, y, depth) shows where (s x, s y, s depth) does unscaled: the
    // last face's top stays below the window's top edge, and its right edge, with the strip's
    // end half a face beyond, left of the window's right edge.
    const auto fits = [&](double corner, double centre, double tanHalf) {
        return (tanHalf * distance + centre) / (corner + tanHalf * depth);
    };
    const double across =
        fits(last.position.x + 1.5 * last.scale.x, boardWidth * 0.5, tanY * aspect);
    const double up = fits(last.position.y + last.scale.x, boardHeight * 0.5, tanY);
    return std::max(1.0, std::min({wanted, across, up, maxToolbarScale}));
}

PickVolume Canvas::pickVolume(int x, int y, double size) const {
    const double aspect = viewport[3] > 0 ? static_cast<double>(viewport[2]) / viewport[3] : 1.0;
    return PickVolume(viewport, cameraFor(aspect), x, y, size);
}

void Canvas::hitsAt(int x, int y, std::vector<GLuint>& names) const {
    names.clear();
    pickVolume(x, y, pickRegionPixels).collect(shapes, 0, names);
    const double aspect = viewport[3] > 0 ? static_cast<double>(viewport[2]) / viewport[3] : 1.0;
    PickVolume(viewport, toolbarCameraFor(aspect), x, y, pickRegionPixels)
        .collect(tools, static_cast<GLuint>(shapes.size()), names);
}

int Canvas::pick(int x, int y) {
    if (referenceDrawing) {
        selectionHitsAt(x, y, pickNames);
    } else {
        hitsAt(x, y, pickNames);
    }
    if (pickNames.empty()) {
        clearSelection();
    } else {
        collectHits(pickNames);
    }
    return 1;
}

int Canvas::collectHits(const std::vector<GLuint>& names) {
    for (const GLuint name : names) {
        const std::size_t m = name;
        if (m < shapes.size()) {
            if (shapes[m]->isSelected() == 0) {
                selection.push_back(static_cast<int>(m));
                shapes[m]->setSelected(1);
            }
        } else if (m - shapes.size() < tools.size()) {
            const std::size_t j = m - shapes.size();
            if (tools[j]->isSelected() == 0) {
                toolHits.push_back(static_cast<int>(j));
                tools[j]->setSelected(1);
            }
        }
    }
    return 1;
}

void Canvas::pickTools(int x, int y) {
    if (referenceDrawing) {
        selectionHitsAt(x, y, pickNames);
    } else {
        hitsAt(x, y, pickNames);
    }
    const auto placed = static_cast<GLuint>(shapes.size());
    pickNames.erase(std::remove_if(pickNames.begin(), pickNames.end(),
                                   [placed](GLuint name) { return name < placed; }),
                    pickNames.end());
    collectHits(pickNames);
}

void Canvas::clearSelection() {
    for (int index : selection) {
        shapes[static_cast<std::size_t>(index)]->setSelected(0);
    }
    selection.clear();
}

double Canvas::shownAcross(const Shape& shape) const {
    if (viewport[2] <= 0 || viewport[3] <= 0 || shape.polygons.empty()) {
        return 0.0;
    }
    const PickVolume::Camera camera = cameraFor(static_cast<double>(viewport[2]) / viewport[3]);
    const double depth = camera.distance - shape.position.z;
    if (depth <= 0.0) {
        return 0.0;
    }
    float left = 0.0f;
    float right = 0.0f;
    float bottom = 0.0f;
    float top = 0.0f;
    const Polygon& outline = *shape.polygons[0];
    const Edge* edge = outline.first;
    for (int i = 0; i < outline.count; ++i, edge = edge->next) {
        const Vec3& p = edge->start->position;
        left = i == 0 ? p.x : std::min(left, p.x);
        right = i == 0 ? p.x : std::max(right, p.x);
        bottom = i == 0 ? p.y : std::min(bottom, p.y);
        top = i == 0 ? p.y : std::max(top, p.y);
    }
    // Seen straight on, a shape parallel to the board shows at one scale all over.
    const double perUnit =
        viewport[3] / (2.0 * depth * std::tan(camera.fieldOfView / 2.0 * M_PI / 180.0));
    return std::min(right - left, top - bottom) * shape.scale.x * perUnit;
}

// NOTE: the camera is taken from the Canvas's own fields and viewport, never read back from
// OpenGL: the GL matrices are those of the last frame drawn, and a replay or an offscreen
// render draws its frames at other moments than the session did, so a point read from them
// would differ. Between frames the modelview matrix is the identity.
int Canvas::unproject(int x, int y, float& outX, float& outY) const {
    return unprojectIn(viewport, x, y, outX, outY);
}

int Canvas::unprojectIn(const std::array<int, 4>& shown, int x, int y, float& outX,
                        float& outY) const {
    if (shown[2] <= 0 || shown[3] <= 0) {
        return 0;
    }
    const double aspect = static_cast<double>(shown[2]) / shown[3];
    return unprojectThrough(cameraFor(aspect), shown, x, y, outX, outY);
}

int Canvas::unprojectAs(int width, int height, const std::array<int, 4>& shown, int x, int y,
                        float& outX, float& outY) const {
    if (shown[2] <= 0 || shown[3] <= 0 || width <= 0 || height <= 0) {
        return 0;
    }
    const double aspect = static_cast<double>(shown[2]) / shown[3];
    if (unprojectThrough(cameraFor(aspect, width, height), shown, x, y, outX, outY) == 0) {
        return 0;
    }
    outX = outX * static_cast<float>(boardWidth) / static_cast<float>(width);
    outY = outY * static_cast<float>(boardHeight) / static_cast<float>(height);
    return 1;
}

int Canvas::unprojectThrough(const PickVolume::Camera& camera, const std::array<int, 4>& shown,
                             int x, int y, float& outX, float& outY) const {
    const double aspect = static_cast<double>(shown[2]) / shown[3];
    double rows[4][4];
    PickVolume::cameraProjection(camera, aspect, rows);
    float projection[16]; // column-major, as OpenGL holds it
    for (int r = 0; r < 4; ++r) {
        for (int c = 0; c < 4; ++c) {
            projection[4 * c + r] = static_cast<float>(rows[r][c]);
        }
    }
    float modelview[16];
    identityMatrix(modelview);
    float m[16];
    multiplyMatrices(modelview, projection, m);
    if (invertMatrix(m, m) == 0) {
        return 0;
    }
    const float width = static_cast<float>(shown[2]);
    const float height = static_cast<float>(shown[3]);
    const float nx = 2.0f * static_cast<float>(x) / width - 1.0f;
    const float ny = 2.0f * (height - static_cast<float>(y)) / height - 1.0f;
    const float w0 = m[3] * nx + m[7] * ny + m[15];
    if (m[10] == 0.0f) {
        return 0;
    }
    const float nz = -(m[2] * nx + m[6] * ny + m[14]) / m[10];
    const float w = w0 + m[11] * nz;
    // A point at infinity on the board plane has no position.
    if (w == 0.0f) {
        return 0;
    }
    outX = (m[0] * nx + m[4] * ny + m[8] * nz + m[12]) / w;
    outY = (m[1] * nx + m[5] * ny + m[9] * nz + m[13]) / w;
    return 1;
}

int Canvas::projectIn(const std::array<int, 4>& shown, float x, float y, double& outX,
                      double& outY) const {
    if (shown[2] <= 0 || shown[3] <= 0) {
        return 0;
    }
    const double aspect = static_cast<double>(shown[2]) / shown[3];
    double rows[4][4];
    PickVolume::cameraProjection(cameraFor(aspect), aspect, rows);
    double clip[4];
    for (int r = 0; r < 4; ++r) {
        clip[r] = rows[r][0] * x + rows[r][1] * y + rows[r][3];
    }
    // clip[3] is the camera's distance from the board plane, never below 1.
    outX = (clip[0] / clip[3] + 1.0) * shown[2] / 2.0;
    outY = shown[3] - (clip[1] / clip[3] + 1.0) * shown[3] / 2.0;
    return 1;
}

bool Canvas::boardPointAt(int x, int y, float& outX, float& outY) const {
    float boardX = 0.0f;
    float boardY = 0.0f;
    if (unproject(x, y, boardX, boardY) == 0 || boardX < 0.0f || boardY < 0.0f ||
        boardX > static_cast<float>(boardWidth) || boardY > static_cast<float>(boardHeight)) {
        return false;
    }
    outX = boardX;
    outY = boardY;
    return true;
}

} // namespace tessera
