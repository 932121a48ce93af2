#include "subs_fixture.h"

#include <sys/resource.h>

#include <chrono>

using subs_test::FakeClock;
using subs_test::SubsTest;

TEST_F(SubsTest, SleepWaitsTheGivenSecondsByTheTimeOfDay) {
    FakeClock clock(3600.25);
    vb::setClock(&clock);
    subs->cvSleep(7);
    EXPECT_NEAR(clock.secondsSinceMidnight(), 3607.25, 0.06);
    EXPECT_EQ(clock.zeroPauses, 0);
}

TEST_F(SubsTest, SleepOfZeroOrNothingIsOneSecondAndNegativeNone) {
    FakeClock clock(100);
    vb::setClock(&clock);
    subs->cvSleep();
    EXPECT_NEAR(clock.elapsed() - 1000, 1.0, 0.06);
    subs->cvSleep(0);
    EXPECT_NEAR(clock.elapsed() - 1000, 2.0, 0.12);
    const int pausesBefore = clock.pauses;
    subs->cvSleep(-5);  // a target already passed
    EXPECT_EQ(clock.pauses, pausesBefore);
}

TEST_F(SubsTest, SleepAcrossMidnightEndsAfterMidnight) {
    FakeClock clock(86399.0);
    vb::setClock(&clock);
    subs->cvSleep(2);
    EXPECT_GE(clock.secondsSinceMidnight(), 1.0);
    EXPECT_LT(clock.secondsSinceMidnight(), 1.1);
}

TEST_F(SubsTest, SleepEndingExactlyAtMidnightStillEnds) {
    // The time of day never exceeds 86400, the target of this wait.
    FakeClock clock(86399.0);
    vb::setClock(&clock);
    subs->cvSleep(1);
    EXPECT_NEAR(clock.elapsed() - 1000, 1.0, 0.06);
}

TEST_F(SubsTest, SleepEndsOnTimeWhenTheClockIsSetBack) {
    FakeClock clock(43200.0);
    clock.jumpAfterFirstPause = -3600;
    vb::setClock(&clock);
    subs->cvSleep(3);
    EXPECT_NEAR(clock.elapsed() - 1000, 3.0, 0.06);
}

TEST_F(SubsTest, RealSleepLeavesTheProcessorAlone) {
    auto cpuSeconds = [] {
        rusage usage {};
        getrusage(RUSAGE_SELF, &usage);
        return usage.ru_utime.tv_sec + usage.ru_stime.tv_sec + (usage.ru_utime.tv_usec + usage.ru_stime.tv_usec) / 1e6;
    };
    const double cpuBefore = cpuSeconds();
    const auto wallBefore = std::chrono::steady_clock::now();
    subs->cvSleep(1);
    const double wall = std::chrono::duration<double>(std::chrono::steady_clock::now() - wallBefore).count();
    EXPECT_GE(wall, 0.95);
    EXPECT_LT(wall, 1.5);
    EXPECT_LT(cpuSeconds() - cpuBefore, 0.25) << "the wait used the processor";
}
