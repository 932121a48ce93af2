#include "busy_wait.h"

#include <algorithm>

namespace subs {

namespace {

constexpr double kSecondsPerDay = 86400.0;
// Long enough to leave the processor alone, short enough to end on time.
constexpr double kLongestPause = 0.05;
constexpr double kShortestPause = 0.001;

}  // namespace

void waitByTimeOfDay(double seconds, vb::Clock& clock) {
    const double start = clock.secondsSinceMidnight();
    const double monotonicEnd = clock.monotonicSeconds() + std::max(seconds, 0.0);
    auto overdue = [&] { return clock.monotonicSeconds() >= monotonicEnd; };
    auto pauseAtMost = [&](double wanted) {
        const double left = monotonicEnd - clock.monotonicSeconds();
        clock.pause(std::clamp(std::min(wanted, left), kShortestPause, kLongestPause));
    };

    if (start + seconds <= kSecondsPerDay) {
        const double target = start + seconds;
        for (double now = start; !(now > target) && !overdue(); now = clock.secondsSinceMidnight())
            pauseAtMost(target - now);
        return;
    }
    const double end = start + seconds - kSecondsPerDay;
    // First midnight: the time of day falls below the start.
    for (double now = start; !(now < start) && !overdue(); now = clock.secondsSinceMidnight())
        pauseAtMost(kSecondsPerDay - now);
    for (double now = clock.secondsSinceMidnight(); !(now > end) && !overdue(); now = clock.secondsSinceMidnight())
        pauseAtMost(end - now);
}

}  // namespace subs
