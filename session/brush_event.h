#pragma once

#include <chrono>

namespace tessera {

// What a brush held elsewhere (a phone in the room) does on the board, at a board point
// given as a share of the board's width and height from its top-left corner, so that the
// brush need not know the board's units or the window. The show turns each into the window
// events of a pointer of its own.
struct BrushEvent {
    enum Kind {
        Down, // the brush touches the board at (u, v)
        Move, // and moves to (u, v) while down
        Up,   // and lifts at (u, v)
        Tool, // chooses what a touch does: a painting tool 0 to 3, or selectTool
        Gone  // the brush is no more: whatever it held ends
    };
    // A touch with this tool selects and connects shapes instead of painting.
    static constexpr int selectTool = 4;

    Kind kind = Down;
    int brush = 0; // 1 and up, never reused while the program runs
    float u = 0.0f;
    float v = 0.0f;
    int tool = 0;
    // When the brush's message arrived, to measure how soon a frame shows it.
    std::chrono::steady_clock::time_point received{};
};

} // namespace tessera
