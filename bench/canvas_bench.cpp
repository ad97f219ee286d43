// Frame, pick and idle step with many painted shapes, in an offscreen Mesa context
// (software rendering; 640 x 480 but for the frames at screen sizes). Each case times the
// fast path and, in the same iterations, the reference path and the floor (the least the
// work could cost the plain way), and reports the ratios as counters:
// - frame: the batched frame against the immediate-mode frame, and against a full clear
//   and the same triangles copied into one vertex array and drawn over the board; cpu_ms
//   is the process's processor time a frame (Mesa's threads included), which other work
//   on a shared machine disturbs less than the wall-clock time;
// - pick: the CPU pick against the selection-mode pick at the same points, with the share
//   of points where both found the same objects;
// - idle step: against a plain loop that moves as many points and takes one sine each.
// The memory cases report the resident size before and after many picks of each kind; run
// each on its own (--benchmark_filter=PickMemorySelection/0/, and so on): selection picks
// earlier in the run leave the heap grown, and the later ones then reuse it.
#include "allocation_counter.h"
#include "canvas/canvas.h"
#include "picture/pnm_reader.h"
#include "picture/region_map.h"
#include "program/init_graphics.h"
#include "scene/random.h"
#include "scene/shape_batch.h"
#include "support/resident_memory.h"
#include "tessera_render/offscreen_context.h"

#include <GL/gl.h>
#include <algorithm>
#include <benchmark/benchmark.h>
#include <chrono>
#include <cmath>
#include <cstdio>
#include <ctime>
#include <fcntl.h>
#include <random>
#include <string>
#include <unistd.h>
#include <vector>

