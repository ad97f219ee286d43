#include "scene/circle_shape.h"
#include "scene/parallelogram_shape.h"
#include "scene/random.h"
#include "scene/square_shape.h"
#include "scene/triangle_shape.h"

#include <cmath>
#include <gtest/gtest.h>

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
    // 41 -> period 3 + 1/10 -> 3.1 s; 18467 % 50 = 17 -> 2 + 0 = 2 degrees.
    seedRandom();
    TriangleShape first(0, 0, 0, 1, 1);
    EXPECT_EQ(first.period, 3.1f);
    EXPECT_EQ(first.amplitude, 2.0f);
    // 6334 % 40 = 14 -> 4 s; 26500 % 50 = 0 -> amplitude 0.
    CircleShape second(0, 0, 0, 1);
    EXPECT_EQ(second.period, 4.0f);
    EXPECT_EQ(second.amplitude, 0.0f);
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

TEST(ShapeKindGeometry, OutlinesAndScales) {
    CircleShape circle(0, 0, 0, 7.0f);
    const Polygon& ring = *circle.polygons[0];
    ASSERT_EQ(ring.count, 8);
    EXPECT_FLOAT_EQ(ring.first->start->position.x, 1.0f);
    const Edge* edge = ring.first;
    for (int k = 0; k < 8; ++k, edge = edge->next) {
        const float angle = std::atan2(edge->start->position.y, edge->start->position.x);
        EXPECT_NEAR(std::remainder(angle - k * M_PI / 4, 2 * M_PI), 0.0, 1e-6);
        EXPECT_NEAR(std::hypot(edge->start->position.x, edge->start->position.y), 1.0, 1e-6);
    }
    EXPECT_EQ(circle.scale.x, 7.0f);

    SquareShape square(0, 0, 0, 40.0f);
    EXPECT_EQ(square.scale.x, 20.0f);
    EXPECT_EQ(square.polygons[0]->count, 4);
    EXPECT_FLOAT_EQ(square.polygons[0]->area(), 4.0f);

    ParallelogramShape parallelogram(0, 0, 0, 34.0f);
    EXPECT_EQ(parallelogram.scale.y, 17.0f);
    EXPECT_FLOAT_EQ(parallelogram.polygons[0]->first->length(), 1.25f);

    TriangleShape triangle(0, 0, 0, 33.0f, 10.0f);
    EXPECT_EQ(triangle.scale.x, 16.5f);
    EXPECT_EQ(triangle.scale.y, 5.0f);
    EXPECT_EQ(triangle.scale.z, 1.0f);
    EXPECT_EQ(triangle.polygons[0]->first->start->position.y, 0.9f);
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
