#pragma once

#include <GL/gl.h>
#include <functional>
#include <vector>

namespace tessera::test {

// What OpenGL's feedback mode reports for a piece of drawing: the polygons it produced,
// each vertex with its window position and colour.
struct FeedbackVertex {
    float x, y, z;
    float r, g, b, a;
};

struct Feedback {
    std::vector<std::vector<FeedbackVertex>> polygons;
    int tokens = 0; // every token reported, polygons or not
};

// Runs draw in GL_FEEDBACK mode (GL_3D_COLOR) and collects what it produced.
Feedback captureFeedback(const std::function<void()>& draw);

} // namespace tessera::test
