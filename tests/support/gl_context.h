#pragma once

#include <GL/osmesa.h>
#include <vector>

namespace tessera::test {

// An offscreen Mesa context with an RGBA colour buffer and a depth buffer, current for
// its lifetime. Pixels read back with pixel() have y upwards, as OpenGL has them.
class GlContext {
public:
    explicit GlContext(int width = 640, int height = 480);
    ~GlContext();
    GlContext(const GlContext&) = delete;
    GlContext& operator=(const GlContext&) = delete;

    bool valid() const { return context != nullptr; }
    int width() const { return w; }
    int height() const { return h; }
    // Red, green and blue (0-255) of the pixel at (x, y), y counted from the bottom.
    struct Rgb {
        int r, g, b;
    };
    Rgb pixel(int x, int y) const;

private:
    OSMesaContext context = nullptr;
    int w;
    int h;
    std::vector<unsigned char> buffer;
};

} // namespace tessera::test
