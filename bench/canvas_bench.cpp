// How long one rendered frame and one idle step take with many shapes on the board, in an
// offscreen Mesa context (software rendering, 640 x 480).
#include "allocation_counter.h"
#include "app/canvas.h"
#include "app/init_graphics.h"
#include "scene/circle_shape.h"
#include "scene/parallelogram_shape.h"
#include "scene/square_shape.h"
#include "scene/triangle_shape.h"
#include "support/gl_context.h"

#include <GL/gl.h>
#include <benchmark/benchmark.h>
#include <cstdio>
#include <fcntl.h>
#include <memory>
#include <unistd.h>

namespace tessera {
namespace {

// One loaded Canvas for the whole run, refilled with the number of shapes each case asks.
struct LoadedCanvas {
    LoadedCanvas() {
        initGraphics();
        if (chdir(TESSERA_DATA_DIR) != 0) {
            std::perror(TESSERA_DATA_DIR);
        }
        // The load's three lines would land among the results: silence them.
        std::fflush(stdout);
        const int saved = dup(STDOUT_FILENO);
        const int devNull = open("/dev/null", O_WRONLY);
        dup2(devNull, STDOUT_FILENO);
        canvas.load("fruit");
        std::fflush(stdout);
        dup2(saved, STDOUT_FILENO);
        close(devNull);
        close(saved);
        canvas.setProjection(0, 0, 640, 480);
    }

    void fill(int count) {
        canvas.shapes.clear();
        for (int i = 0; i < count; ++i) {
            const float x = static_cast<float>((i * 37) % 640);
            const float y = static_cast<float>((i * 91) % 480);
            std::unique_ptr<Shape> shape;
            switch (i % 4) {
            case 0:
                shape = std::make_unique<ParallelogramShape>(x, y, 2.0f, 7.0f);
                break;
            case 1:
                shape = std::make_unique<CircleShape>(x, y, 2.0f, 4.0f);
                break;
            case 2:
                shape = std::make_unique<SquareShape>(x, y, 2.0f, 5.0f);
                break;
            default:
                shape = std::make_unique<TriangleShape>(x, y, 2.0f, 7.0f, 9.0f);
                break;
            }
            shape->setColour(0.8f, 0.4f, 0.1f);
            canvas.shapes.push_back(std::move(shape));
        }
    }

    test::GlContext gl;
    Canvas canvas;
};

LoadedCanvas& loaded() {
    static LoadedCanvas instance;
    return instance;
}

void BM_RenderFrame(benchmark::State& state) {
    LoadedCanvas& l = loaded();
    l.fill(static_cast<int>(state.range(0)));
    std::size_t allocations = 0;
    for (auto _ : state) {
        const std::size_t before = bench::allocationCount();
        glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
        l.canvas.setProjection(0, 0, 640, 480);
        l.canvas.drawFrame(GL_RENDER);
        glFinish();
        allocations += bench::allocationCount() - before;
    }
    state.counters["allocs/frame"] =
        benchmark::Counter(static_cast<double>(allocations), benchmark::Counter::kAvgIterations);
}
BENCHMARK(BM_RenderFrame)->Arg(100)->Arg(1000)->Arg(10000)->Unit(benchmark::kMillisecond);

void BM_IdleStep(benchmark::State& state) {
    LoadedCanvas& l = loaded();
    l.fill(static_cast<int>(state.range(0)));
    std::size_t allocations = 0;
    for (auto _ : state) {
        l.canvas.idleTime = 0.0; // the pointer keeps moving: no inactivity scatter
        const std::size_t before = bench::allocationCount();
        l.canvas.advance(1.0f / 60.0f);
        allocations += bench::allocationCount() - before;
    }
    state.counters["allocs/step"] =
        benchmark::Counter(static_cast<double>(allocations), benchmark::Counter::kAvgIterations);
}
BENCHMARK(BM_IdleStep)->Arg(100)->Arg(1000)->Arg(10000)->Unit(benchmark::kMicrosecond);

// One press's pick over a crowd of shapes, some of them under the pointer.
void BM_Pick(benchmark::State& state) {
    LoadedCanvas& l = loaded();
    l.fill(static_cast<int>(state.range(0)));
    for (auto _ : state) {
        l.canvas.pick(320, 240);
        l.canvas.clearSelection();
        l.canvas.toolHits.clear();
    }
    l.canvas.setProjection(0, 0, 640, 480);
}
BENCHMARK(BM_Pick)->Arg(100)->Arg(1000)->Arg(10000)->Unit(benchmark::kMillisecond);

} // namespace
} // namespace tessera

BENCHMARK_MAIN();
