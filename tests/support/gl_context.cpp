#include "support/gl_context.h"

#include <GL/gl.h>

namespace tessera::test {

GlContext::GlContext(int width, int height)
    : w(width), h(height), buffer(static_cast<std::size_t>(width) * height * 4) {
    context = OSMesaCreateContextExt(OSMESA_RGBA, 24, 0, 0, nullptr);
    if (context != nullptr &&
        !OSMesaMakeCurrent(context, buffer.data(), GL_UNSIGNED_BYTE, width, height)) {
        OSMesaDestroyContext(context);
        context = nullptr;
    }
}

GlContext::~GlContext() {
    if (context != nullptr) {
        OSMesaDestroyContext(context);
    }
}

GlContext::Rgb GlContext::pixel(int x, int y) const {
    glFinish();
    const unsigned char* p = &buffer[(static_cast<std::size_t>(y) * w + x) * 4];
    return {p[0], p[1], p[2]};
}

} // namespace tessera::test
