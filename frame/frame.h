#pragma once

#include "frame/overlay.h"
#include "scene/shape_batch.h"
#include "scene/vec3.h"

#include <array>
#include <cstddef>
#include <vector>

namespace tessera {

// The camera as OpenGL 1.1 is told it (the viewport, then gluPerspective with a vertical
// field of view in degrees, the aspect and the depth range, then a translation by -eye),
// and the matrix that makes, board space to clip space, column-major as OpenGL holds it.
struct Projection {
    std::array<int, 4> viewport = {0, 0, 0, 0};
    double fieldOfView = 45.0;
    double aspect = 1.0;
    double zNear = 10.0;
    double zFar = 5000.0;
    Vec3 eye;
    std::array<float, 16> matrix = {};
};

// A positional light, in board space: the camera lives in the projection, so board space
// is OpenGL's eye space and the viewer looks down -z.
struct LightSource {
    std::array<float, 4> ambient = {};
    std::array<float, 4> diffuse = {};
    std::array<float, 4> specular = {};
    std::array<float, 4> position = {};
};

// Lighting as fixed-function OpenGL does it, per vertex: light 0 when switched on, light 1
// (the one that follows the pointer) always, the light model's ambient, and with colour
// material each vertex's colour as its ambient and diffuse colour. Shapes have OpenGL's
// default specular colour, black.
struct Lighting {
    bool light0 = true;
    bool colourMaterial = true;
    std::array<float, 4> modelAmbient = {};
    std::array<LightSource, 2> lights;
};

// The board's transform and colour; its picture and quad are made once for each picture set
// (Renderer::prepareBoard). It is drawn unlit and textured.
struct BoardView {
    Vec3 position;
    Vec3 scale;
    Vec3 rotation;
    Vec3 colour;
};

// A shape as its kind's draw places it: the points of its first outline, in the shape's own
// frame, moved by a translation to position, a uniform scale, and rotations about x, then y,
// then z (degrees); one colour (brighter when selected), and the outline's normal +z.
struct Outline {
    Vec3 position;
    float scale = 1.0f;
    Vec3 rotation;
    Vec3 colour;
    std::size_t first = 0; // its points are Frame::points[first, first + count)
    std::size_t count = 0;
};

struct StripCorner {
    Vec3 colour;
    Vec3 position;
};

// A straight line between two window pixels, y downwards.
struct Segment {
    float x1, y1, x2, y2;
};

// One frame as the Canvas describes it to a renderer, drawn in this order: the board, the
// placed shapes (lit), then over them without a depth test the toolbar's backing strip and
// the tools (unlit, each over those before it), over everything the rubber band of a
// gesture under way, and last the overlay. Only the Canvas writes it; a renderer reads it and keeps
// nothing of it.
struct Frame {
    enum Clear { KeepBuffers, ClearDepth, ClearColourAndDepth };

    Clear clear = KeepBuffers;
    // Whether the renderer sets the projection first. OpenGL 1.1 keeps the one it was last
    // told (Renderer::project); a renderer that keeps no state always takes it from here.
    bool setsProjection = false;
    // OpenGL 1.1's selection mode: no board, strip or rubber band; the shapes, one by one,
    // and then the tools, named by their index in that order.
    bool selecting = false;
    Projection projection;
    // The strip and the tools are seen through this camera (in the same viewport), which
    // stays where the canvas's camera starts.
    Projection toolbarProjection;
    Lighting lighting;
    BoardView board;
    // The placed shapes as one batch of triangles, or null: then they are drawn one by one
    // from `shapes` (the reference drawing, and selection).
    const std::vector<BatchVertex>* triangles = nullptr;
    std::vector<Outline> shapes;
    std::array<StripCorner, 4> strip;
    std::vector<Outline> tools;
    std::vector<Vec3> points;
    // OpenGL's line width before the strip and before the tools. Only the rubber band's
    // lines are lines: they are toolLineWidth pixels wide.
    float stripLineWidth = 1.0f;
    float toolLineWidth = 1.0f;
    // A gesture is under way: the rubber band's segments (none in some states) are drawn.
    bool gesture = false;
    Vec3 bandColour;
    std::vector<Segment> band;
    // The share of the viewport's width and height the frame is drawn at, stretched over the
    // whole viewport (RenderScale). Everything else in the frame stays in the viewport's
    // pixels; selection is always at 1.
    double renderScale = 1.0;
    // Drawn when rendering, or null. A renderer whose page draws its own controls may leave
    // it undrawn.
    const Overlay* overlay = nullptr;
};

} // namespace tessera
