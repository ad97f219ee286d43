// The fast path (one vertex array per frame, picking on the CPU) held against the reference
// path (each shape in immediate mode, picking in OpenGL's selection mode) on random scenes.
#include "canvas_fixture.h"
#include "scene/shape_transform.h"

#include <GL/gl.h>
#include <GL/glu.h>
#include <algorithm>
#include <cmath>
#include <cstdio>
#include <random>
#include <utility>
#include <vector>

namespace tessera {
namespace {

using test::CanvasTest;

// CloseUp: the camera comes so near a grown, tilted shape that the near plane cuts it.
enum class Motion { Resting, Scattering, BackHome, CloseUp };

struct Scene {
    int shapes;
    Motion motion;
};

class FastPathTest : public CanvasTest {
protected:
    // Paints a trail of shapes of every kind, lets them wobble, maybe sends them away and
    // home, then grows, turns and selects some; the camera looks from a random place.
    void paint(const Scene& scene) {
        ::testing::internal::CaptureStdout();
        canvas.keyPressed(27);
        ::testing::internal::GetCapturedStdout();
        int x = between(0, 639);
        int y = between(0, 479);
        for (int i = 0; i < scene.shapes; ++i) {
            if (chance(0.1)) {
                x = between(0, 639);
                y = between(0, 479);
            }
            x = std::clamp(x + between(-12, 12), 0, 639);
            y = std::clamp(y + between(-12, 12), 0, 479);
            canvas.spawnShape(between(0, 3), x, y);
        }
        step(between(1, 40));
        if (scene.motion == Motion::Scattering || scene.motion == Motion::BackHome) {
            canvas.scatter();
            step(scene.motion == Motion::Scattering ? between(20, 170) : 190);
        }
        if (scene.motion == Motion::BackHome) {
            canvas.returnHome();
            step(190);
        }
        for (auto& shape : canvas.shapes) {
            if (chance(0.3)) {
                const float grown = shape->scale.x * uniform(1.0f, 6.0f);
                shape->setScale(grown, grown, 1.0f);
            }
            if (chance(0.3)) {
                shape->setRotation(uniform(-80.0f, 80.0f), uniform(-80.0f, 80.0f),
                                   uniform(-180.0f, 180.0f));
            }
            shape->setSelected(chance(0.2) ? 1 : 0);
        }
        canvas.cameraX = uniform(220.0f, 420.0f);
        canvas.cameraY = uniform(140.0f, 340.0f);
        canvas.cameraDistance = uniform(300.0f, 900.0f);
        if (scene.motion == Motion::CloseUp) {
            Shape& near = *canvas.shapes[static_cast<std::size_t>(scene.shapes / 2)];
            near.setScale(60.0f, 60.0f, 1.0f);
            near.setRotation(uniform(60.0f, 80.0f), 0.0f, uniform(-180.0f, 180.0f));
            canvas.cameraX = near.position.x + uniform(-20.0f, 20.0f);
            canvas.cameraY = near.position.y + uniform(-20.0f, 20.0f);
            canvas.cameraDistance = near.position.z + canvas.zNear + uniform(-30.0f, 30.0f);
        }
    }

    void step(int steps) {
        for (int i = 0; i < steps; ++i) {
            canvas.idleTime = 0.0;
            canvas.advance(1.0f / 60.0f);
        }
    }

    std::vector<unsigned char> frame(bool reference) {
        canvas.referenceDrawing = reference;
        // What the window held before, loud: magenta, which nothing in the quadrant picture or
        // its shapes is, shows a pixel that the frame fails to clear or paint.
        glClearColor(1.0f, 0.0f, 1.0f, 1.0f);
        glClearDepth(0.5);
        glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
        glClearColor(0.0f, 0.0f, 0.0f, 0.0f);
        glClearDepth(1.0);
        renderFrame();
        std::vector<unsigned char> pixels(static_cast<std::size_t>(gl.width()) * gl.height() * 4);
        glReadPixels(0, 0, gl.width(), gl.height(), GL_RGBA, GL_UNSIGNED_BYTE, pixels.data());
        canvas.referenceDrawing = false;
        return pixels;
    }

