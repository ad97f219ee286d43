// A frame drawn at a render scale below 1 and stretched covers the whole window, looks like
// the frame at 1, and leaves OpenGL as the frame at 1 leaves it (picking and the next frame
// read that state).
#include "canvas_fixture.h"

#include <GL/gl.h>
#include <cstdlib>
#include <tuple>
#include <utility>
#include <vector>

namespace tessera {
namespace {

using test::CanvasTest;

using State = std::vector<std::pair<const char*, std::vector<double>>>;

State glState() {
    State state;
    for (const auto& [name, cap] :
         {std::pair{"depth test", GL_DEPTH_TEST}, std::pair{"lighting", GL_LIGHTING},
          std::pair{"colour material", GL_COLOR_MATERIAL}, std::pair{"texture", GL_TEXTURE_2D},
          std::pair{"light 0", GL_LIGHT0}}) {
        state.push_back({name, {glIsEnabled(cap) ? 1.0 : 0.0}});
    }
    for (const auto& [name, query, count] :
         {std::tuple{"viewport", GL_VIEWPORT, 4}, std::tuple{"matrix mode", GL_MATRIX_MODE, 1},
          std::tuple{"projection", GL_PROJECTION_MATRIX, 16},
          std::tuple{"texture matrix", GL_TEXTURE_MATRIX, 16},
          std::tuple{"projection stack", GL_PROJECTION_STACK_DEPTH, 1},
          std::tuple{"modelview stack", GL_MODELVIEW_STACK_DEPTH, 1},
          std::tuple{"attribute stack", GL_ATTRIB_STACK_DEPTH, 1},
          std::tuple{"line width", GL_LINE_WIDTH, 1},
          std::tuple{"bound texture", GL_TEXTURE_BINDING_2D, 1},
          std::tuple{"colour", GL_CURRENT_COLOR, 4}}) {
        std::vector<double> values(static_cast<std::size_t>(count));
        glGetDoublev(query, values.data());
        state.push_back({name, values});
    }
    GLint mode = 0;
    glGetTexEnviv(GL_TEXTURE_ENV, GL_TEXTURE_ENV_MODE, &mode);
    state.push_back({"texture environment", {static_cast<double>(mode)}});
    return state;
}

// The frame at the scale over a magenta window, and the state it leaves.
std::vector<unsigned char> frameAt(Canvas& canvas, double scale, int width, int height,
                                   State& left) {
    glClearColor(1.0f, 0.0f, 1.0f, 1.0f);
    glClear(GL_COLOR_BUFFER_BIT);
    glClearColor(0.0f, 0.0f, 0.0f, 0.0f);
    canvas.renderScale = scale;
    canvas.showFrame(width, height);
    left = glState();
    std::vector<unsigned char> pixels(static_cast<std::size_t>(width) * height * 3);
    glPixelStorei(GL_PACK_ALIGNMENT, 1);
    glReadPixels(0, 0, width, height, GL_RGB, GL_UNSIGNED_BYTE, pixels.data());
    return pixels;
}

TEST_F(CanvasTest, AFrameAtHalfScaleFillsTheWindowAsTheFrameAtOneDoes) {
    load();
    placeAt(Canvas::CircleTool, 200, 150);
    placeAt(Canvas::SquareTool, 500, 320, 20.0f);
    canvas.overlay.triangles = {{600, 20, {1, 1, 0}}, {630, 20, {1, 1, 0}}, {615, 60, {1, 1, 0}}};
    canvas.overlay.lines = {{20, 20, {0, 1, 1}}, {300, 60, {0, 1, 1}}};
    canvas.overlay.lineWidth = 4.0f;
    const int width = gl.width();
    const int height = gl.height();
    State atOne;
    State atHalf;
    // At half first: a frame at 1 drawn before would leave its pixels where a stretch
    // failed to reach.
    const std::vector<unsigned char> half = frameAt(canvas, 0.5, width, height, atHalf);
    const std::vector<unsigned char> whole = frameAt(canvas, 1.0, width, height, atOne);

    std::size_t close = 0;
    for (std::size_t i = 0; i < whole.size(); i += 3) {
        bool near = true;
        for (std::size_t c = 0; c < 3; ++c) {
            near = near && std::abs(half[i + c] - whole[i + c]) <= 40;
        }
        close += near ? 1 : 0;
    }
    const std::size_t count = whole.size() / 3;
    EXPECT_GE(static_cast<double>(close) / static_cast<double>(count), 0.97);

    ASSERT_EQ(atHalf.size(), atOne.size());
    for (std::size_t i = 0; i < atOne.size(); ++i) {
        EXPECT_EQ(atHalf[i].second, atOne[i].second) << atOne[i].first;
    }
}

} // namespace
} // namespace tessera
