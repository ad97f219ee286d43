#include "program/snapshot.h"
#include "tessera_render/offscreen_context.h"

#include <GL/gl.h>
#include <gtest/gtest.h>

namespace tessera {
namespace {

// A frame with an edge of every kind: the clear colour, a shaded triangle and a wide line
// across the frame's top edge.
std::vector<unsigned char> drawFrame(const OffscreenContext& context) {
    glViewport(0, context.frameBottom(), context.width(), context.height());
    glClearColor(0.2f, 0.4f, 0.6f, 1.0f);
    glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
    glBegin(GL_TRIANGLES);
    glColor3f(1.0f, 0.0f, 0.0f);
    glVertex2f(-0.9f, -0.8f);
    glColor3f(0.0f, 1.0f, 0.0f);
    glVertex2f(0.95f, -0.2f);
    glColor3f(0.0f, 0.0f, 1.0f);
    glVertex2f(-0.3f, 0.99f);
    glEnd();
    glLineWidth(8.0f);
    glBegin(GL_LINES);
    glColor3f(1.0f, 1.0f, 1.0f);
    glVertex2f(-1.2f, 1.0f);
    glVertex2f(1.2f, 0.97f);
    glEnd();
    return readFrame(context.width(), context.height(), context.frameBottom()).pixels;
}

struct Placed {
    const char* name;
    int bufferWidth, bufferHeight;
    int width, height;
    int frameBottom;
};

TEST(OffscreenContext, AFrameInALargerBufferIsWhatABufferOfItsSizeShows) {
    const Placed rows[] = {
        {"smaller both ways", 1000, 700, 640, 480, 220},
        {"as wide, less high", 640, 900, 640, 480, 420},
        {"as high, less wide", 900, 200, 300, 200, 0},
        {"a pixel", 300, 300, 1, 1, 299},
        {"none asks a pixel", 300, 300, 0, 0, 299},
        {"higher than the buffer: it grows", 300, 300, 200, 500, 0},
        {"wider than the buffer: it grows", 300, 300, 500, 100, 200},
    };
    OffscreenContext context;
    for (const Placed& row : rows) {
        ASSERT_TRUE(context.reserve(row.width, row.height)) << row.name;
        const std::vector<unsigned char> own = drawFrame(context);
        ASSERT_TRUE(context.reserve(row.bufferWidth, row.bufferHeight)) << row.name;
        ASSERT_TRUE(context.resize(row.width, row.height)) << row.name;
        EXPECT_EQ(context.frameBottom(), row.frameBottom) << row.name;
        EXPECT_TRUE(drawFrame(context) == own) << row.name;
    }
}

} // namespace
} // namespace tessera
