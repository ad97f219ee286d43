#pragma once

#include "image/rgb_image.h"

#include <GL/osmesa.h>
#include <vector>

namespace tessera {

// An OpenGL context drawing into memory with Mesa, in place of a window: an RGBA colour
// buffer and a 24-bit depth buffer, current from a successful reserve on. Mesa keeps a
// buffer for every size a context is made current at, so a session whose window changes
// size reserves one buffer of its largest size and draws each frame in that buffer's top
// rows, from the left: there every pixel comes out as in a buffer of the frame's own size.
class OffscreenContext {
public:
    OffscreenContext();
    ~OffscreenContext();
    OffscreenContext(const OffscreenContext&) = delete;
    OffscreenContext& operator=(const OffscreenContext&) = delete;

    bool valid() const { return context != nullptr; }
    // Gives the context a buffer of the size (at least 1 x 1), with a frame as large, and
    // makes it current; the GL state is kept.
    bool reserve(int width, int height);
    // The frame becomes the size (at least 1 x 1), with the scissor on it where it is
    // smaller than the buffer; a buffer too small for it is replaced by one that holds it.
    bool resize(int width, int height);
    // The frame's size.
    int width() const { return w; }
    int height() const { return h; }
    // The buffer row of the frame's bottom row, rows counted from the bottom as OpenGL
    // counts them.
    int frameBottom() const { return bufferHeight - h; }
    // The colour buffer, 4 bytes (RGBA) a pixel, bufferWidth() pixels a row, rows
    // bottom-up; call glFinish first.
    const unsigned char* pixels() const { return buffer.data(); }
    int bufferWidth() const { return bufferWidthPixels; }

private:
    OSMesaContext context = nullptr;
    std::vector<unsigned char> buffer;
    int bufferWidthPixels = 0;
    int bufferHeight = 0;
    int w = 0;
    int h = 0;
};

} // namespace tessera
