#pragma once

#include "support/gl_context.h"

#include <GL/gl.h>
#include <gtest/gtest.h>

namespace tessera::test {

// A test in an offscreen context that looks flat at the board: one board unit to one
// pixel, origin bottom-left, no perspective.
class FlatViewTest : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(gl.valid());
        glMatrixMode(GL_PROJECTION);
        glLoadIdentity();
        glOrtho(0, gl.width(), 0, gl.height(), -100, 100);
        glMatrixMode(GL_MODELVIEW);
        glLoadIdentity();
    }
    GlContext gl;
};

} // namespace tessera::test
