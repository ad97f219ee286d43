// The frame a Canvas describes is all a renderer without OpenGL's state gets: its camera,
// lights and outlines must be what OpenGL 1.1 is given and draws.
#include "canvas_fixture.h"
#include "scene/shape_transform.h"
#include "support/feedback.h"

#include <GL/gl.h>
#include <algorithm>
#include <cmath>
#include <vector>

namespace tessera {
namespace {

using test::CanvasTest;

struct View {
    const char* name;
    int width;
    int height;
    const char* keys; // zoom and pan first
};

const View views[] = {
    {"the program's window", 640, 480, ""},
    {"a wide screen, zoomed in and panned", 1920, 1080, "===ad"},
    {"a tall phone, zoomed out", 390, 844, "--w"},
    {"a minimised window", 640, 0, ""},
};

TEST_F(CanvasTest, FrameCarriesTheCameraOpenGlIsGiven) {
    load();
    for (const View& view : views) {
        SCOPED_TRACE(view.name);
        pressKeys(view.keys);
        canvas.showFrame(view.width, view.height);
        GLfloat given[16];
        glGetFloatv(GL_PROJECTION_MATRIX, given);
        GLint viewport[4];
        glGetIntegerv(GL_VIEWPORT, viewport);
        const Projection& described = canvas.describeFrame(true).projection;
        for (int i = 0; i < 16; ++i) {
            EXPECT_NEAR(described.matrix[static_cast<std::size_t>(i)], given[i],
                        1e-5 * std::max(1.0f, std::abs(given[i])))
                << "element " << i;
        }
        EXPECT_EQ(described.viewport,
                  (std::array<int, 4>{viewport[0], viewport[1], viewport[2], viewport[3]}));
    }
}

TEST_F(CanvasTest, FrameCarriesTheLightsOpenGlHolds) {
    load();
    canvas.pointerMoved(100, 400);
    pressKeys("r"); // the scatter raises light 0
    const Lighting& lighting = canvas.describeFrame(true).lighting;
    for (int i = 0; i < 2; ++i) {
        SCOPED_TRACE(i);
        const LightSource& light = lighting.lights[static_cast<std::size_t>(i)];
        const GLenum name = GL_LIGHT0 + static_cast<GLenum>(i);
        for (const auto& [parameter, value] :
             {std::pair{GL_AMBIENT, &light.ambient}, std::pair{GL_DIFFUSE, &light.diffuse},
              std::pair{GL_SPECULAR, &light.specular}, std::pair{GL_POSITION, &light.position}}) {
            std::array<float, 4> held{};
            glGetLightfv(name, static_cast<GLenum>(parameter), held.data());
            EXPECT_EQ(*value, held) << "parameter " << parameter;
        }
    }
    GLfloat ambient[4];
    glGetFloatv(GL_LIGHT_MODEL_AMBIENT, ambient);
    EXPECT_EQ(lighting.modelAmbient,
              (std::array<float, 4>{ambient[0], ambient[1], ambient[2], ambient[3]}));
}

// The outlines of the toolbar (one selected, one rocked far over), placed on the CPU and
// taken through the frame's matrix, land where OpenGL draws the tools, in their colours.
// Zoomed out, so that no tool is clipped at the window's edge.
TEST_F(CanvasTest, FrameOutlinesLandWhereTheShapesDraw) {
    load();
    pressKeys("--");
    canvas.selectTool(Canvas::CircleTool);
    canvas.tools[7]->setRotation(30.0f, -50.0f, 120.0f);
    canvas.showFrame(640, 480);
    const Frame& frame = canvas.describeFrame(true);
    ASSERT_EQ(frame.tools.size(), canvas.tools.size());
    glDisable(GL_LIGHTING);
    for (std::size_t i = 0; i < frame.tools.size(); ++i) {
        SCOPED_TRACE(i);
        const Outline& outline = frame.tools[i];
        const auto drawn = test::captureFeedback([&] { canvas.tools[i]->draw(); });
        const ShapeTransform place(outline.position, outline.scale, outline.rotation);
        std::vector<std::pair<float, float>> placed;
        for (std::size_t k = outline.first; k < outline.first + outline.count; ++k) {
            const Vec3 p = place.apply(frame.points[k]);
            const auto& m = frame.projection.matrix;
            const float w = m[3] * p.x + m[7] * p.y + m[11] * p.z + m[15];
            const float x = (m[0] * p.x + m[4] * p.y + m[8] * p.z + m[12]) / w;
            const float y = (m[1] * p.x + m[5] * p.y + m[9] * p.z + m[13]) / w;
            placed.emplace_back((x + 1.0f) * 320.0f, (y + 1.0f) * 240.0f);
        }
        ASSERT_FALSE(drawn.polygons.empty());
        for (const auto& polygon : drawn.polygons) {
            for (const auto& v : polygon) {
                const bool found = std::any_of(placed.begin(), placed.end(), [&](const auto& p) {
                    return std::abs(p.first - v.x) < 0.01f && std::abs(p.second - v.y) < 0.01f;
                });
                EXPECT_TRUE(found) << "drawn at (" << v.x << ", " << v.y << ")";
                EXPECT_NEAR(v.r, std::min(outline.colour.x, 1.0f), 1e-3);
                EXPECT_NEAR(v.g, std::min(outline.colour.y, 1.0f), 1e-3);
                EXPECT_NEAR(v.b, std::min(outline.colour.z, 1.0f), 1e-3);
            }
        }
    }
    glEnable(GL_LIGHTING);
}

} // namespace
} // namespace tessera
