// The idle step leaves resting channels and vertices alone, and must not change a single bit
// of what the motion laws give. A session of painting, gestures, scatters, returns and
// stalls is fingerprinted after each phase; the fingerprints were taken from the
// straightforward step (every vertex and every channel advanced in full on every update).
#include "canvas_fixture.h"

#include <algorithm>
#include <cstdint>
#include <cstring>
#include <functional>

namespace tessera {
namespace {

using test::CanvasTest;

// FNV-1a over the exact bits of what the idle step can change.
class Fingerprint {
public:
    void add(std::uint32_t word) {
        for (int shift = 0; shift < 32; shift += 8) {
            hash = (hash ^ ((word >> shift) & 0xFFu)) * 1099511628211u;
        }
    }
    void add(float value) {
        std::uint32_t bits = 0;
        std::memcpy(&bits, &value, sizeof bits);
        add(bits);
    }
    void add(const Vec3& v) {
        add(v.x);
        add(v.y);
        add(v.z);
    }
    // Every channel with its motion and playback. A vertex with no keyframe to play counts
    // no elapsed time while it rests: nothing reads it before a keyframe starts again.
    void add(const Actor& actor, bool vertex) {
        for (int c = 0; c < Actor::channelCount; ++c) {
            add(actor.value(c));
            add(actor.step[c]);
            add(actor.velocity[c]);
            add(actor.acceleration[c]);
        }
        add(static_cast<std::uint32_t>(actor.current));
        add(static_cast<std::uint32_t>(actor.loop));
        add(static_cast<std::uint32_t>(actor.keyframes.size()));
        add(actor.duration);
        const bool playing =
            actor.current >= 0 && actor.current < static_cast<int>(actor.keyframes.size());
        if (!vertex || playing) {
            add(actor.elapsed);
        }
    }
    void add(const Shape& shape) {
        add(shape, false);
        for (const auto& polygon : shape.polygons) {
            add(polygon->reach);
            const Edge* edge = polygon->first;
            for (int i = 0; i < polygon->count; ++i, edge = edge->next) {
                add(*edge->start, true);
            }
        }
    }