namespace tessera {
namespace {

using Clock = std::chrono::steady_clock;

double secondsSince(Clock::time_point start) {
    return std::chrono::duration<double>(Clock::now() - start).count();
}

// Processor time of the whole process, every thread's.
double processSeconds() {
    timespec now{};
    clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &now);
    return static_cast<double>(now.tv_sec) + 1e-9 * static_cast<double>(now.tv_nsec);
}

// The picture with its rows and columns swapped (RGBA).
Image transposed(const Image& image) {
    Image turned;
    turned.width = image.height;
    turned.height = image.width;
    turned.pixels.resize(image.pixels.size());
    for (int y = 0; y < image.height; ++y) {
        for (int x = 0; x < image.width; ++x) {
            std::copy_n(&image.pixels[4 * (static_cast<std::size_t>(y) * image.width + x)], 4,
                        &turned.pixels[4 * (static_cast<std::size_t>(x) * turned.width + y)]);
        }
    }
    return turned;
}

// One loaded Canvas for the whole run, repainted with the number of shapes each case asks.
struct LoadedCanvas {
    LoadedCanvas() {
        resize(640, 480);
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
    // The fruit picture on a board of width x height units (a photograph of that shape
    // gives one); the shapes go with a change of board.
    void useBoard(int width, int height) {
        if (canvas.boardWidth == width && canvas.boardHeight == height) {
            return;
        }
        Image picture;
        Image mask;
        RegionMap map;
        loadPpm("fruit.ppm", picture);
        loadPgm("fruit_mask.pgm", mask);
        loadRegionMap("fruit.map", map);
        map.boardWidth = width;
        map.boardHeight = height;
        if ((width < height) != (picture.width < picture.height)) {
            picture = transposed(picture); // a photograph of the board's own shape
        }
        canvas.loadPictureSet("fruit", std::move(picture), std::move(mask), std::move(map));
        canvas.setProjection(0, 0, 640, 480);
    }

    // The window size of the frames that follow; the GL state is kept.
    void resize(int width, int height) {
        if (context.width() != width || context.height() != height) {
            context.reserve(width, height);
        }
    }

    // Strokes as a person paints them: a trail a few units a shape, now and then a new
    // stroke elsewhere with another tool, each shape grown a little while the button was
    // held; then a few idle steps of wobble.
    void paint(int count) {
        if (static_cast<int>(canvas.shapes.size()) == count) {
            return;
        }
        canvas.shapes.clear();
        canvas.selection.clear();
        canvas.stroke(0).painting = nullptr;
        seedRandom();
        std::mt19937 random(12);
        const auto between = [&](int low, int high) {
            return std::uniform_int_distribution<>(low, high)(random);
        };
        int tool = 0;
        int x = canvas.boardWidth / 2;
        int y = canvas.boardHeight / 2;
        for (int i = 0; i < count; ++i) {
            if (between(0, 60) == 0) {
                tool = (tool + 1) % 4;
                x = between(0, canvas.boardWidth - 1);
                y = between(0, canvas.boardHeight - 1);
            }
            x = std::clamp(x + between(-6, 6), 0, canvas.boardWidth - 1);
            y = std::clamp(y + between(-6, 6), 0, canvas.boardHeight - 1);
            Shape* shape = canvas.spawnShape(tool, x, y);
            const float grown = 1.0f + 0.1f * static_cast<float>(between(0, 10));
            shape->scaleBy(grown, grown, 1.0f);
        }
        for (int i = 0; i < 10; ++i) {
            step();
        }
    }

    void step() {
        canvas.idleTime = 0.0; // the pointer keeps moving: no inactivity scatter
        canvas.advance(1.0f / 60.0f);
    }

    OffscreenContext context;
    Canvas canvas;
};

LoadedCanvas& loaded() {
    static LoadedCanvas instance;
    return instance;
}

double frameSeconds(Canvas& canvas, int width = 640, int height = 480) {
    const auto start = Clock::now();
    canvas.showFrame(width, height);
    glFinish();
    return secondsSince(start);
}

// A full clear, the board and the shapes' triangles, already placed, copied into one vertex
// array and drawn with the frame's lighting.
double floorSeconds(Canvas& canvas, int width, int height, const std::vector<BatchVertex>& placed,
                    std::vector<BatchVertex>& array) {
    const auto start = Clock::now();
    glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
    canvas.setProjection(0, 0, width, height);
    glEnable(GL_DEPTH_TEST);
    glMatrixMode(GL_MODELVIEW);
    glLoadIdentity();
    glDisable(GL_LIGHTING);
    canvas.board->draw();
    glEnable(GL_LIGHTING);
    std::copy(placed.begin(), placed.end(), array.begin());
    drawTriangles(array);
    glFinish();
    return secondsSince(start);
}

// Arguments: window width and height, number of shapes, and 1 for a portrait board of
// 480 x 640 units (a 3:4 photograph's) instead of the 640 x 480 one.
void BM_Frame(benchmark::State& state) {
    LoadedCanvas& l = loaded();
    const int width = static_cast<int>(state.range(0));
    const int height = static_cast<int>(state.range(1));
    const bool portrait = state.range(3) == 1;
    l.useBoard(portrait ? 480 : 640, portrait ? 640 : 480);
    l.resize(width, height);
    l.paint(static_cast<int>(state.range(2)));
    Canvas& canvas = l.canvas;
    ShapeBatch placed;
    placed.fill(canvas.shapes);
    std::vector<BatchVertex> array(placed.triangles().size());
    frameSeconds(canvas, width, height); // warms the render cache
    double batched = 0.0;
    double processor = 0.0;
    double reference = 0.0;
    double floor = 0.0;
    std::size_t allocations = 0;
    for (auto _ : state) {
        const std::size_t before = bench::allocationCount();
        const double processorBefore = processSeconds();
        const double seconds = frameSeconds(canvas, width, height);
        processor += processSeconds() - processorBefore;
        allocations += bench::allocationCount() - before;
        state.SetIterationTime(seconds);
        batched += seconds;
        floor += floorSeconds(canvas, width, height, placed.triangles(), array);
        canvas.referenceDrawing = true;
        reference += frameSeconds(canvas, width, height);
        canvas.referenceDrawing = false;
    }
    l.resize(640, 480);
    l.useBoard(640, 480);
    const auto n = static_cast<double>(state.iterations());
    state.counters["cpu_ms"] = 1e3 * processor / n;
    state.counters["floor_ms"] = 1e3 * floor / n;
    state.counters["reference_ms"] = 1e3 * reference / n;
    state.counters["x_floor"] = batched / floor;
    state.counters["reference_x"] = reference / batched;
    state.counters["allocs/frame"] = static_cast<double>(allocations) / n;
}
BENCHMARK(BM_Frame)
    ->Args({640, 480, 1000, 0})
    ->Args({640, 480, 10000, 0})
    ->Args({640, 480, 30000, 0})
    ->Args({1920, 1080, 1000, 0})
    ->Args({1920, 1080, 5000, 0})
    ->Args({1080, 1920, 5000, 1})
    ->Args({1920, 1080, 10000, 0})
    ->Args({3840, 2160, 1000, 0})
    ->Args({3840, 2160, 5000, 0})
    ->UseManualTime()
    ->Unit(benchmark::kMillisecond);

// A frame of the big screen while several people paint at once: each pointer drags a stroke
// of its own across the board (trailing and growing), the idle step runs and the frame is
// drawn, over a board kept at the given number of shapes by the shape cap. Arguments: the
// number of strokes under way and of shapes. Compare 16 strokes with 1 at the same shapes.
void BM_FrameWithStrokes(benchmark::State& state) {
    LoadedCanvas& l = loaded();
    const int strokes = static_cast<int>(state.range(0));
    const int count = static_cast<int>(state.range(1));
    l.paint(count);
    Canvas& canvas = l.canvas;
    canvas.maxShapes = static_cast<std::size_t>(count);
    for (int n = 0; n < strokes; ++n) {
        canvas.buttonPressed(40 + 35 * n, 100, 2, n + 1);
    }
    int frame = 0;
    for (auto _ : state) {
        const auto start = Clock::now();
        ++frame;
        for (int n = 0; n < strokes; ++n) {
            // Across and back down a band of the board, never still along either axis.
            const int x = 40 + 35 * n + (frame % 50);
            const int y = 100 + (frame % 70) * 4;
            canvas.pointerMoved(x, y, n + 1);
        }
        l.step();
        state.SetIterationTime(secondsSince(start) + frameSeconds(canvas));
    }
    for (int n = 0; n < strokes; ++n) {
        canvas.buttonReleased(0, 0, 2, n + 1);
    }
    canvas.maxShapes = 0;
    l.paint(0);
}
BENCHMARK(BM_FrameWithStrokes)
    ->Args({1, 1000})
    ->Args({16, 1000})
    ->Args({1, 5000})
    ->Args({16, 5000})
    ->UseManualTime()
    ->Unit(benchmark::kMillisecond);

// Where a frame's time goes: the floor's steps one at a time (the full clear, the board with
// its depth test, filling the batch, drawing it lit), each finished before the next starts,
// as wall-clock and processor milliseconds. Arguments as for BM_Frame.
void BM_FramePieces(benchmark::State& state) {
    LoadedCanvas& l = loaded();
    const int width = static_cast<int>(state.range(0));
    const int height = static_cast<int>(state.range(1));
    l.resize(width, height);
    l.paint(static_cast<int>(state.range(2)));
    Canvas& canvas = l.canvas;
    ShapeBatch batch;
    enum Piece { Clear, Board, Fill, Shapes, Pieces };
    const char* const names[Pieces] = {"clear", "board", "fill", "shapes"};
    double wall[Pieces] = {};
    double processor[Pieces] = {};
    const auto time = [&](Piece piece, auto&& work) {
        const double processorBefore = processSeconds();
        const auto start = Clock::now();
        work();
        glFinish();
        const double seconds = secondsSince(start);
        wall[piece] += seconds;
        processor[piece] += processSeconds() - processorBefore;
        return seconds;
    };
    for (auto _ : state) {
        double seconds = time(Clear, [] { glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT); });
        seconds += time(Board, [&] {
            canvas.setProjection(0, 0, width, height);
            glEnable(GL_DEPTH_TEST);
            glMatrixMode(GL_MODELVIEW);
            glLoadIdentity();
            glDisable(GL_LIGHTING);
            canvas.board->draw();
        });
        seconds += time(Fill, [&] { batch.fill(canvas.shapes); });
        seconds += time(Shapes, [&] {
            glEnable(GL_LIGHTING);
            batch.draw();
        });
        state.SetIterationTime(seconds);
    }
    l.resize(640, 480);
    const auto n = static_cast<double>(state.iterations());
    for (int piece = 0; piece < Pieces; ++piece) {
        state.counters[std::string(names[piece]) + "_ms"] = 1e3 * wall[piece] / n;
        state.counters[std::string(names[piece]) + "_cpu_ms"] = 1e3 * processor[piece] / n;
    }
}
BENCHMARK(BM_FramePieces)
    ->Args({1920, 1080, 10000})
    ->Args({3840, 2160, 5000})
    ->UseManualTime()
    ->Unit(benchmark::kMillisecond);

// Window points spread over the board, many of them on painted shapes.
std::vector<std::pair<int, int>> pickPoints() {
    std::vector<std::pair<int, int>> points;
    std::mt19937 random(7);
    for (int i = 0; i < 64; ++i) {
        points.emplace_back(std::uniform_int_distribution<>(0, 639)(random),
                            std::uniform_int_distribution<>(0, 479)(random));
    }
    return points;
}

// Picks leave nothing behind: no selection, no toolbar highlight.
void forgetPick(Canvas& canvas) {
    canvas.clearSelection();
    canvas.toolHits.clear();
    for (auto& entry : canvas.tools) {
        entry->setSelected(0);
    }
}

double pickSeconds(Canvas& canvas, int x, int y) {
    const auto start = Clock::now();
    canvas.pick(x, y);
    return secondsSince(start);
}

void BM_Pick(benchmark::State& state) {
    LoadedCanvas& l = loaded();
    l.paint(static_cast<int>(state.range(0)));
    Canvas& canvas = l.canvas;
    frameSeconds(canvas);
    const auto points = pickPoints();
    std::vector<int> found;
    std::vector<int> foundTools;
    found.reserve(canvas.shapes.size());
    foundTools.reserve(canvas.tools.size());
    std::size_t next = 0;
    double cpu = 0.0;
    double selection = 0.0;
    double compared = 0.0;
    double same = 0.0;
    double withHits = 0.0;
    std::size_t allocations = 0;
    for (auto _ : state) {
        const auto [x, y] = points[next++ % points.size()];
        frameSeconds(canvas); // a press comes between frames
        const std::size_t before = bench::allocationCount();
        const double seconds = pickSeconds(canvas, x, y);
        allocations += bench::allocationCount() - before;
        state.SetIterationTime(seconds);
        cpu += seconds;
        // Selection mode keeps memory it never returns, more the more it draws: it picks
        // each point once, not once an iteration.
        if (next <= points.size()) {
            found.assign(canvas.selection.begin(), canvas.selection.end());
            foundTools.assign(canvas.toolHits.begin(), canvas.toolHits.end());
            forgetPick(canvas);
            canvas.referenceDrawing = true;
            selection += pickSeconds(canvas, x, y);
            canvas.referenceDrawing = false;
            compared += 1.0;
            same += found == canvas.selection && foundTools == canvas.toolHits ? 1.0 : 0.0;
            withHits += found.empty() && foundTools.empty() ? 0.0 : 1.0;
        }
        forgetPick(canvas);
    }
    const auto n = static_cast<double>(state.iterations());
    state.counters["selection_ms"] = 1e3 * selection / compared;
    state.counters["selection_x"] = (selection / compared) / (cpu / n);
    state.counters["same_hits"] = same / compared;
    state.counters["with_hits"] = withHits / compared;
    state.counters["allocs/pick"] = static_cast<double>(allocations) / n;
}
BENCHMARK(BM_Pick)->Arg(1000)->Arg(10000)->Arg(30000)->UseManualTime()->Unit(
    benchmark::kMillisecond);

// The least an idle step could cost: as many points as shapes, each moved by one sine.
struct PlainLoop {
    explicit PlainLoop(std::size_t count) : points(count), phases(count) {
        for (std::size_t i = 0; i < count; ++i) {
            phases[i] = 0.001f * static_cast<float>(i);
        }
    }

