#include "stage/clock.h"
#include "stage/stage.h"

#include <gtest/gtest.h>

namespace tessera {
namespace {

class StageClock : public ::testing::Test {
protected:
    void SetUp() override { Stage::instance()->setClock(&clock); }
    void TearDown() override { Stage::instance()->setClock(nullptr); }
    VirtualClock clock;
};

TEST_F(StageClock, ThereIsOneStage) {
    EXPECT_EQ(Stage::instance(), Stage::instance());
}

TEST_F(StageClock, ElapsedStepsAddUpToTheTimeBetween) {
    Stage* stage = Stage::instance();
    stage->elapsed();
    EXPECT_EQ(stage->elapsed(), 0.0);
    double sum = 0.0;
    for (double step : {0.25, 0.5, 1.0 / 60.0, 2.0}) {
        clock.advance(step);
        const double got = stage->elapsed();
        EXPECT_NEAR(got, step, 1e-9);
        sum += got;
    }
    EXPECT_NEAR(sum, 2.75 + 1.0 / 60.0, 1e-9);
}

TEST_F(StageClock, NowDoesNotDisturbElapsed) {
    Stage* stage = Stage::instance();
    stage->elapsed();
    const double start = stage->now();
    clock.advance(1.5);
    EXPECT_NEAR(stage->now() - start, 1.5, 1e-9);
    EXPECT_NEAR(stage->elapsed(), 1.5, 1e-9);
}

TEST(StageRealClock, MeasuresWallTimeMonotonically) {
    Stage* stage = Stage::instance();
    const double a = stage->now();
    const double b = stage->now();
    EXPECT_GE(b, a);
    EXPECT_GT(stage->secondsPerTick, 0.0);
}

TEST(StageDefaults, LightsAndRegistry) {
    Stage* stage = Stage::instance();
    EXPECT_EQ(stage->light0Enabled, 1);
    EXPECT_EQ(stage->light0Position[2], 200.0f);
    EXPECT_EQ(stage->lightModelAmbient[0], 0.2f);
    EXPECT_GE(stage->textures.capacity(), 64u);
}

} // namespace
} // namespace tessera
