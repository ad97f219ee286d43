#include "scene/body.h"

#include <gtest/gtest.h>

namespace tessera {
namespace {

struct BodyStep {
    const char* name;
    float x;
    float accelerationX;
};

// A one-second move from 0 to 10 in steps of 0.1 s: accelerate for 70 %, then a
// deceleration that ends exactly on the target.
const BodyStep oneSecondMove[] = {
    {"update 1", 0.2857f, 28.5714f},        {"update 2", 0.8571f, 28.5714f},
    {"update 3", 1.7143f, 28.5714f},        {"update 4", 2.8571f, 28.5714f},
    {"update 5", 4.2857f, 28.5714f},        {"update 6", 6.0f, 28.5714f},
    {"update 7 turns", 7.2857f, -42.8571f}, {"update 8", 8.1429f, -42.8571f},
    {"update 9", 8.5714f, -42.8571f},       {"update 10 lands", 10.0f, 0.0f},
    {"update 11 rests", 10.0f, 0.0f},
};

TEST(BodyMove, FollowsTheEasedLawAndLandsOnTheTarget) {
    Body body;
    body.moveTo(1.0f, 10.0f, 0.0f, 0.0f);
    EXPECT_NEAR(body.acceleration.x, 28.5714f, 1e-4);
    for (const BodyStep& row : oneSecondMove) {
        body.update(0.1f);
        SCOPED_TRACE(row.name);
        EXPECT_NEAR(body.position.x, row.x, 1e-4);
        EXPECT_NEAR(body.acceleration.x, row.accelerationX, 1e-4);
    }
    EXPECT_EQ(body.velocity.x, 0.0f);
    EXPECT_EQ(body.position.x, 10.0f);
}

TEST(BodyMove, DecelerationStartsWithTheUpdateThatReaches70PerCentAndOnlyThen) {
    // Whole seconds through a 10-s move to x = 70 (acceleration 2): update 7 ends exactly
    // at 7 s.
    const BodyStep rows[] = {{"update 6 ends short of 70 %", 42.0f, 2.0f},
                             {"update 7 ends at 70 %: decelerates", 51.0f, -3.0f},
                             {"update 8 starts at 70 %: no second switch", 57.0f, -3.0f}};
    Body body;
    body.moveTo(10.0f, 70.0f, 0.0f, 0.0f);
    for (int i = 0; i < 5; ++i) {
        body.update(1.0f);
    }
    for (const BodyStep& row : rows) {
        body.update(1.0f);
        SCOPED_TRACE(row.name);
        EXPECT_NEAR(body.position.x, row.x, 1e-3);
        EXPECT_NEAR(body.acceleration.x, row.accelerationX, 1e-4);
    }
}

TEST(BodyMove, ZeroDurationResetsThenJumps) {
    Body body;
    body.setRotation(10.0f, 20.0f, 30.0f);
    body.moveTo(2.0f, 100.0f, 0.0f, 0.0f);
    body.update(0.5f);
    body.moveTo(0.0f, 5.0f, 6.0f, 7.0f);
    EXPECT_EQ(body.position.x, 5.0f);
    EXPECT_EQ(body.position.z, 7.0f);
    EXPECT_EQ(body.rotation.z, 0.0f);
    EXPECT_EQ(body.velocity.x, 0.0f);
    EXPECT_EQ(body.acceleration.x, 0.0f);
    EXPECT_EQ(body.target.x, 0.0f);
    EXPECT_EQ(body.duration, 0.0f);
}

TEST(BodyMove, ReturnHomeComesBackOverItsDuration) {
    Body body;
    body.setPosition(4.0f, 0.0f, 0.0f);
    body.returnHome(2.0f);
    for (int i = 0; i < 19; ++i) {
        body.update(0.1f);
        EXPECT_GT(body.position.x, 0.0f);
    }
    body.update(0.1f);
    EXPECT_EQ(body.position.x, 0.0f);
}

TEST(BodyMove, SetPositionDuringAMoveKeepsTheTarget) {
    Body body;
    body.moveTo(1.0f, 10.0f, 0.0f, 0.0f);
    body.update(0.1f);
    body.setPosition(-3.0f, 0.0f, 0.0f);
    EXPECT_EQ(body.target.x, 10.0f);
    for (int i = 0; i < 9; ++i) {
        body.update(0.1f);
    }
    EXPECT_EQ(body.position.x, 10.0f);
}

TEST(BodyMove, OneLongStepAcrossBothThresholdsEndsTheMove) {
    Body body;
    body.moveTo(1.0f, 10.0f, 0.0f, 0.0f);
    body.update(0.5f);
    body.update(0.6f); // from 0.5 past 0.7 and past 1.0 at once
    EXPECT_EQ(body.position.x, 10.0f);
    EXPECT_EQ(body.velocity.x, 0.0f);
    EXPECT_EQ(body.acceleration.x, 0.0f);
    body.update(0.5f);
    EXPECT_EQ(body.position.x, 10.0f);
}

} // namespace
} // namespace tessera
