#include "tessera_render/offscreen_context.h"

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

bool OffscreenContext::reserve(int width, int height) {
    if (context == nullptr) {
        return false;
    }
    bufferWidthPixels = w = std::max(width, 1);
    bufferHeight = h = std::max(height, 1);
    buffer.assign(static_cast<std::size_t>(w) * static_cast<std::size_t>(h) * 4, 0);
    if (OSMesaMakeCurrent(context, buffer.data(), GL_UNSIGNED_BYTE, w, h) == 0) {
        return false;
    }
    glDisable(GL_SCISSOR_TEST);
    return true;
}

bool OffscreenContext::resize(int width, int height) {
    width = std::max(width, 1);
    height = std::max(height, 1);
    if ((width > bufferWidthPixels || height > bufferHeight) &&
        !reserve(std::max(width, bufferWidthPixels), std::max(height, bufferHeight))) {
        return false;
    }
    w = width;
    h = height;
    // Clearing and drawing stay inside the frame: a clear of the whole buffer would cost
    // as much for a 1 x 1 frame as for the largest.
    if (w == bufferWidthPixels && h == bufferHeight) {
        glDisable(GL_SCISSOR_TEST);
    } else {
        glScissor(0, frameBottom(), w, h);
        glEnable(GL_SCISSOR_TEST);
    }
    return true;
}

} // namespace tessera
