#include "canvas/canvas.h"

#include <cstdio>
#include <cstring>

namespace tessera {

namespace {

// Two presses at the same instant would make a gesture of no duration, which resets the
// shapes to their (empty) home look instead of moving them; such a gesture is made quick
// rather than instant.
constexpr float shortestGesture = 0.01f;

float atLeastShortest(float d) {
    return d > shortestGesture ? d : shortestGesture;
}

// Intervals under 8 seconds count double.
float stretched(float d) {
    return atLeastShortest(d < 8.0f ? 2.0f * d : d);
}

bool sameKind(const Shape& a, const Shape& b) {
    return std::strcmp(a.name(), b.name()) == 0;
}

bool named(const Shape& shape, const char* name) {
    return std::strcmp(shape.name(), name) == 0;
}

// Each shape keeps its place and takes the other's size, eased over d seconds.
void tradeSizes(Shape& a, Shape& b, float d) {
    const Vec3 sizeOfA = a.scale;
    Actor* targetA = a.queueMoveToActor(d, &a, Eased);
    targetA->scale = b.scale;
    a.startKeyframe(0);
    Actor* targetB = b.queueMoveToActor(d, &b, Eased);
    targetB->scale = sizeOfA;
    b.startKeyframe(0);
}

// Each shape moves to the other's place and look, its rotation straightened. Without a
// restart the keyframes keep the motion they started with when queued, and the straight
// rotation shows only when they play again.
void tradePlaces(Shape& a, Shape& b, float d, bool restart) {
    Actor* targetA = a.queueMoveToActor(d, &b, Eased);
    targetA->rotation.set(0.0f, 0.0f, 0.0f);
    if (restart) {
        a.startKeyframe(0);
    }
    Actor* targetB = b.queueMoveToActor(d, &a, Eased);
    targetB->rotation.set(0.0f, 0.0f, 0.0f);
    if (restart) {
        b.startKeyframe(0);
    }
}

} // namespace

Shape& Canvas::selected(std::size_t k) const {
    return *shapes[static_cast<std::size_t>(selection[k])];
}

// The two-shape gestures. Alike shapes trade sizes; otherwise a circle first sends each
// round the other's outline (faster the longer the pause), and any other first shape
// makes them trade places over twice a short pause, and reports the pause.
void Canvas::joinPair(Shape& a, Shape& b, float interval) {
    const bool circleFirst = gestureState == 2;
    const float d = circleFirst ? atLeastShortest(interval) : stretched(interval);
    a.clearKeyframes();
    b.clearKeyframes();
    if (sameKind(a, b)) {
        tradeSizes(a, b, d);
    } else if (circleFirst) {
        a.followOutline(&b, b.scale.x, 3.0f * d);
        b.followOutline(&a, a.scale.x, d);
        a.loop = 0;
        b.loop = 0;
    } else {
        tradePlaces(a, b, d, named(a, "square"));
    }
    if (!circleFirst && !quiet) {
        std::printf("connection (time=%f)\n", static_cast<double>(interval));
    }
}

void Canvas::connect(int x, int y, float t) {
    const std::size_t n = selection.size();
    if (n == 0) {
        gestureState = 0;
        clearSelection();
        return;
    }
    switch (gestureState) {
    case 0:
        gestureX1 = static_cast<float>(x);
        gestureY1 = static_cast<float>(y);
        gestureTime1 = t;
        gestureState = named(selected(0), "triangle") ? 3 : named(selected(0), "circle") ? 2 : 1;
        break;
    case 1:
    case 2:
        if (n >= 2) {
            joinPair(selected(0), selected(1), t - gestureTime1);
            gestureState = 0;
            clearSelection();
        }
        break;
    case 3:
        gestureX2 = static_cast<float>(x);
        gestureY2 = static_cast<float>(y);
        gestureTime2 = t;
        gestureState = 4;
        break;
    case 4: {
        if (n < 3) {
            break;
        }
        Shape& a = selected(0);
        Shape& b = selected(1);
        Shape& c = selected(2);
        const float d1 = stretched(gestureTime2 - gestureTime1);
        const float d2 = stretched(t - gestureTime2);
        a.clearKeyframes();
        b.clearKeyframes();
        c.clearKeyframes();
        Actor* targetA = a.queueMoveToActor(d1, &b, Eased);
        targetA->rotation.set(0.0f, 0.0f, 0.0f);
        a.startKeyframe(0);
        Actor* targetB = b.queueMoveToActor(d2, &c, Eased);
        targetB->rotation.set(0.0f, 0.0f, 0.0f);
        b.startKeyframe(0);
        Actor* targetC = c.queueMoveToActor((d1 + d2) * 0.5f, &a, Eased);
        targetC->rotation.set(0.0f, 0.0f, 0.0f);
        c.startKeyframe(0);
        clearSelection();
        gestureState = 0;
        break;
    }
    default:
        break;
    }
}

} // namespace tessera
