#pragma once

#include "canvas/canvas.h"
#include "stage/clock.h"
#include "support/gl_context.h"
#include "support/picture_set.h"
#include "support/temp_dir.h"

#include <gtest/gtest.h>
#include <string>

namespace tessera::test {

// A Canvas in an offscreen 640 x 480 Mesa context with the fixed GL state of the program,
// the Stage on virtual time and the random sequence at its start. The picture set is four
// quadrants (red top-left, green top-right, blue bottom-left, white bottom-right) over a
// 64 x 48 mask whose cell (c, r), counted from the bottom, holds key (c + r) % 4.
class CanvasTest : public ::testing::Test {
protected:
    void SetUp() override;
    void TearDown() override;

    // Loads the quadrant picture set and returns what the load printed.
    std::string load();
    // Writes the quadrant picture with a mask of the given size and loads it.
    // With a board size, its map names that board.
    std::string loadWithMask(int maskWidth, int maskHeight, int boardWidth = 640,
                             int boardHeight = 480);
    // Renders one frame as the display callback does.
    void renderFrame();
    // A shape of the tool's kind, made by the Canvas's own spawner, moved onto the board
    // plane under window point (x, y) and given a scale large enough to pick easily.
    Shape* placeAt(int kind, int x, int y, float scale = 12.0f);
    // A left click (press and release) at window point (x, y); returns what it printed.
    std::string leftClick(int x, int y);
    // Each key of keys in turn, what they print passed over.
    void pressKeys(const char* keys);

    GlContext gl;
    VirtualClock clock;
    TempDir dir;
    Canvas canvas;
    float savedLight0[4] = {};
};

} // namespace tessera::test
