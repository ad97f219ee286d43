#include "session/touch_controls.h"

#include <algorithm>
#include <cmath>

namespace tessera {
namespace {

constexpr unsigned char undoKey = 'z';
constexpr unsigned char deleteKey = 127;
constexpr unsigned char clearKey = 27;
constexpr unsigned char scatterKey = 'r';
constexpr unsigned char returnKey = 'f';
constexpr unsigned char snapshotKey = 'p';

const Vec3 faceColour{0.12f, 0.12f, 0.14f};
const Vec3 rimColour{0.7f, 0.7f, 0.72f};
const Vec3 iconColour{0.95f, 0.95f, 0.95f};

// Draws in a control's own units: (0, 0) its top left corner, (1, 1) its bottom right.
class Pen {
public:
    Pen(const TouchControls::Control& control, Overlay& overlay)
        : x(static_cast<float>(control.x)), y(static_cast<float>(control.y)),
          side(static_cast<float>(control.side)), overlay(overlay) {}

    void triangle(float x1, float y1, float x2, float y2, float x3, float y3,
                  const Vec3& colour = iconColour) {
        overlay.triangles.push_back(at(x1, y1, colour));
        overlay.triangles.push_back(at(x2, y2, colour));
        overlay.triangles.push_back(at(x3, y3, colour));
    }
    void line(float x1, float y1, float x2, float y2, const Vec3& colour = iconColour) {
        overlay.lines.push_back(at(x1, y1, colour));
        overlay.lines.push_back(at(x2, y2, colour));
    }
    void box(float left, float top, float right, float bottom, const Vec3& colour = iconColour) {
        line(left, top, right, top, colour);
        line(right, top, right, bottom, colour);
        line(right, bottom, left, bottom, colour);
        line(left, bottom, left, top, colour);
    }
    // An arrowhead with its point at (px, py), pointing along (dx, dy), a unit vector.
    void arrowhead(float px, float py, float dx, float dy, float length = 0.16f) {
        const float bx = px - dx * length;
        const float by = py - dy * length;
        const float half = length * 0.7f;
        triangle(px, py, bx - dy * half, by + dx * half, bx + dy * half, by - dx * half);
    }
    void circle(float cx, float cy, float radius) {
        constexpr int steps = 12;
        for (int i = 0; i < steps; ++i) {
            const float a = 6.2831853f * static_cast<float>(i) / steps;
            const float b = 6.2831853f * static_cast<float>(i + 1) / steps;
            line(cx + radius * std::cos(a), cy + radius * std::sin(a), cx + radius * std::cos(b),
                 cy + radius * std::sin(b));
        }
    }

private:
    OverlayVertex at(float u, float v, const Vec3& colour) const {
        return {x + u * side, y + v * side, colour};
    }

    float x, y, side;
    Overlay& overlay;
};

// The key's picture: a hooked arrow back (undo), a cross (delete), a crossed-out frame
// (clear), arrows flying outwards (scatter) and coming in (return), a camera (snapshot).
void drawIcon(unsigned char key, Pen& pen) {
    constexpr float diagonal = 0.7071068f;
    switch (key) {
    case undoKey:
        pen.line(0.28f, 0.42f, 0.62f, 0.42f);
        pen.line(0.62f, 0.42f, 0.74f, 0.54f);
        pen.line(0.74f, 0.54f, 0.62f, 0.68f);
        pen.line(0.62f, 0.68f, 0.4f, 0.68f);
        pen.arrowhead(0.2f, 0.42f, -1.0f, 0.0f);
        break;
    case deleteKey:
        pen.line(0.3f, 0.3f, 0.7f, 0.7f);
        pen.line(0.7f, 0.3f, 0.3f, 0.7f);
        break;
    case clearKey:
        pen.box(0.24f, 0.24f, 0.76f, 0.76f);
        pen.line(0.36f, 0.36f, 0.64f, 0.64f);
        pen.line(0.64f, 0.36f, 0.36f, 0.64f);
        break;
    case scatterKey:
    case returnKey: {
        const bool outwards = key == scatterKey;
        for (const float dx : {-diagonal, diagonal}) {
            for (const float dy : {-diagonal, diagonal}) {
                const float near = 0.12f;
                const float far = 0.34f;
                pen.line(0.5f + dx * near, 0.5f + dy * near, 0.5f + dx * far, 0.5f + dy * far);
                if (outwards) {
                    pen.arrowhead(0.5f + dx * far, 0.5f + dy * far, dx, dy, 0.13f);
                } else {
                    pen.arrowhead(0.5f + dx * near, 0.5f + dy * near, -dx, -dy, 0.13f);
                }
            }
        }
        break;
    }
    case snapshotKey:
        pen.box(0.2f, 0.34f, 0.8f, 0.74f);
        pen.box(0.32f, 0.26f, 0.46f, 0.34f);
        pen.circle(0.5f, 0.54f, 0.12f);
        break;
    default:
        break;
    }
}

} // namespace

const std::vector<unsigned char>& TouchControls::allKeys() {
    static const std::vector<unsigned char> keys = {undoKey,    deleteKey, clearKey,
                                                    scatterKey, returnKey, snapshotKey};
    return keys;
}

// A tenth of the window's shorter side, within reason, a quarter of that between the
// controls and from the window's edges.
void TouchControls::layOut(int width, int height, Overlay& overlay) {
    const int side = std::clamp(std::min(width, height) / 10, minimumSide, 2 * minimumSide);
    const int gap = side / 4;
    const int rows = std::max(1, (height - gap) / (side + gap));
    placed.clear();
    for (std::size_t i = 0; i < keys.size(); ++i) {
        const int row = static_cast<int>(i) % rows;
        const int column = static_cast<int>(i) / rows;
        placed.push_back(
            {keys[i], width - (column + 1) * (side + gap), gap + row * (side + gap), side});
    }
    overlay = Overlay();
    overlay.lineWidth = std::max(2.0f, static_cast<float>(side) / 20.0f);
    for (const Control& control : placed) {
        Pen pen(control, overlay);
        pen.triangle(0.0f, 0.0f, 1.0f, 0.0f, 1.0f, 1.0f, faceColour);
        pen.triangle(0.0f, 0.0f, 1.0f, 1.0f, 0.0f, 1.0f, faceColour);
        pen.box(0.04f, 0.04f, 0.96f, 0.96f, rimColour);
        drawIcon(control.key, pen);
    }
}

unsigned char TouchControls::keyAt(int x, int y) const {
    for (const Control& control : placed) {
        if (control.contains(x, y)) {
            return control.key;
        }
    }
    return 0;
}

} // namespace tessera
