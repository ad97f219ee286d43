#include "session/touch_controls.h"

#include <gtest/gtest.h>

namespace tessera {
namespace {

// At every window shape each control is a finger's size, inside the window, apart from the
// others, and in the window's right half: the toolbar, at the board's bottom left, never
// reaches past the left one.
TEST(TouchControls, FitTheWindowApartFromEachOtherAndTheToolbar) {
    const struct {
        const char* name;
        int width, height;
    } windows[] = {{"the program's window", 640, 480},
                   {"a full HD screen", 1920, 1080},
                   {"a portrait tablet", 600, 800},
                   {"too low for one column", 1280, 200},
                   {"a small window", 320, 240}};
    for (const auto& window : windows) {
        SCOPED_TRACE(window.name);
        TouchControls controls(TouchControls::allKeys());
        Overlay overlay;
        controls.layOut(window.width, window.height, overlay);
        const std::vector<TouchControls::Control>& placed = controls.controls();
        ASSERT_EQ(placed.size(), TouchControls::allKeys().size());
        for (std::size_t i = 0; i < placed.size(); ++i) {
            const TouchControls::Control& c = placed[i];
            EXPECT_GE(c.side, TouchControls::minimumSide);
            EXPECT_TRUE(c.x >= window.width / 2 && c.y >= 0 && c.x + c.side <= window.width &&
                        c.y + c.side <= window.height)
                << i << " at " << c.x << ", " << c.y;
            EXPECT_EQ(controls.keyAt(c.x + c.side / 2, c.y + c.side / 2), c.key);
            for (std::size_t j = i + 1; j < placed.size(); ++j) {
                const TouchControls::Control& d = placed[j];
                const bool apart = c.x + c.side + 8 <= d.x || d.x + d.side + 8 <= c.x ||
                                   c.y + c.side + 8 <= d.y || d.y + d.side + 8 <= c.y;
                EXPECT_TRUE(apart) << i << " and " << j;
            }
        }
    }
}

} // namespace
} // namespace tessera
