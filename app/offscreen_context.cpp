#include "app/offscreen_context.h"

#include <GL/gl.h>
#include <algorithm>

namespace tessera {

OffscreenContext::OffscreenContext()
    : context(OSMesaCreateContextExt(OSMESA_RGBA, 24, 0, 0, nullptr)) {}

OffscreenContext::~OffscreenContext() {
    if (context != nullptr) {
        OSMesaDestroyContext(context);
    }
}

bool OffscreenContext::resize(int width, int height) {
    if (context == nullptr) {
        return false;
    }
    w = std::max(width, 1);
    h = std::max(height, 1);
    buffer.assign(static_cast<std::size_t>(w) * static_cast<std::size_t>(h) * 4, 0);
    return OSMesaMakeCurrent(context, buffer.data(), GL_UNSIGNED_BYTE, w, h) != 0;
}

} // namespace tessera
