#include "frame_pacer.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <vector>

namespace {

constexpr std::int64_t NS_PER_SECOND = 1'000'000'000;
constexpr std::int64_t MS = 1'000'000;
constexpr std::int64_t US = 1'000;
constexpr std::int64_t PERIOD_60 = NS_PER_SECOND / 60;
constexpr float SIXTIETH = 1.0f / 60.0f;

// A clock in nanoseconds where reading it costs a microsecond (so a spin
// loop moves time along) and every sleep wakes up late, as real ones do.
struct FakeClock {
    std::int64_t now = 5 * NS_PER_SECOND;
    std::int64_t readCost = 1 * US;
    std::int64_t oversleep = 80 * US;
    std::int64_t lastWake = 0;
    std::int64_t slept = 0;
};

std::int64_t ReadFakeClock(void *context) {
    auto *clock = static_cast<FakeClock *>(context);
    clock->now += clock->readCost;
    return clock->now;
}

void SleepOnFakeClock(void *context, std::int64_t ticks) {
    auto *clock = static_cast<FakeClock *>(context);
    clock->now += ticks + clock->oversleep;
    clock->slept += ticks;
    clock->lastWake = clock->now;
}

class PacedLoop : public ::testing::Test {
  protected:
    FakeClock clock;
    FramePacer pacer;
    PacerClock pacerClock{NS_PER_SECOND, ReadFakeClock, SleepOnFakeClock, &clock};

    void Start(int fps) {
        StartFramePacer(pacer, NS_PER_SECOND, clock.now);
        SetFramePacerTarget(pacer, fps, clock.now);
    }

    // The game spends `work` drawing, then EndDrawing holds the pace.
    std::int64_t RunFrame(std::int64_t work) {
        clock.now += work;
        return HoldFramePace(pacer, pacerClock);
    }
};

TEST_F(PacedLoop, OnPaceEveryFrameReportsExactlyTheTargetPeriod) {
    Start(60);
    const std::int64_t start = clock.now;
    for (int frame = 0; frame < 600; ++frame) {
        RunFrame(5 * MS);
        ASSERT_EQ(pacer.frameTime, SIXTIETH) << "frame " << frame;
    }
    // Deadlines are absolute: ten seconds of 80 us oversleeps do not add up.
    EXPECT_NEAR(static_cast<double>(clock.now - start), 10.0 * NS_PER_SECOND, 0.2 * MS);
}

// The fastest level steps every 1/15 s; four reported frames must reach it.
TEST_F(PacedLoop, FourOnPaceFramesReachAFifteenthOfASecond) {
    Start(60);
    float moveTimer = 0.0f;
    for (int frame = 0; frame < 4; ++frame) {
        RunFrame(2 * MS);
        moveTimer += pacer.frameTime;
    }
    EXPECT_GE(moveTimer, 0.06666667f);
}

TEST_F(PacedLoop, LateWakeUpsAreMadeUpByTheFollowingFrames) {
    Start(60);
    clock.oversleep = 2 * MS;
    const std::int64_t start = clock.now;
    for (int frame = 0; frame < 60; ++frame) {
        RunFrame(4 * MS);
        ASSERT_EQ(pacer.frameTime, SIXTIETH) << "frame " << frame;
    }
    EXPECT_NEAR(static_cast<double>(clock.now - start), 1.0 * NS_PER_SECOND, 2.2 * MS);
}

TEST_F(PacedLoop, AStallIsReportedAsItWasAndPacingRestartsAfterIt) {
    Start(60);
    for (int frame = 0; frame < 10; ++frame) {
        RunFrame(5 * MS);
    }
    const std::int64_t stallEnd = RunFrame(NS_PER_SECOND);
    EXPECT_NEAR(pacer.frameTime, 1.0f, 0.001f);

    // No burst of catch-up frames: the next frame takes a whole period again.
    const std::int64_t nextEnd = RunFrame(5 * MS);
    EXPECT_EQ(pacer.frameTime, SIXTIETH);
    EXPECT_NEAR(static_cast<double>(nextEnd - stallEnd), static_cast<double>(PERIOD_60), 0.2 * MS);
}

TEST_F(PacedLoop, WaitsMostlyAsleepAndSpinsUnderAMillisecond) {
    Start(60);
    for (int frame = 0; frame < 120; ++frame) {
        const std::int64_t sleptBefore = clock.slept;
        const std::int64_t frameEnd = RunFrame(3 * MS);
        EXPECT_LT(frameEnd - clock.lastWake, 1 * MS) << "spun too long in frame " << frame;
        EXPECT_GT(clock.slept - sleptBefore, PERIOD_60 - 3 * MS - 1 * MS) << "frame " << frame;
    }
}

// A clock whose sleeps always wake 0.4 ms late: once the spin window has
// widened to cover that, frames end on their deadlines, not after them.
TEST_F(PacedLoop, SleepsThatWakeLateStillEndFramesOnTheirDeadlines) {
    Start(60);
    clock.oversleep = 400 * US;
    for (int frame = 0; frame < 120; ++frame) {
        clock.now += 4 * MS;
        const std::int64_t deadline = FrameDeadline(pacer);
        const std::int64_t frameEnd = HoldFramePace(pacer, pacerClock);
        if (frame >= 10) {
            EXPECT_GE(frameEnd, deadline);
            EXPECT_LE(frameEnd - deadline, 3 * US) << "frame " << frame;
            EXPECT_LT(frameEnd - clock.lastWake, 1 * MS) << "frame " << frame;
        }
    }
}

// On a quiet machine the spin shrinks to little more than the usual lateness.
TEST_F(PacedLoop, PunctualSleepsNarrowTheSpin) {
    Start(60);
    clock.oversleep = 50 * US;
    for (int frame = 0; frame < 300; ++frame) {
        RunFrame(4 * MS);
    }
    const std::int64_t frameEnd = RunFrame(4 * MS);
    EXPECT_LT(frameEnd - clock.lastWake, 250 * US);
}

// When every frame overruns, the game must still see the real passage of
// time in total, or the snake would slow down with the machine.
TEST_F(PacedLoop, ASlowMachineLosesNoGameTime) {
    Start(60);
    const std::int64_t start = clock.now;
    double reported = 0.0;
    for (int frame = 0; frame < 120; ++frame) {
        RunFrame(25 * MS);
        reported += pacer.frameTime;
    }
    const double elapsed = static_cast<double>(clock.now - start) / NS_PER_SECOND;
    EXPECT_NEAR(reported, elapsed, 1.0 / 60.0);
}

TEST_F(PacedLoop, WithoutATargetFramesRunBackToBackAndReportTheirDuration) {
    Start(0);
    RunFrame(3 * MS);
    EXPECT_NEAR(pacer.frameTime, 0.003f, 0.0001f);
    EXPECT_EQ(clock.slept, 0);
}

}  // namespace
