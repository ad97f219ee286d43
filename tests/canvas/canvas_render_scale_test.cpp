// A frame drawn at a render scale below 1 and stretched covers the whole window, looks like
// the frame at 1, and leaves OpenGL as the frame at 1 leaves it (picking and the next frame
// read that state).
#include "canvas_fixture.h"

#include <GL/gl.h>
#include <cstdlib>
#include <vector>

namespace tessera {
namespace {

using test::CanvasTest;

// The state the next frame and picking rely on, query by query.
std::vector<std::vector<double>> glState() {
    std::vector<std::vector<double>> state;
    for (const auto& [query, count] :
         {std::pair{GL_DEPTH_TEST, 1}, std::pair{GL_LIGHTING, 1}, std::pair{GL_COLOR_MATERIAL, 1},
          std::pair{GL_TEXTURE_2D, 1}, std::pair{GL_VIEWPORT, 4}, std::pair{GL_MATRIX_MODE, 1},
          std::pair{GL_PROJECTION_MATRIX, 16}, std::pair{GL_TEXTURE_MATRIX, 16},
          std::pair{GL_PROJECTION_STACK_DEPTH, 1}, std::pair{GL_MODELVIEW_STACK_DEPTH, 1},
          std::pair{GL_ATTRIB_STACK_DEPTH, 1}, std::pair{GL_LINE_WIDTH, 1},
          std::pair{GL_TEXTURE_BINDING_2D, 1}, std::pair{GL_CURRENT_COLOR, 4}}) {
        state.emplace_back(static_cast<std::size_t>(count));
        glGetDoublev(query, state.back().data());
    }
    GLint mode = 0;
    glGetTexEnviv(GL_TEXTURE_ENV, GL_TEXTURE_ENV_MODE, &mode);
    state.push_back({static_cast<double>(mode)});
    return state;
}

TEST_F(CanvasTest, AFrameAtHalfScaleFillsTheWindowAsTheFrameAtOneDoes) {
    load();
    placeAt(Canvas::CircleTool, 200, 150);
    placeAt(Canvas::SquareTool, 500, 320, 20.0f);
    canvas.overlay.lines = {{20, 20, {0, 1, 1}}, {300, 60, {0, 1, 1}}};
    canvas.overlay.lineWidth = 4.0f;
    std::vector<unsigned char> pixels[2];
    std::vector<std::vector<double>> left[2];
    // At half first, each over magenta: pixels a stretch failed to reach show.
    for (int i = 0; i < 2; ++i) {
        glClearColor(1.0f, 0.0f, 1.0f, 1.0f);
        glClear(GL_COLOR_BUFFER_BIT);
        glClearColor(0.0f, 0.0f, 0.0f, 0.0f);
        canvas.renderScale = i == 0 ? 0.5 : 1.0;
        canvas.showFrame(gl.width(), gl.height());
        left[i] = glState();
        pixels[i].resize(static_cast<std::size_t>(gl.width()) * gl.height() * 4);
        glReadPixels(0, 0, gl.width(), gl.height(), GL_RGBA, GL_UNSIGNED_BYTE, pixels[i].data());
    }
    std::size_t close = 0;
    for (std::size_t i = 0; i < pixels[0].size(); i += 4) {
        close += std::abs(pixels[0][i] - pixels[1][i]) <= 40 &&
                         std::abs(pixels[0][i + 1] - pixels[1][i + 1]) <= 40 &&
                         std::abs(pixels[0][i + 2] - pixels[1][i + 2]) <= 40
                     ? 1
                     : 0;
    }
    EXPECT_GE(4.0 * static_cast<double>(close) / static_cast<double>(pixels[0].size()), 0.97);
    for (std::size_t k = 0; k < left[1].size(); ++k) {
        EXPECT_EQ(left[0][k], left[1][k]) << "query " << k;
    }
}

} // namespace
} // namespace tessera
