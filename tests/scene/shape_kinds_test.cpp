#include "scene/circle_shape.h"
#include "scene/parallelogram_shape.h"
#include "scene/random.h"
#include "scene/square_shape.h"
#include "scene/triangle_shape.h"

#include <cmath>
#include <gtest/gtest.h>
#include <utility>
#include <vector>

namespace tessera {
namespace {

TEST(RandomSequence, IsTheProgramsOwnFixedSequence) {
    seedRandom();
    EXPECT_EQ(tessera::rand(), 41);
    EXPECT_EQ(tessera::rand(), 18467);
    EXPECT_EQ(tessera::rand(), 6334);
    EXPECT_EQ(tessera::rand(), 26500);
    seedRandom();
    EXPECT_EQ(tessera::rand(), 41);
}

TEST(ShapeKindRandom, ToolbarOrderGivesItsKnownWobble) {
    seedRandom();
    SquareShape face(20.0f, 10.0f, 4.0f, 40.0f);
    ParallelogramShape icon(20.0f, 10.0f, 5.0f, 34.0f);
    EXPECT_EQ(face.period, 4.0f);
    EXPECT_EQ(face.amplitude, 4.0f);
    EXPECT_EQ(icon.period, 5.0f);
    EXPECT_EQ(icon.amplitude, 2.0f);
}

TEST(ShapeKindRandom, EveryConstructionDrawsExactlyTwoValues) {
    seedRandom();
    CircleShape circle(0, 0, 0, 1);
    TriangleShape triangle(0, 0, 0, 1, 1);
    seedRandom();
    tessera::rand();
    tessera::rand();
    tessera::rand();
    tessera::rand();
    const int next = tessera::rand();
    seedRandom();
    SquareShape a(0, 0, 0, 1);
    ParallelogramShape b(0, 0, 0, 1);
    EXPECT_EQ(tessera::rand(), next);
}

TEST(ShapeKindRandom, EachKindTurnsItsTwoNumbersIntoPeriodThenAmplitude) {
    // The sequence's first eight numbers, two to each shape built in this order.
    seedRandom();
    const CircleShape circle(0, 0, 0, 1);               // 41, 18467
    const TriangleShape triangle(0, 0, 0, 1, 1);        // 6334, 26500
    const SquareShape square(0, 0, 0, 1);               // 19169, 15724
    const ParallelogramShape parallelogram(0, 0, 0, 1); // 11478, 29358
    const struct {
        const char* name;
        float period, expectedPeriod;
        float amplitude, expectedAmplitude;
    } rows[] = {
        {"circle", circle.period, 3.0f, circle.amplitude, 17.0f / 150.0f},
        {"triangle", triangle.period, 4.4f, triangle.amplitude, 2.0f},
        {"square", square.period, 4.0f, square.amplitude, 5.0f},
        {"parallelogram", parallelogram.period, 7.0f, parallelogram.amplitude, 2.0f},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.name);
        EXPECT_EQ(row.period, row.expectedPeriod);
        EXPECT_EQ(row.amplitude, row.expectedAmplitude);
    }
}

TEST(ShapeKindRandom, TrianglePeriodIsTheFloatNearestItsTenths) {
    // The 21st value, 32391, gives 3.0 + 0.1 x 31: 6.1, where a float sum would give
    // 6.1000004; the 22nd, 14604, gives amplitude 2 + 4 / 20 = 2.
    seedRandom();
    for (int i = 0; i < 20; ++i) {
        tessera::rand();
    }
    TriangleShape triangle(0, 0, 0, 1, 1);
    EXPECT_EQ(triangle.period, 6.1f);
    EXPECT_EQ(triangle.amplitude, 2.0f);
}

TEST(ShapeKindGeometry, EveryVertexInRingOrderAndTheScale) {
    std::vector<std::pair<float, float>> octagon;
    for (int k = 0; k < 8; ++k) {
        octagon.emplace_back(std::cos(k * M_PI / 4), std::sin(k * M_PI / 4));
    }
    const CircleShape circle(0, 0, 0, 7.0f);
    const SquareShape square(0, 0, 0, 40.0f);
    const ParallelogramShape parallelogram(0, 0, 0, 34.0f);
    const TriangleShape triangle(0, 0, 0, 33.0f, 10.0f);
    const struct {
        const char* name;
        const Shape& shape;
        std::vector<std::pair<float, float>> vertices;
        float scaleX, scaleY;
    } rows[] = {
        {"circle", circle, octagon, 7.0f, 7.0f},
        {"square", square, {{1, 1}, {-1, 1}, {-1, -1}, {1, -1}}, 20.0f, 20.0f},
        {"parallelogram",
         parallelogram,
         {{1.1f, 0.8f}, {-0.15f, 0.8f}, {-1.1f, -0.8f}, {0.15f, -0.8f}},
         17.0f,
         17.0f},
        {"triangle", triangle, {{0, 0.9f}, {-1, -0.85f}, {1, -0.85f}}, 16.5f, 5.0f},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.name);
        ASSERT_EQ(row.shape.polygons.size(), 1u);
        const Polygon& outline = *row.shape.polygons[0];
        ASSERT_EQ(outline.count, static_cast<int>(row.vertices.size()));
        const Edge* edge = outline.first;
        for (const auto& [x, y] : row.vertices) {
            ASSERT_NE(edge, nullptr);
            EXPECT_NEAR(edge->start->position.x, x, 1e-6);
            EXPECT_NEAR(edge->start->position.y, y, 1e-6);
            EXPECT_EQ(edge->start->position.z, 0.0f);
            edge = edge->next;
        }
        EXPECT_EQ(row.shape.scale.x, row.scaleX);
        EXPECT_EQ(row.shape.scale.y, row.scaleY);
        EXPECT_EQ(row.shape.scale.z, 1.0f);
    }
}

