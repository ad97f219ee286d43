#include "scene/actor.h"

#include <cmath>
#include <gtest/gtest.h>

namespace tessera {
namespace {

struct ActorStep {
    const char* name;
    float x;
    int current;
};

TEST(ActorConstruction, StartsAtItsPositionWithEverythingElseZero) {
    Actor actor(1.0f, 2.0f, 3.0f);
    EXPECT_EQ(actor.position.y, 2.0f);
    EXPECT_EQ(actor.homePosition.z, 3.0f);
    EXPECT_EQ(actor.scale.x, 0.0f);
    EXPECT_EQ(actor.colour.x, 0.0f);
    EXPECT_EQ(actor.current, -1);
    EXPECT_EQ(actor.loop, 0);
    actor.setScale(2.0f, 2.0f, 2.0f);
    actor.reset();
    EXPECT_EQ(actor.scale.x, 0.0f);
}

TEST(ActorQueue, ZeroDurationMovesAtOnceAndQueuesNothing) {
    Actor actor(0.0f, 0.0f, 0.0f);
    Actor* result = actor.queueMoveTo(0.0f, 4.0f, 5.0f, 6.0f, Eased);
    EXPECT_EQ(result, &actor);
    EXPECT_EQ(actor.position.x, 4.0f);
    EXPECT_TRUE(actor.keyframes.empty());
    EXPECT_EQ(actor.loop, 0);
}

TEST(ActorQueue, FirstKeyframeStartsAtOnceAndTheListLoops) {
    Actor actor(0.0f, 0.0f, 0.0f);
    Actor* first = actor.queueMoveTo(1.0f, 10.0f, 0.0f, 0.0f, Linear);
    EXPECT_NE(first, &actor);
    EXPECT_EQ(first->position.x, 10.0f);
    EXPECT_EQ(actor.current, 0);
    actor.queueMoveTo(1.0f, 0.0f, 0.0f, 0.0f, Linear);
    EXPECT_EQ(actor.current, 0);
    EXPECT_EQ(actor.loop, 1);
    const int expected[] = {0, 1, 0, 1};
    for (int played : expected) {
        EXPECT_EQ(actor.current, played);
        for (int i = 0; i < 10; ++i) {
            actor.update(0.1f);
        }
    }
}

// One eased keyframe to x = 10 over 1 s, looping: the tenth update restarts it from
// wherever the integration got to.
const ActorStep easedLoop[] = {
    {"update 1", 0.2857f, 0},           {"update 2", 0.8571f, 0}, {"update 3", 1.7143f, 0},
    {"update 4", 2.8571f, 0},           {"update 5", 4.2857f, 0}, {"update 6", 6.0f, 0},
    {"update 7", 7.2857f, 0},           {"update 8", 8.1429f, 0}, {"update 9", 8.5714f, 0},
    {"update 10 restarts", 8.6122f, 0},
};

TEST(ActorPlayback, EasedKeyframeFollowsTheStepwiseLaw) {
    Actor actor(0.0f, 0.0f, 0.0f);
    actor.queueMoveTo(1.0f, 10.0f, 0.0f, 0.0f, Eased);
    EXPECT_NEAR(actor.acceleration[0].x, 28.5714f, 1e-4);
    for (const ActorStep& row : easedLoop) {
        actor.update(0.1f);
        SCOPED_TRACE(row.name);
        EXPECT_NEAR(actor.position.x, row.x, 1e-4);
    }
    EXPECT_NEAR(actor.acceleration[0].x, 4.0816f, 1e-4);
    EXPECT_NEAR(actor.elapsed, 0.1f, 1e-6);
}

TEST(ActorPlayback, DecelerationStartsWithTheUpdateThatReaches70PerCentAndOnlyThen) {
    // Whole seconds through an eased 10-s move to x = 70 (acceleration 2): update 7 ends
    // exactly at 7 s.
    const struct {
        const char* name;
        float x;
        float acceleration;
    } rows[] = {
        {"update 6 ends short of 70 %", 42.0f, 2.0f},
        {"update 7 ends at 70 %: decelerates", 51.0f, -3.0f},
        {"update 8 starts at 70 %: no second switch", 57.0f, -3.0f},
    };
    Actor actor(0.0f, 0.0f, 0.0f);
    actor.queueMoveTo(10.0f, 70.0f, 0.0f, 0.0f, Eased);
    for (int i = 0; i < 5; ++i) {
        actor.update(1.0f);
    }
    for (const auto& row : rows) {
        actor.update(1.0f);
        SCOPED_TRACE(row.name);
        EXPECT_NEAR(actor.position.x, row.x, 1e-3);
        EXPECT_NEAR(actor.acceleration[0].x, row.acceleration, 1e-4);
    }
}

TEST(ActorPlayback, LinearKeyframesRunAtConstantSpeedAndChain) {
    Actor actor(0.0f, 0.0f, 0.0f);
    actor.queueMoveTo(1.0f, 10.0f, 0.0f, 0.0f, Linear);
    actor.queueMoveTo(0.5f, 0.0f, 0.0f, 0.0f, Linear);
    const ActorStep rows[] = {
        {"first leg 1", 1.0f, 0}, {"first leg 5", 5.0f, 0},     {"first leg 9", 9.0f, 0},
        {"second leg", 7.2f, 1},  {"second leg ends", 1.8f, 1}, {"first leg again", 2.62f, 0},
    };
    const int updatesBefore[] = {1, 4, 4, 1, 3, 1};
    for (int i = 0; i < 6; ++i) {
        for (int k = 0; k < updatesBefore[i]; ++k) {
            actor.update(0.1f);
        }
        SCOPED_TRACE(rows[i].name);
        EXPECT_NEAR(actor.position.x, rows[i].x, 1e-4);
        EXPECT_EQ(actor.current, rows[i].current);
    }
    EXPECT_NEAR(actor.velocity[0].x, 8.2f, 1e-4);
}

TEST(ActorPlayback, TargetsAreTheChannelsAtQueueingTime) {
    Actor actor(0.0f, 0.0f, 0.0f);
    actor.setScale(1.0f, 1.0f, 1.0f);
    actor.queueMoveTo(1.0f, 5.0f, 0.0f, 0.0f, Linear);
    actor.queueMoveTo(1.0f, 0.0f, 0.0f, 0.0f, Linear);
    actor.setScale(3.0f, 3.0f, 3.0f);
    for (int i = 0; i < 4; ++i) {
        actor.update(0.25f);
    }
    // The second keyframe drives the scale from 3 back to the 1 it had when queued.
    EXPECT_EQ(actor.current, 1);
    EXPECT_FLOAT_EQ(actor.velocity[Actor::ScaleChannel].x, -2.0f);
    EXPECT_FLOAT_EQ(actor.scale.x, 2.5f);
}

TEST(ActorPlayback, AListPlayedOnceComesToRestWhereItsLastUpdateTakesIt) {
    // The update that crosses the end is integrated, then the motion stops: linear reaches
    // its target; eased ends where its deceleration brings the velocity to zero.
    const struct {
        const char* name;
        int mode;
        float resting;
    } rows[] = {{"linear", Linear, 10.0f}, {"eased", Eased, 8.5714f}};
    for (const auto& row : rows) {
        Actor actor(0.0f, 0.0f, 0.0f);
        actor.queueMoveTo(1.0f, 10.0f, 0.0f, 0.0f, row.mode);
        actor.loop = 0;
        for (int i = 0; i < 10; ++i) {
            actor.update(0.1f);
        }
        SCOPED_TRACE(row.name);
        EXPECT_NEAR(actor.position.x, row.resting, 1e-4);
        EXPECT_EQ(actor.velocity[0].x, 0.0f);
        EXPECT_EQ(actor.acceleration[0].x, 0.0f);
        const float resting = actor.position.x;
        for (int i = 0; i < 50; ++i) {
            actor.update(0.1f);
        }
        EXPECT_EQ(actor.position.x, resting);
    }
}

TEST(ActorPlayback, AKeyframeAppendedAfterTheEndStillPlays) {
    Actor actor(0.0f, 0.0f, 0.0f);
    actor.queueMoveTo(0.5f, 1.0f, 0.0f, 0.0f, Linear);
    actor.loop = 0;
    for (int i = 0; i < 10; ++i) {
        actor.update(0.1f);
    }
    actor.queueMoveTo(0.5f, 5.0f, 0.0f, 0.0f, Linear);
    actor.update(0.1f);
    EXPECT_EQ(actor.current, 1);
    EXPECT_GT(actor.position.x, 1.5f);
}

bool finite(const Actor& actor) {
    for (int c = 0; c < Actor::channelCount; ++c) {
        for (const Vec3* v : {&actor.value(c), &actor.velocity[c], &actor.acceleration[c]}) {
            if (!std::isfinite(v->x) || !std::isfinite(v->y) || !std::isfinite(v->z)) {
                return false;
            }
        }
    }
    return true;
}

TEST(ActorPlayback, StepsLongerThanTheKeyframeNeitherOvershootNorDiverge) {
    // A looping pair of short keyframes met by long frames (a stalled window, or a gesture
    // made in a split second) would overshoot further on every restart. So would a pair
    // started from rest, after a list that ended or a reset, on the update that starts it.
    enum Start { Queued, AfterTheEnd, AfterAReset };
    const struct {
        const char* name;
        float keyframe;
        float dt;
        Start start;
    } rows[] = {
        {"0.1-s pair, half-second frames", 0.1f, 0.5f, Queued},
        {"0.1-s pair, 2-s frames", 0.1f, 2.0f, Queued},
        {"0.01-s pair, 10.5-s stalls", 0.01f, 10.5f, Queued},
        {"1-ms pair, 2-s stalls", 0.001f, 2.0f, Queued},
        {"1-ms pair, 30-s stalls", 0.001f, 30.0f, Queued},
        {"1-ms pair, ten-minute stalls", 0.001f, 600.0f, Queued},
        {"1-ms pair appended after the end", 0.001f, 30.0f, AfterTheEnd},
        {"1-ms pair reset while playing", 0.001f, 30.0f, AfterAReset},
    };
    for (const auto& row : rows) {
        Actor actor(0.0f, 0.0f, 0.0f);
        if (row.start == AfterTheEnd) {
            actor.queueMoveTo(0.5f, 0.0f, 0.0f, 0.0f, Linear);
            actor.loop = 0;
            actor.update(1.0f);
        }
        actor.queueMoveTo(row.keyframe, 10.0f, 0.0f, 0.0f, Eased);
        actor.queueMoveTo(row.keyframe, 0.0f, 0.0f, 0.0f, Eased);
        if (row.start == AfterAReset) {
            actor.update(row.keyframe * 0.5f);
            actor.reset();
        }
        SCOPED_TRACE(row.name);
        for (int i = 0; i < 20; ++i) {
            actor.update(row.dt);
            ASSERT_TRUE(finite(actor)) << "update " << i;
            ASSERT_LE(std::fabs(actor.position.x), 12.0f) << "update " << i;
        }
    }
}

TEST(ActorPlayback, AStepEndingExactlyWhereAKeyframeEndsIsSplitForTheShortOneAfterIt) {
    // Two seconds out to x = 20, then a tenth of a second back to 0, played once. Half-second
    // updates land exactly on the end of the long keyframe: that update may start the short
    // one, so it is taken in steps of the short one's size. Taken whole by the short
    // keyframe it would overshoot to about -60.
    Actor actor(0.0f, 0.0f, 0.0f);
    actor.queueMoveTo(2.0f, 20.0f, 0.0f, 0.0f, Linear);
    actor.queueMoveTo(0.1f, 0.0f, 0.0f, 0.0f, Linear);
    actor.loop = 0;
    for (int i = 0; i < 3; ++i) {
        actor.update(0.5f);
    }
    ASSERT_EQ(actor.current, 0);
    ASSERT_FLOAT_EQ(actor.position.x, 15.0f);

    actor.update(0.5f);
    EXPECT_GE(actor.position.x, 0.0f);
    EXPECT_LE(actor.position.x, 20.0f);

    actor.update(0.5f);
    EXPECT_EQ(actor.current, 1);
    EXPECT_NEAR(actor.position.x, 0.0f, 1e-3);
    EXPECT_EQ(actor.velocity[0].x, 0.0f) << "the list has played out";
}

TEST(ActorPlayback, AStallBeyondTheStepBudgetIsCutShort) {
    // Quarter-second steps through a looping pair of 1-s legs: 4096 of them cover 1024 s,
    // and the rest of a longer update is dropped rather than taken in one step.
    const auto loopingPair = [](Actor& actor) {
        actor.queueMoveTo(1.0f, 10.0f, 0.0f, 0.0f, Linear);
        actor.queueMoveTo(1.0f, 0.0f, 0.0f, 0.0f, Linear);
    };
    Actor stalled(0.0f, 0.0f, 0.0f);
    loopingPair(stalled);
    stalled.update(1024.5f);
    Actor budget(0.0f, 0.0f, 0.0f);
    loopingPair(budget);
    budget.update(1024.0f);
    EXPECT_EQ(stalled.position.x, budget.position.x);
    EXPECT_EQ(stalled.current, budget.current);
    budget.update(0.5f); // the dropped half second makes a difference when played
    EXPECT_NE(stalled.position.x, budget.position.x);
}

TEST(ActorPlayback, ShortStepsAreTakenWhole) {
    // Steps of up to a quarter of the keyframe are not divided: the stepwise law is as is.
    Actor whole(0.0f, 0.0f, 0.0f);
    whole.queueMoveTo(1.0f, 10.0f, 0.0f, 0.0f, Eased);
    whole.update(0.25f);
    EXPECT_FLOAT_EQ(whole.position.x, 28.571428f * 0.25f * 0.25f);
    // A longer one is: two quarter steps land where two separate updates would.
    Actor split(0.0f, 0.0f, 0.0f);
    split.queueMoveTo(1.0f, 10.0f, 0.0f, 0.0f, Eased);
    split.update(0.5f);
    Actor stepped(0.0f, 0.0f, 0.0f);
    stepped.queueMoveTo(1.0f, 10.0f, 0.0f, 0.0f, Eased);
    stepped.update(0.25f);
    stepped.update(0.25f);
    EXPECT_FLOAT_EQ(split.position.x, stepped.position.x);
    EXPECT_FLOAT_EQ(split.elapsed, 0.5f);
}

TEST(ActorKeyframes, ClearingEndsPlaybackButKeepsTheMotion) {
    Actor actor(0.0f, 0.0f, 0.0f);
    actor.queueMoveTo(1.0f, 10.0f, 0.0f, 0.0f, Linear);
    actor.queueMoveTo(1.0f, 0.0f, 0.0f, 0.0f, Linear);
    actor.clearKeyframes();
    EXPECT_TRUE(actor.keyframes.empty());
    EXPECT_EQ(actor.current, -1);
    EXPECT_EQ(actor.loop, 1);
    actor.update(0.1f);
    EXPECT_NEAR(actor.position.x, 1.0f, 1e-5);
}

TEST(ActorKeyframes, AnEditedSnapshotRestartedDrivesToTheEditedTarget) {
    Actor actor(0.0f, 0.0f, 0.0f);
    actor.setRotation(0.0f, 0.0f, 40.0f);
    Actor* target = actor.queueMoveTo(1.0f, 0.0f, 0.0f, 0.0f, Linear);
    target->setRotation(0.0f, 0.0f, 0.0f);
    actor.startKeyframe(0);
    for (int i = 0; i < 5; ++i) {
        actor.update(0.1f);
    }
    EXPECT_NEAR(actor.rotation.z, 20.0f, 1e-4);
}

TEST(ActorKeyframes, MoveToActorTargetsTheOthersWholeState) {
    Actor actor(0.0f, 0.0f, 0.0f);
    Actor other(10.0f, 0.0f, 0.0f);
    other.setColour(1.0f, 0.5f, 0.0f);
    actor.queueMoveToActor(1.0f, &other, Linear);
    other.setColour(0.0f, 0.0f, 0.0f);
    for (int i = 0; i < 5; ++i) {
        actor.update(0.1f);
    }
    EXPECT_NEAR(actor.position.x, 5.0f, 1e-4);
    EXPECT_NEAR(actor.colour.x, 0.5f, 1e-4);
    actor.queueMoveToActor(0.0f, &other, Linear);
    EXPECT_EQ(actor.position.x, 10.0f);
    EXPECT_EQ(actor.colour.x, 0.0f);
}

TEST(ActorSnapshot, CopiesStateButNotKeyframes) {
    Actor actor(1.0f, 2.0f, 3.0f);
    actor.queueMoveTo(1.0f, 9.0f, 0.0f, 0.0f, Eased);
    Actor copy(actor);
    EXPECT_TRUE(copy.keyframes.empty());
    EXPECT_EQ(copy.current, 0);
    EXPECT_EQ(copy.loop, 1);
    EXPECT_EQ(copy.acceleration[0].x, actor.acceleration[0].x);
    EXPECT_EQ(copy.homePosition.y, 2.0f);
}

} // namespace
} // namespace tessera
