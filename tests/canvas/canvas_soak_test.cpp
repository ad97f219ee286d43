// A long random session on a real Canvas: presses and releases of every button anywhere
// in the window and on the toolbar, pointer moves and drags, every key, idle steps of 0
// to 2 s and stretches past the 27-s rule, gestures on the shapes, Escape now and then,
// undo and delete; in its second half with a shape limit and clearing after inactivity.
// After every event the Canvas must still be whole.
#include "canvas_fixture.h"
#include "stage/stage.h"
#include "support/resident_memory.h"

#include <cmath>
#include <cstdlib>
#include <random>
#include <set>
#include <string>
#include <sys/resource.h>
#include <unistd.h>

namespace tessera {
namespace {

using test::CanvasTest;

bool finite(const Vec3& v) {
    return std::isfinite(v.x) && std::isfinite(v.y) && std::isfinite(v.z);
}

bool actorFinite(const Actor& actor) {
    for (int c = 0; c < Actor::channelCount; ++c) {
        if (!finite(actor.value(c)) || !finite(actor.velocity[c]) ||
            !finite(actor.acceleration[c]) || !finite(actor.step[c])) {
            return false;
        }
    }
    return true;
}

// What must hold between any two events.
::testing::AssertionResult whole(const Canvas& canvas) {
    std::set<int> seen;
    for (int index : canvas.selection) {
        if (index < 0 || static_cast<std::size_t>(index) >= canvas.shapes.size()) {
            return ::testing::AssertionFailure() << "selection holds " << index;
        }
        if (!seen.insert(index).second) {
            return ::testing::AssertionFailure() << "selection holds " << index << " twice";
        }
    }
    if (canvas.maxShapes > 0 && canvas.shapes.size() > canvas.maxShapes) {
        return ::testing::AssertionFailure() << canvas.shapes.size() << " shapes, above the limit";
    }
    bool paintingFound = canvas.strokeOf(0)->painting == nullptr;
    for (const auto& shape : canvas.shapes) {
        paintingFound = paintingFound || shape.get() == canvas.strokeOf(0)->painting;
        if (!actorFinite(*shape)) {
            return ::testing::AssertionFailure() << "shape " << shape->id << " is not finite";
        }
    }
    if (!paintingFound) {
        return ::testing::AssertionFailure() << "painting is not among the shapes";
    }
    for (const float* light : {light1Position, Stage::instance()->light0Position}) {
        for (int k = 0; k < 4; ++k) {
            if (!std::isfinite(light[k])) {
                return ::testing::AssertionFailure() << "a light position is not finite";
            }
        }
    }
    // Light 0 stands above its start by what the scatters since the last return raised it.
    if (Stage::instance()->light0Position[2] != 200.0f + canvas.light0Raised) {
        return ::testing::AssertionFailure() << "light 0 has drifted";
    }
    if (!std::isfinite(canvas.cameraDistance) || !std::isfinite(canvas.cameraX) ||
        !std::isfinite(canvas.cameraY)) {
        return ::testing::AssertionFailure() << "the camera is not finite";
    }
    return ::testing::AssertionSuccess();
}

long soakEvents() {
    const char* text = std::getenv("TESSERA_SOAK_EVENTS");
    return text != nullptr ? std::atol(text) : 200000;
}

TEST_F(CanvasTest, SurvivesALongRandomSession) {
    load();
    std::mt19937 random(20261207);
    auto chance = [&](double p) { return std::uniform_real_distribution<>(0.0, 1.0)(random) < p; };
    auto between = [&](int low, int high) {
        return std::uniform_int_distribution<>(low, high)(random);
    };
    const int keys[] = {27,  '-', '=', 'a', 'd', 'f', 'r', 's', 'w',
                        'A', 'R', 'x', 96,  0,   'z', 127, 8};
    const int toolbarX[] = {20, 28, 88, 145, 205};
    int x = 320;
    int y = 240;
    long gestures = 0;

    ::testing::AssertionResult failure = ::testing::AssertionSuccess();
    ::testing::internal::CaptureStdout();
    const long events = soakEvents();
    std::string residentTrace;
    for (long event = 0; event < events; ++event) {
        if (event % (events / 4 + 1) == 0) {
            residentTrace += " " + std::to_string(test::residentKib());
        }
        if (event == events / 2) {
            canvas.maxShapes = 40;
            canvas.clearAfterSeconds = 20.0;
        }
        const int kind = between(0, 99);
        if (kind < 30) { // move, mostly a short drag step
            if (chance(0.8)) {
                x = std::clamp(x + between(-15, 15), 0, 639);
                y = std::clamp(y + between(-15, 15), 0, 479);
            } else {
                x = between(0, 639);
                y = between(0, 479);
            }
            canvas.pointerMoved(x, y);
        } else if (kind < 42) { // press anywhere, on the toolbar, or on a shape
            if (chance(0.15)) {
                x = toolbarX[between(0, 4)];
                y = between(455, 470);
            } else if (!canvas.shapes.empty() && chance(0.5)) {
                const Shape& target = *canvas.shapes[static_cast<std::size_t>(
                    between(0, static_cast<int>(canvas.shapes.size()) - 1))];
                x = static_cast<int>(320.0f + (target.position.x - 320.0f) * 0.966f);
                y = static_cast<int>(240.0f - (target.position.y - 240.0f) * 0.966f);
                ++gestures;
            } else {
                x = between(0, 639);
                y = between(0, 479);
            }
            canvas.buttonPressed(x, y, between(0, 2));
        } else if (kind < 52) {
            canvas.buttonReleased(x, y, between(0, 2));
        } else if (kind < 62) {
            const int key = keys[between(0, 16)];
            if (key != 27 || chance(0.1)) {
                canvas.keyPressed(key);
            }
        } else if (kind < 98) { // idle steps, mostly one frame, sometimes long
            const float dt = chance(0.85)
                                 ? 1.0f / 60.0f
                                 : std::uniform_real_distribution<float>(0.0f, 2.0f)(random);
            clock.advance(dt);
            canvas.advance(dt);
        } else { // a stretch without pointer motion, past the 27-s rule
            for (int step = 0, steps = between(20, 40); step < steps; ++step) {
                clock.advance(1.0);
                canvas.advance(1.0f);
            }
        }
        failure = whole(canvas);
        if (!failure) {
            failure << " after event " << event << " (kind " << kind << ")";
            break;
        }
    }
    ::testing::internal::GetCapturedStdout();
    ASSERT_TRUE(failure);

    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    RecordProperty("peak_memory_kib", static_cast<int>(usage.ru_maxrss));
    std::printf("soak: %ld events, %ld presses aimed at shapes, %zu shapes at the end, "
                "resident KiB at each quarter:%s, peak %ld KiB\n",
                events, gestures, canvas.shapes.size(), residentTrace.c_str(), usage.ru_maxrss);
}

} // namespace
} // namespace tessera
