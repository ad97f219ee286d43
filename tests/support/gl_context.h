#pragma once

#include "tessera_render/offscreen_context.h"

namespace tessera::test {

// The program's offscreen Mesa context at a fixed size, current for its lifetime. Pixels
// read back with pixel() have y upwards, as OpenGL has them.
class GlContext {
public:
    explicit GlContext(int width = 640, int height = 480);

    bool valid() const { return current; }
    // A buffer of another size, current at once; the GL state is kept.
    bool resize(int width, int height) { return current = offscreen.reserve(width, height); }
    int width() const { return offscreen.width(); }
    int height() const { return offscreen.height(); }
    // Red, green and blue (0-255) of the pixel at (x, y), y counted from the bottom.
    struct Rgb {
        int r, g, b;
    };
    Rgb pixel(int x, int y) const;

private:
    OffscreenContext offscreen;
    bool current;
};

} // namespace tessera::test
