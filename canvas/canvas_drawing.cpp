#include "canvas/board_footprint.h"
#include "canvas/canvas.h"
#include "stage/stage.h"

namespace tessera {

namespace {

std::array<float, 4> values(const float source[4]) {
    return {source[0], source[1], source[2], source[3]};
}

// The grey backing of the toolbar, 3 units in front of the board: light at the top, dark
// at the bottom, unlit.
const std::array<StripCorner, 4> toolbarStrip = {{
    {{0.9f, 0.9f, 0.9f}, {-10.0f, 20.0f, 3.0f}},
    {{0.9f, 0.9f, 0.9f}, {230.0f, 20.0f, 3.0f}},
    {{0.3f, 0.3f, 0.3f}, {230.0f, 0.0f, 3.0f}},
    {{0.3f, 0.3f, 0.3f}, {-10.0f, 0.0f, 3.0f}},
}};

} // namespace

void Canvas::setProjection(int x, int y, int width, int height) {
    viewport = {x, y, width, height};
    renderer->project(projection());
}

Projection Canvas::projection() const {
    // A window of height 0 (minimised) would make the aspect infinite.
    const double aspect = viewport[3] > 0 ? static_cast<double>(viewport[2]) / viewport[3] : 1.0;
    return projectionThrough(cameraFor(aspect), aspect);
}

Projection Canvas::projectionThrough(const PickVolume::Camera& camera, double aspect) const {
    Projection shown;
    shown.viewport = viewport;
    shown.aspect = aspect;
    shown.fieldOfView = camera.fieldOfView;
    shown.zNear = zNear;
    shown.zFar = zFar;
    shown.eye = {static_cast<float>(camera.x), static_cast<float>(camera.y),
                 static_cast<float>(camera.distance)};
    double rows[4][4];
    PickVolume::cameraProjection(camera, shown.aspect, rows);
    for (std::size_t r = 0; r < 4; ++r) {
        for (std::size_t c = 0; c < 4; ++c) {
            shown.matrix[4 * c + r] = static_cast<float>(rows[r][c]);
        }
    }
    return shown;
}

Lighting Canvas::lighting() const {
    const Stage* stage = Stage::instance();
    Lighting lights;
    lights.light0 = stage->light0Enabled != 0;
    lights.colourMaterial = stage->colourMaterialEnabled != 0;
    lights.modelAmbient = values(stage->lightModelAmbient);
    lights.lights[0] = {values(stage->light0Ambient), values(stage->light0Diffuse),
                        values(stage->light0Specular), values(stage->light0Position)};
    lights.lights[1] = {values(light1Ambient), values(light1Diffuse), values(light1Specular),
                        values(light1Position)};
    return lights;
}

void Canvas::showFrame(int width, int height) {
    // Where the board fills the window, it paints over every pixel: only depth needs
    // clearing. (Clearing the margins alone, with a scissor, costs Mesa more than clearing
    // everything.)
    const bool boardFillsWindow =
        !referenceDrawing && boardPrepared &&
        boardFootprint(*this, {0, 0, width, height}).covers(width, height);
    viewport = {0, windowBottom, width, height};
    describeFrame(true);
    frame.clear = boardFillsWindow ? Frame::ClearDepth : Frame::ClearColourAndDepth;
    frame.setsProjection = true;
    frame.renderScale = renderScale;
    renderer->draw(frame);
}

int Canvas::drawFrame(GLenum mode) const {
    return renderer->draw(describeFrame(mode == GL_RENDER));
}

const Frame& Canvas::describeFrame(bool rendering) const {
    frame.clear = Frame::KeepBuffers;
    frame.setsProjection = false;
    frame.selecting = !rendering;
    frame.renderScale = 1.0;
    frame.projection = projection();
    frame.lighting = lighting();
    frame.board = {board->position, board->scale(), board->rotation, board->colour()};
    frame.points.clear();
    frame.shapes.clear();
    if (rendering && !referenceDrawing) {
        batch.fill(shapes);
        frame.triangles = &batch.triangles();
    } else {
        frame.triangles = nullptr;
        for (const auto& shape : shapes) {
            describeOutline(*shape, frame.shapes);
        }
    }
    frame.toolbarProjection =
        projectionThrough(toolbarCameraFor(frame.projection.aspect), frame.projection.aspect);
    frame.strip = toolbarStrip;
    frame.stripLineWidth = 8.0f;
    frame.toolLineWidth = 3.0f;
    frame.tools.clear();
    for (const auto& tool : tools) {
        describeOutline(*tool, frame.tools);
    }
    describeBand();
    frame.gesture = rendering && gestureState != 0;
    frame.overlay = rendering && !overlay.empty() ? &overlay : nullptr;
    return frame;
}

// As the shape kinds draw themselves: the first outline, scaled uniformly by scale.x.
void Canvas::describeOutline(const Shape& shape, std::vector<Outline>& outlines) const {
    const float bright = shape.selected != 0 ? 1.4f : 1.0f;
    Outline outline;
    outline.position = shape.position;
    outline.scale = shape.scale.x;
    outline.rotation = shape.rotation;
    outline.colour = {shape.colour.x * bright, shape.colour.y * bright, shape.colour.z * bright};
    outline.first = frame.points.size();
    const Polygon& polygon = *shape.polygons[0];
    const Edge* edge = polygon.first;
    for (int i = 0; i < polygon.count; ++i, edge = edge->next) {
        frame.points.push_back(edge->start->position);
    }
    outline.count = frame.points.size() - outline.first;
    outlines.push_back(outline);
}

// The rubber band of a connection gesture, white, in window pixels: from the first shape
// chosen to the pointer, or with three shapes a triangle through the two chosen and the
// pointer.
void Canvas::describeBand() const {
    frame.bandColour = {1.0f, 1.0f, 1.0f};
    frame.band.clear();
    // The band runs to the pointer whose gesture it is, or to the mouse once that is gone.
    const Stroke* gesturer = strokeOf(selectionPointer);
    const Stroke& to = gesturer != nullptr ? *gesturer : strokes.at(0);
    const float px = static_cast<float>(to.pointerX);
    const float py = static_cast<float>(to.pointerY);
    if (gestureState >= 1 && gestureState <= 3) {
        frame.band.push_back({gestureX1, gestureY1, px, py});
    } else if (gestureState == 4) {
        frame.band.push_back({gestureX1, gestureY1, gestureX2, gestureY2});
        frame.band.push_back({gestureX2, gestureY2, px, py});
        frame.band.push_back({px, py, gestureX1, gestureY1});
    }
}

} // namespace tessera
