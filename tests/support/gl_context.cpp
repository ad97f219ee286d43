#include "support/gl_context.h"

#include <GL/gl.h>

namespace tessera::test {

GlContext::GlContext(int width, int height) : current(offscreen.reserve(width, height)) {}

GlContext::Rgb GlContext::pixel(int x, int y) const {
    glFinish();
    const unsigned char* p =
        offscreen.pixels() + (static_cast<std::size_t>(y) * offscreen.width() + x) * 4;
    return {p[0], p[1], p[2]};
}

} // namespace tessera::test
