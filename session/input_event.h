#pragma once

#include <cstdint>

namespace tessera {

// One event of the window system, as the Canvas is told of it: the idle step with its dt,
// a button going down or up, the pointer moving, a key, the window changing size. Each
// carries the Stage clock's reading (its ticks) when it was delivered, so that a replay
// shows the Canvas the same times as the session did.
struct InputEvent {
    enum Kind { Idle, Press, Release, Motion, Key, Reshape };

    Kind kind = Idle;
    std::int64_t ticks = 0;
    float dt = 0.0f; // Idle: seconds since the previous idle step
    int button = 0;  // Press, Release
    int x = 0;       // Press, Release, Motion: window pixels, y downwards
    int y = 0;
    int key = 0;    // Key: the character code
    int width = 0;  // Reshape
    int height = 0; // Reshape

    static InputEvent idle(std::int64_t ticks, float dt) {
        InputEvent e;
        e.kind = Idle;
        e.ticks = ticks;
        e.dt = dt;
        return e;
    }
    static InputEvent press(std::int64_t ticks, int button, int x, int y) {
        return pointer(Press, ticks, button, x, y);
    }
    static InputEvent release(std::int64_t ticks, int button, int x, int y) {
        return pointer(Release, ticks, button, x, y);
    }
    static InputEvent motion(std::int64_t ticks, int x, int y) {
        return pointer(Motion, ticks, 0, x, y);
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

    bool operator==(const InputEvent& o) const {
        return kind == o.kind && ticks == o.ticks && dt == o.dt && button == o.button && x == o.x &&
               y == o.y && key == o.key && width == o.width && height == o.height;
    }

private:
    static InputEvent pointer(Kind kind, std::int64_t ticks, int button, int x, int y) {
        InputEvent e;
        e.kind = kind;
        e.ticks = ticks;
        e.button = button;
        e.x = x;
        e.y = y;
        return e;
    }
};

} // namespace tessera
