#pragma once

#include "photo/rgb_image.h"

#include <GL/osmesa.h>
#include <vector>

namespace tessera {

// An OpenGL context drawing into memory with Mesa, in place of a window: an RGBA colour
// buffer and a 24-bit depth buffer, current from a successful resize on.
class OffscreenContext {
public:
    OffscreenContext();
    ~OffscreenContext();
    OffscreenContext(const OffscreenContext&) = delete;
    OffscreenContext& operator=(const OffscreenContext&) = delete;

    bool valid() const { return context != nullptr; }
    // Gives the context a buffer of the size (at least 1 x 1) and makes it current; the GL
    // state is kept.
    bool resize(int width, int height);
    int width() const { return w; }
    int height() const { return h; }
    // The colour buffer, 4 bytes (RGBA) a pixel, rows bottom-up; call glFinish first.
    const unsigned char* pixels() const { return buffer.data(); }

private:
    OSMesaContext context = nullptr;
    std::vector<unsigned char> buffer;
    int w = 0;
    int h = 0;
};

} // namespace tessera