    double stepSeconds(float dt) {
        const auto start = Clock::now();
        for (std::size_t i = 0; i < points.size(); ++i) {
            phases[i] += dt;
            points[i].y += std::sin(phases[i]) * dt;
        }
        benchmark::DoNotOptimize(points.data());
        return secondsSince(start);
    }

    std::vector<Vec3> points;
    std::vector<float> phases;
};

void BM_IdleStep(benchmark::State& state) {
    LoadedCanvas& l = loaded();
    l.paint(static_cast<int>(state.range(0)));
    PlainLoop plain(l.canvas.shapes.size());
    double steps = 0.0;
    double floor = 0.0;
    std::size_t allocations = 0;
    for (auto _ : state) {
        const auto start = Clock::now();
        const std::size_t before = bench::allocationCount();
        l.step();
        allocations += bench::allocationCount() - before;
        const double seconds = secondsSince(start);
        state.SetIterationTime(seconds);
        steps += seconds;
        floor += plain.stepSeconds(1.0f / 60.0f);
    }
    const auto n = static_cast<double>(state.iterations());
    state.counters["floor_us"] = 1e6 * floor / n;
    state.counters["x_floor"] = steps / floor;
    state.counters["allocs/step"] = static_cast<double>(allocations) / n;
}
BENCHMARK(BM_IdleStep)
    ->Arg(1000)
    ->Arg(10000)
    ->Arg(30000)
    ->UseManualTime()
    ->Unit(benchmark::kMicrosecond);

// The resident size before and after many picks on the bare board (and, for the CPU pick,
// over painted shapes too): selection mode grows inside the GL library, the CPU pick not.
void pickMemory(benchmark::State& state, bool reference, int picks) {
    LoadedCanvas& l = loaded();
    l.paint(static_cast<int>(state.range(0)));
    Canvas& canvas = l.canvas;
    frameSeconds(canvas);
    const auto points = pickPoints();
    canvas.referenceDrawing = reference;
    const auto pickAt = [&](int i) {
        const auto [x, y] = points[static_cast<std::size_t>(i) % points.size()];
        canvas.pick(x, y);
        forgetPick(canvas);
    };
    for (int i = 0; i < 100; ++i) { // warm-up: storage reaches its size
        pickAt(i);
    }
    long before = test::residentKib(); // the first reading's own buffers are not the picks'
    long after = 0;
    for (auto _ : state) {
        before = test::residentKib();
        for (int i = 0; i < picks; ++i) {
            pickAt(i);
        }
        after = test::residentKib();
    }
    canvas.referenceDrawing = false;
    state.counters["picks"] = picks;
    state.counters["rss_before_kib"] = static_cast<double>(before);
    state.counters["rss_growth_kib"] = static_cast<double>(after - before);
}

void BM_PickMemoryCpu(benchmark::State& state) {
    pickMemory(state, false, 100000);
}
BENCHMARK(BM_PickMemoryCpu)->Arg(0)->Arg(1000)->Iterations(1)->Unit(benchmark::kSecond);

void BM_PickMemorySelection(benchmark::State& state) {
    pickMemory(state, true, 2000);
}
BENCHMARK(BM_PickMemorySelection)->Arg(0)->Arg(1000)->Iterations(1)->Unit(benchmark::kSecond);

} // namespace
} // namespace tessera

BENCHMARK_MAIN();