    // A window point on or near a corner of a random shape in view, or anywhere in the
    // window (where presses happen).
    std::pair<int, int> target() {
        GLdouble projection[16];
        glGetDoublev(GL_PROJECTION_MATRIX, projection);
        const GLdouble identity[16] = {1, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1};
        const GLint viewport[4] = {0, 0, gl.width(), gl.height()};
        for (int attempt = 0; attempt < 20 && !canvas.shapes.empty() && chance(0.7); ++attempt) {
            const Shape& shape = *canvas.shapes[static_cast<std::size_t>(
                between(0, static_cast<int>(canvas.shapes.size()) - 1))];
            const Edge* edge = shape.polygons[0]->first;
            for (int k = between(0, shape.polygons[0]->count - 1); k > 0; --k) {
                edge = edge->next;
            }
            const Vec3 p = ShapeTransform(shape).apply(edge->start->position);
            GLdouble wx = 0.0;
            GLdouble wy = 0.0;
            GLdouble wz = 0.0;
            gluProject(p.x, p.y, p.z, identity, projection, viewport, &wx, &wy, &wz);
            const double x = std::floor(wx) + between(-2, 2);
            const double y = gl.height() - std::floor(wy) + between(-2, 2);
            if (x >= 0.0 && x < gl.width() && y >= 0.0 && y < gl.height()) {
                return {static_cast<int>(x), static_cast<int>(y)};
            }
        }
        return {between(0, gl.width() - 1), between(0, gl.height() - 1)};
    }

    const Shape& named(GLuint name) const {
        return name < canvas.shapes.size() ? *canvas.shapes[name]
                                           : *canvas.tools[name - canvas.shapes.size()];
    }

    int between(int low, int high) { return std::uniform_int_distribution<>(low, high)(random); }
    float uniform(float low, float high) {
        return std::uniform_real_distribution<float>(low, high)(random);
    }
    bool chance(double p) { return std::uniform_real_distribution<>(0.0, 1.0)(random) < p; }

    std::mt19937 random{20261212};
};

const Scene scenes[] = {
    {40, Motion::Resting},     {300, Motion::Resting},  {120, Motion::Scattering},
    {300, Motion::Scattering}, {150, Motion::BackHome}, {600, Motion::Resting},
    {80, Motion::BackHome},    {400, Motion::Resting},  {60, Motion::CloseUp},
    {200, Motion::CloseUp},
};

// At the program's own window size and at screen sizes, where the fast path's clear and
// board meet the shapes along more edges.
TEST_F(FastPathTest, BatchedFramesShowWhatImmediateModeShows) {
    load();
    for (const auto& [width, height] : {std::pair{640, 480}, {1920, 1080}, {3840, 2160}}) {
        ASSERT_TRUE(gl.resize(width, height));
        long differing = 0;
        long total = 0;
        for (const Scene& scene : scenes) {
            paint(scene);
            const auto reference = frame(true);
            const auto batched = frame(false);
            long here = 0;
            long uncleared = 0;
            for (std::size_t i = 0; i < reference.size(); i += 4) {
                uncleared += batched[i] == 255 && batched[i + 1] == 0 && batched[i + 2] == 255;
                for (std::size_t c = 0; c < 3; ++c) {
                    if (std::abs(reference[i + c] - batched[i + c]) > 2) {
                        ++here;
                        break;
                    }
                }
            }
            const long pixels = static_cast<long>(reference.size() / 4);
            EXPECT_EQ(uncleared, 0) << scene.shapes << " shapes at " << width << " x " << height;
            EXPECT_LE(here, pixels / 200)
                << scene.shapes << " shapes at " << width << " x " << height;
            differing += here;
            total += pixels;
        }
        std::printf("frames at %d x %d: %ld of %ld pixels differ by more than 2 levels\n", width,
                    height, differing, total);
    }
}

TEST_F(FastPathTest, CpuPickFindsWhatSelectionModeFinds) {
    load();
    int points = 0;
    int withHits = 0;
    int grazing = 0;
    std::vector<GLuint> cpu;
    std::vector<GLuint> selected;
    for (const Scene& scene : scenes) {
        paint(scene);
        renderFrame();
        for (int i = 0; i < 600; ++i, ++points) {
            const auto [x, y] = target();
            canvas.hitsAt(x, y, cpu);
            canvas.selectionHitsAt(x, y, selected);
            withHits += selected.empty() ? 0 : 1;
            if (cpu == selected) {
                continue;
            }
            // Where the lists part, the shape's edge must run within a hundredth of a pixel
            // of the region: a slightly smaller and a slightly larger region disagree.
            std::vector<GLuint> apart;
            std::set_symmetric_difference(cpu.begin(), cpu.end(), selected.begin(), selected.end(),
                                          std::back_inserter(apart));
            const PickVolume inner = canvas.pickVolume(x, y, pickRegionPixels - 0.02);
            const PickVolume outer = canvas.pickVolume(x, y, pickRegionPixels + 0.02);
            for (GLuint name : apart) {
                EXPECT_NE(inner.hits(named(name)), outer.hits(named(name)))
                    << "name " << name << " at (" << x << ", " << y << ") in a scene of "
                    << scene.shapes << " shapes";
                ++grazing;
            }
        }
    }
    std::printf("picks: %d points, %d with hits, %d grazing differences\n", points, withHits,
                grazing);
    EXPECT_GT(withHits, points / 3);
}

} // namespace
} // namespace tessera