struct WobbleRow {
    const char* name;
    float phaseBefore;
    float dt;
    float phaseAfter;
    float value;
};

TEST(ShapeKindWobble, SquareRocksAboutZ) {
    const WobbleRow rows[] = {
        {"quarter cycle", 0.0f, 1.0f, 1.0f, 5.0f},
        {"half cycle", 1.0f, 1.0f, 2.0f, 0.0f},
        {"exactly the period stays", 3.0f, 1.0f, 4.0f, 0.0f},
        {"past the period restarts", 3.5f, 1.0f, 0.0f, 0.0f},
    };
    for (const WobbleRow& row : rows) {
        SquareShape square(0, 0, 0, 10.0f);
        square.period = 4.0f;
        square.amplitude = 5.0f;
        square.phase = row.phaseBefore;
        square.setRotation(30.0f, 0.0f, 0.0f);
        square.update(row.dt);
        SCOPED_TRACE(row.name);
        EXPECT_FLOAT_EQ(square.phase, row.phaseAfter);
        EXPECT_NEAR(square.rotation.z, row.value, 1e-5);
        EXPECT_EQ(square.rotation.x, 0.0f);
    }
}

TEST(ShapeKindWobble, CirclePulsesByAFixedAmountPerUpdate) {
    CircleShape circle(0, 0, 0, 10.0f);
    circle.period = 4.0f;
    circle.amplitude = 0.3f;
    circle.update(1.0f);
    EXPECT_NEAR(circle.scale.x, 10.3f, 1e-5);
    EXPECT_NEAR(circle.scale.y, 10.3f, 1e-5);
    EXPECT_EQ(circle.scale.z, 0.0f);
    circle.update(1.0f);
    EXPECT_NEAR(circle.scale.x, 10.3f, 1e-5);
}

TEST(ShapeKindWobble, StillCircleKeepsItsSize) {
    CircleShape circle(0, 0, 0, 10.0f);
    circle.amplitude = 0.0f;
    for (int i = 0; i < 10; ++i) {
        circle.update(0.3f);
    }
    EXPECT_EQ(circle.scale.x, 10.0f);
}

} // namespace
} // namespace tessera
