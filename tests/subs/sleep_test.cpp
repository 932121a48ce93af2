#include "subs_fixture.h"

#include <sys/resource.h>

#include <chrono>

using subs_test::FakeClock;
using subs_test::SubsTest;

// The wait goes by the time of day, which wraps at midnight (and never
// exceeds 86400, the target of a wait that ends there) and can be set back.
TEST_F(SubsTest, SleepWaitsTheGivenSecondsByTheTimeOfDay) {
    struct Case {
        double start, jump;
        int seconds;
        double waited;
    };
    for (const Case& c : {Case{3600.25, 0, 7, 7}, Case{86399, 0, 2, 2}, Case{86399, 0, 1, 1},
                          Case{43200, -3600, 3, 3}, Case{100, 0, 0, 1}}) {
        FakeClock clock(c.start);
        clock.jumpAfterFirstPause = c.jump;
        vb::setClock(&clock);
        subs->cvSleep(c.seconds);
        EXPECT_NEAR(clock.elapsed() - 1000, c.waited, 0.06) << c.start << " + " << c.seconds;
        EXPECT_EQ(clock.zeroPauses, 0);
    }
    FakeClock clock(100);
    vb::setClock(&clock);
    subs->cvSleep();  // nothing given: one second
    EXPECT_NEAR(clock.elapsed() - 1000, 1.0, 0.06);
    const int pausesBefore = clock.pauses;
    subs->cvSleep(-5);  // a target already passed
    EXPECT_EQ(clock.pauses, pausesBefore);
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
