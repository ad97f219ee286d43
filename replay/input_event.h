#pragma once

#include <cstdint>

namespace tessera {

// One event of the window system, as the Canvas is told of it: the idle step with its dt,
// a button going down or up, the pointer moving, a key, the window changing size; and what
// a touch adds to a press, the shape it painted grown at once to show under a finger; and a
// pointer's own tool. Each carries the Stage clock's reading (its ticks) when it was
// delivered, so that a replay shows the Canvas the same times as the session did. Pointer
// events say whose they are: 0 is the mouse, every finger and phone a pointer of its own.
struct InputEvent {
    enum Kind { Idle, Press, Release, Motion, Key, Reshape, Grow, Tool };

    Kind kind = Idle;
    std::int64_t ticks = 0;
    float dt = 0.0f; // Idle: seconds since the previous idle step
    int button = 0;  // Press, Release
    int x = 0;       // Press, Release, Motion: window pixels, y downwards
    int y = 0;
    int key = 0;         // Key: the character code
    int width = 0;       // Reshape
    int height = 0;      // Reshape
    float factor = 1.0f; // Grow: the scale the shape being painted is multiplied by
    int pointer = 0;     // Press, Release, Motion, Grow, Tool
    int tool = 0;        // Tool: what the pointer's presses paint from now on

    static InputEvent idle(std::int64_t ticks, float dt) {
        InputEvent e;
        e.kind = Idle;
        e.ticks = ticks;
        e.dt = dt;
        return e;
    }
    static InputEvent press(std::int64_t ticks, int button, int x, int y, int pointer = 0) {
        return pointed(Press, ticks, button, x, y, pointer);
    }
    static InputEvent release(std::int64_t ticks, int button, int x, int y, int pointer = 0) {
        return pointed(Release, ticks, button, x, y, pointer);
    }
    static InputEvent motion(std::int64_t ticks, int x, int y, int pointer = 0) {
        return pointed(Motion, ticks, 0, x, y, pointer);
    }
    static InputEvent keyPress(std::int64_t ticks, int key) {
        InputEvent e;
        e.kind = Key;
        e.ticks = ticks;
        e.key = key;
        return e;
    }
    static InputEvent reshape(std::int64_t ticks, int width, int height) {
        InputEvent e;
        e.kind = Reshape;
        e.ticks = ticks;
        e.width = width;
        e.height = height;
        return e;
    }
    static InputEvent grow(std::int64_t ticks, float factor, int pointer = 0) {
        InputEvent e;
        e.kind = Grow;
        e.ticks = ticks;
        e.factor = factor;
        e.pointer = pointer;
        return e;
    }
    static InputEvent toolChoice(std::int64_t ticks, int tool, int pointer) {
        InputEvent e;
        e.kind = Tool;
        e.ticks = ticks;
        e.tool = tool;
        e.pointer = pointer;
        return e;
    }

    bool operator==(const InputEvent& o) const {
        return kind == o.kind && ticks == o.ticks && dt == o.dt && button == o.button && x == o.x &&
               y == o.y && key == o.key && width == o.width && height == o.height &&
               factor == o.factor && pointer == o.pointer && tool == o.tool;
    }

private:
    static InputEvent pointed(Kind kind, std::int64_t ticks, int button, int x, int y,
                              int pointer) {
        InputEvent e;
        e.kind = kind;
        e.ticks = ticks;
        e.button = button;
        e.x = x;
        e.y = y;
        e.pointer = pointer;
        return e;
    }
};

} // namespace tessera