    std::uint64_t hash = 14695981039346656037u;
};

class IdleStepTest : public CanvasTest {
protected:
    void step(float dt, int times = 1) {
        for (int i = 0; i < times; ++i) {
            clock.advance(dt);
            canvas.advance(dt);
        }
    }
    void moveTo(int x, int y) {
        canvas.pointerMoved(x, y);
        step(1.0f / 60.0f, 3);
    }
    // A right-button stroke: held a moment, then dragged by (dx, dy) per move.
    void stroke(int tool, int x, int y, int dx, int dy, int moves) {
        canvas.selectTool(tool);
        canvas.buttonPressed(x, y, 2);
        step(1.0f / 60.0f, 20);
        for (int i = 0; i < moves; ++i) {
            moveTo(x + (i + 1) * dx, y + (i + 1) * dy);
        }
        canvas.buttonReleased(x, y, 2);
    }
    // Left presses on window points, with pauses between them.
    void gesture(std::initializer_list<std::pair<int, int>> points, double pause) {
        for (const auto& [x, y] : points) {
            clock.advance(pause);
            leftClick(x, y);
        }
    }
    void press(int key) {
        ::testing::internal::CaptureStdout();
        canvas.keyPressed(key);
        ::testing::internal::GetCapturedStdout();
    }
    Actor& vertex(std::size_t shape, int k) {
        const Edge* edge = canvas.shapes[shape]->polygons[0]->first;
        for (; k > 0; --k) {
            edge = edge->next;
        }
        return *edge->start;
    }
    std::uint64_t fingerprint() const {
        Fingerprint print;
        for (const auto& shape : canvas.shapes) {
            print.add(*shape);
        }
        return print.hash;
    }
};

TEST_F(IdleStepTest, ChangesNoBitOfTheMotion) {
    load();
    const struct {
        const char* name;
        std::function<void()> play;
        std::uint64_t fingerprint;
    } phases[] = {
        {"strokes of every kind, grown and trailed, then wobble",
         [&] {
             stroke(Canvas::ParallelogramTool, 40, 60, 3, 1, 96);
             stroke(Canvas::CircleTool, 60, 160, 3, 1, 80);
             stroke(Canvas::SquareTool, 50, 260, 3, -1, 96);
             stroke(Canvas::TriangleTool, 40, 380, 3, 1, 80);
             ASSERT_GT(canvas.shapes.size(), 80u);
             step(1.0f / 60.0f, 600);
         },
         0x5fc2b1d8ba1d5ad3u},
        {"every gesture: trade places, sizes, outlines once round, a cycle of three",
         [&] {
             placeAt(Canvas::SquareTool, 400, 80);
             placeAt(Canvas::CircleTool, 520, 80);
             placeAt(Canvas::ParallelogramTool, 400, 170);
             placeAt(Canvas::CircleTool, 520, 170);
             placeAt(Canvas::SquareTool, 400, 260);
             placeAt(Canvas::SquareTool, 520, 260);
             placeAt(Canvas::CircleTool, 400, 350);
             placeAt(Canvas::TriangleTool, 520, 350);
             placeAt(Canvas::TriangleTool, 600, 120);
             placeAt(Canvas::SquareTool, 600, 220);
             placeAt(Canvas::CircleTool, 600, 320);
             gesture({{400, 80}, {520, 80}}, 0.5);
             gesture({{400, 170}, {520, 170}}, 1.5);
             gesture({{400, 260}, {520, 260}}, 0.7);
             gesture({{400, 350}, {520, 350}}, 0.4);
             gesture({{600, 120}, {600, 220}, {600, 320}}, 0.6);
             EXPECT_EQ(std::count_if(canvas.shapes.begin(), canvas.shapes.end(),
                                     [](const auto& shape) { return !shape->keyframes.empty(); }),
                       11);
             step(1.0f / 60.0f, 900);
         },
         0xd2c280b29b1ff844u},
        {"scatter, then home",
         [&] {
             press('r');
             step(1.0f / 60.0f, 240);
             press('f');
             step(1.0f / 60.0f, 400);
         },
         0xe6a72dcf219fd5e1u},
        {"from outside: a resting outline's vertex set moving, a playing shape put back at once, "
         "another played out; stalls and a still step",
         [&] {
             vertex(3, 1).queueMoveTo(0.8f, 2.0f, -1.0f, 0.0f, Linear);
             canvas.shapes[5]->queueMoveTo(0.0f, 300.0f, 200.0f, 2.0f, Eased);
             canvas.shapes[6]->loop = 0;
             step(1.0f / 60.0f, 100);
             step(0.5f);
             step(1.7f);
             step(0.0f);
             step(1.0f / 60.0f, 50);
         },
         0x4842942fc8862c27u},
        {"the vertex stopped and put back, the played-out shape looping again; then rest",
         [&] {
             canvas.shapes[6]->loop = 1;
             Actor& moved = vertex(3, 1);
             moved.clearKeyframes();
             moved.reset();
             canvas.shapes[3]->polygons[0]->measure();
             step(1.0f / 60.0f, 300);
         },
         0xd710e17499b03f6au},
        {"idle past the 27-s rule, then painting again",
         [&] {
             step(0.25f, 130);
             moveTo(300, 240);
             stroke(Canvas::CircleTool, 200, 200, -3, 2, 48);
             step(1.0f / 60.0f, 400);
         },
         0xe376ab27e6793263u},
    };
    for (const auto& phase : phases) {
        phase.play();
        const std::uint64_t found = fingerprint();
        EXPECT_EQ(found, phase.fingerprint) << phase.name << ": 0x" << std::hex << found;
    }
}

} // namespace
} // namespace tessera
