// The controls for a finger, laid over the frame in window pixels: drawn where they are hit,
// and only there, clear of the toolbar at any window shape.
#include "app/touch_controls.h"
#include "canvas/pick_volume.h"
#include "canvas_fixture.h"

#include <GL/gl.h>
#include <algorithm>
#include <vector>

namespace tessera {
namespace {

using test::CanvasTest;

std::vector<unsigned char> readWindow(int width, int height) {
    glFinish();
    std::vector<unsigned char> pixels(static_cast<std::size_t>(width) * height * 4);
    glReadPixels(0, 0, width, height, GL_RGBA, GL_UNSIGNED_BYTE, pixels.data());
    return pixels;
}

struct Box {
    double left, top, right, bottom;
};

// The toolbar's backing strip (board units -10 to 230 by 0 to 20, where the starting camera
// shows them), in window pixels, y downwards.
Box toolbarBox(const Canvas& canvas, int width, int height) {
    const double aspect = static_cast<double>(width) / height;
    double rows[4][4];
    PickVolume::cameraProjection(canvas.toolbarCameraFor(aspect), aspect, rows);
    Box box{1e9, 1e9, -1e9, -1e9};
    for (const double bx : {-10.0, 230.0}) {
        for (const double by : {0.0, 20.0}) {
            const double p[4] = {bx, by, 3.0, 1.0};
            double clip[4] = {};
            for (int r = 0; r < 4; ++r) {
                for (int c = 0; c < 4; ++c) {
                    clip[r] += rows[r][c] * p[c];
                }
            }
            const double x = (clip[0] / clip[3] + 1.0) * 0.5 * width;
            const double y = (1.0 - clip[1] / clip[3]) * 0.5 * height;
            box = {std::min(box.left, x), std::min(box.top, y), std::max(box.right, x),
                   std::max(box.bottom, y)};
        }
    }
    return box;
}

bool overlaps(const TouchControls::Control& c, const Box& b) {
    return c.x < b.right && c.x + c.side > b.left && c.y < b.bottom && c.y + c.side > b.top;
}

TEST_F(CanvasTest, TouchControlsDrawWhereTheyAreHitAndLeaveTheToolbarClear) {
    const struct {
        const char* name;
        int width, height;
    } windows[] = {
        {"the program's window", 640, 480}, {"a full HD screen", 1920, 1080},
        {"a portrait tablet", 600, 800},    {"a low, wide window", 1280, 200},
        {"a small window", 320, 240},
    };
    for (const auto& window : windows) {
        SCOPED_TRACE(window.name);
        ASSERT_TRUE(gl.resize(window.width, window.height));
        load();
        canvas.overlay = Overlay();
        renderFrame();
        const std::vector<unsigned char> bare = readWindow(window.width, window.height);
        TouchControls controls(TouchControls::allKeys());
        controls.layOut(window.width, window.height, canvas.overlay);
        renderFrame();
        const std::vector<unsigned char> shown = readWindow(window.width, window.height);

        const Box toolbar = toolbarBox(canvas, window.width, window.height);
        ASSERT_EQ(controls.controls().size(), TouchControls::allKeys().size());
        std::vector<int> drawn(controls.controls().size(), 0);
        for (int row = 0; row < window.height; ++row) {
            const int y = window.height - 1 - row; // window rows run downwards
            for (int x = 0; x < window.width; ++x) {
                const std::size_t i = (static_cast<std::size_t>(row) * window.width + x) * 4;
                if (std::equal(&bare[i], &bare[i + 3], &shown[i])) {
                    continue;
                }
                const unsigned char key = controls.keyAt(x, y);
                ASSERT_NE(key, 0) << "drawn outside every control at " << x << ", " << y;
                const auto& keys = TouchControls::allKeys();
                ++drawn[std::find(keys.begin(), keys.end(), key) - keys.begin()];
            }
        }
        for (std::size_t k = 0; k < drawn.size(); ++k) {
            const TouchControls::Control& c = controls.controls()[k];
            EXPECT_GT(drawn[k], c.side * c.side * 9 / 10) << "control " << k << " is drawn whole";
            EXPECT_GE(c.side, TouchControls::minimumSide);
            EXPECT_TRUE(c.x >= 0 && c.y >= 0 && c.x + c.side <= window.width &&
                        c.y + c.side <= window.height)
                << "control " << k << " lies in the window";
            EXPECT_FALSE(overlaps(c, toolbar)) << "control " << k << " covers the toolbar";
        }
    }
}

} // namespace
} // namespace tessera
