#include "scene/shape.h"
#include "scene/square_shape.h"
#include "scene/triangle_shape.h"

#include <gtest/gtest.h>

namespace tessera {
namespace {

// A bare shape around a given outline, for the geometry that does not depend on a kind.
std::unique_ptr<Shape> shapeWith(const std::vector<std::pair<float, float>>& outline) {
    auto shape = std::make_unique<Shape>(0.0f, 0.0f, 0.0f);
    shape->polygons.push_back(Polygon::ring(outline));
    return shape;
}

TEST(ShapeIdentity, IdsCountUpAndAreNeverReused) {
    const int before = nextShapeId;
    auto first = std::make_unique<Shape>(0.0f, 0.0f, 0.0f);
    first.reset();
    SquareShape second(0.0f, 0.0f, 0.0f, 1.0f);
    EXPECT_EQ(second.id, before + 1);
    EXPECT_EQ(nextShapeId, before + 2);
}

TEST(ShapeIdentity, NameIsUndefinedUntilSet) {
    Shape shape(0.0f, 0.0f, 0.0f);
    EXPECT_STREQ(shape.name(), "undefined");
    shape.setName("circle");
    EXPECT_STREQ(shape.name(), "circle");
    shape.setName("square");
    EXPECT_STREQ(shape.name(), "square");
    shape.setSelected(1);
    EXPECT_EQ(shape.isSelected(), 1);
}

TEST(PolygonGeometry, RingLinksEveryVertexOnceAndCloses) {
    auto polygon = Polygon::ring({{0, 0}, {1, 0}, {1, 1}, {0, 1}});
    ASSERT_EQ(polygon->count, 4);
    const Edge* edge = polygon->first;
    for (int i = 0; i < 3; ++i) {
        EXPECT_EQ(edge->end, edge->next->start);
        EXPECT_EQ(edge->next->prev, edge);
        edge = edge->next;
    }
    EXPECT_EQ(edge->next, nullptr);
    EXPECT_EQ(edge->end, polygon->first->start);
}

TEST(PolygonGeometry, AreaByVertexCount) {
    EXPECT_NEAR(Polygon::ring({{0, 0}, {3, 0}, {3, 4}})->area(), 6.0f, 1e-4);
    EXPECT_NEAR(Polygon::ring({{0, 0}, {2, 0}, {2, 3}, {0, 3}})->area(), 6.0f, 1e-5);
    EXPECT_EQ(
        Polygon::ring({{0, 0}, {1, 0}, {2, 1}, {1, 2}, {0, 2}, {-1, 1}, {-1, 0}, {0, -1}})->area(),
        1.0f);
}

TEST(PolygonGeometry, FlatTrianglesHaveAreaZeroNotNaN) {
    const struct {
        const char* name;
        std::vector<std::pair<float, float>> corners;
    } rows[] = {
        {"flat, cosine rounded past -1", {{0, 0}, {0, -11.2f}, {0, -14.4f}}},
        {"flat, cosine exactly -1", {{0, 0}, {1, 0}, {2, 0}}},
        {"folded back, cosine rounded past 1", {{0, 0}, {0, -14.4f}, {0, -9.6f}}},
        {"first two corners in one point", {{0, 0}, {0, 0}, {1, 1}}},
        {"last two corners in one point", {{0, 0}, {1, 1}, {1, 1}}},
    };
    for (const auto& row : rows) {
        EXPECT_EQ(Polygon::ring(row.corners)->area(), 0.0f) << row.name;
    }
}

TEST(PolygonGeometry, ReachIsTheFarthestVertexAndFollowsItsMoves) {
    auto polygon = Polygon::ring({{3, 4}, {-1, 0}, {0, 1}});
    EXPECT_FLOAT_EQ(polygon->reach, 5.0f);
    polygon->first->next->start->queueMoveTo(1.0f, -12.0f, 0.0f, 0.0f, Linear);
    polygon->update(0.5f);
    EXPECT_NEAR(polygon->reach, 6.5f, 1e-5);
}

TEST(PolygonGeometry, EdgeLinkedAfterAnotherSplicesIn) {
    Actor a(0, 0, 0), b(1, 0, 0), c(2, 0, 0);
    Edge first(&a, &b);
    Edge last(&b, &c, &first);
    Edge middle(&b, &b, &first);
    EXPECT_EQ(first.next, &middle);
    EXPECT_EQ(middle.next, &last);
    EXPECT_EQ(last.prev, &middle);
    EXPECT_EQ(middle.prev, &first);
    EXPECT_FLOAT_EQ(last.length(), 1.0f);
}

TEST(ShapeSize, LargerScaleTimesArea) {
    auto shape = shapeWith({{0, 0}, {1, 0}, {1, 1}, {0, 1}});
    shape->setScale(2.0f, 3.0f, 1.0f);
    EXPECT_FLOAT_EQ(shape->size(), 3.0f);
}

TEST(ShapeOutgrow, GrowsItselfAndShrinksTheOther) {
    Shape shape(0.0f, 0.0f, 0.0f);
    Shape other(0.0f, 0.0f, 0.0f);
    shape.setScale(1.0f, 1.0f, 1.0f);
    other.setScale(1.2f, 1.2f, 0.5f);
    shape.outgrow(&other);
    EXPECT_FLOAT_EQ(shape.scale.x, 1.2f);
    EXPECT_FLOAT_EQ(shape.scale.z, 1.0f);
    EXPECT_NEAR(other.scale.x, 1.0f, 1e-6);
    EXPECT_EQ(other.scale.z, 1.0f);
}

TEST(ShapeFollowOutline, QueuesOneEasedLegPerCornerAboutItsOwnPosition) {
    Shape mover(100.0f, 50.0f, 3.0f);
    SquareShape square(0.0f, 0.0f, 9.0f, 2.0f);
    mover.followOutline(&square, 10.0f, 2.0f);
    ASSERT_EQ(mover.keyframes.size(), 4u);
    const float corners[4][2] = {{1, 1}, {-1, 1}, {-1, -1}, {1, -1}};
    for (int i = 0; i < 4; ++i) {
        const Keyframe& leg = mover.keyframes[i];
        EXPECT_EQ(leg.duration, 2.0f);
        EXPECT_EQ(leg.mode, Eased);
        EXPECT_EQ(leg.snapshot->position.x, 100.0f + 10.0f * corners[i][0]);
        EXPECT_EQ(leg.snapshot->position.y, 50.0f + 10.0f * corners[i][1]);
        EXPECT_EQ(leg.snapshot->position.z, 3.0f);
    }
    EXPECT_EQ(mover.current, 0);
}

TEST(ShapeFollowOutline, TravelledOnceTheShapeStaysNearTheLastCorner) {
    Shape mover(0.0f, 0.0f, 0.0f);
    TriangleShape triangle(0.0f, 0.0f, 0.0f, 2.0f, 2.0f);
    mover.followOutline(&triangle, 10.0f, 3.0f);
    mover.loop = 0;
    for (int i = 0; i < 100; ++i) {
        mover.update(0.05f);
    }
    const float x = mover.position.x;
    for (int i = 0; i < 100; ++i) {
        mover.update(0.05f);
    }
    EXPECT_EQ(mover.position.x, x);
}

TEST(ShapeUpdate, AdvancesTheVerticesWithTheShape) {
    auto shape = shapeWith({{0, 0}, {1, 0}, {1, 1}});
    Actor* vertex = shape->polygons[0]->first->start;
    vertex->queueMoveTo(1.0f, 5.0f, 0.0f, 0.0f, Linear);
    shape->update(0.5f);
    EXPECT_NEAR(vertex->position.x, 2.5f, 1e-5);
}

TEST(ShapeUpdate, AVertexSetMovingAfterItsOutlineCameToRestMovesToo) {
    auto shape = shapeWith({{0, 0}, {1, 0}, {1, 1}});
    for (int i = 0; i < 5; ++i) {
        shape->update(0.1f);
    }
    Actor* vertex = shape->polygons[0]->first->next->start;
    vertex->queueMoveTo(1.0f, 4.0f, 0.0f, 0.0f, Linear);
    shape->update(0.5f);
    EXPECT_NEAR(vertex->position.x, 2.5f, 1e-5);
    EXPECT_NEAR(shape->polygons[0]->reach, 2.5f, 1e-5);
}

TEST(ShapeUpdate, AVertexWhoseKeyframeIsClearedBeforeItMovedStillMoves) {
    // The outline leaves its vertices alone only while each is truly at rest: neither a
    // velocity (a linear move) nor an acceleration (an eased one, which starts from speed
    // 0) may be left. The zero-length step right after the clearing is where an outline
    // that looked at one channel only would decide to rest.
    const struct {
        const char* name;
        int mode;
    } rows[] = {{"linear: a velocity is left", Linear}, {"eased: only an acceleration", Eased}};
    for (const auto& row : rows) {
        SCOPED_TRACE(row.name);
        auto shape = shapeWith({{0, 0}, {1, 0}, {1, 1}});
        Actor* vertex = shape->polygons[0]->first->next->start;
        vertex->queueMoveTo(1.0f, 4.0f, 0.0f, 0.0f, row.mode);
        vertex->clearKeyframes();
        shape->update(0.0f);
        EXPECT_EQ(vertex->position.x, 1.0f);
        shape->update(0.1f);
        EXPECT_GT(vertex->position.x, 1.0f) << "the vertex keeps the motion it was given";
    }
}

} // namespace
} // namespace tessera
