// The wait of cvSleep: by the seconds-since-midnight clock, the way the
// routine has always measured it, across midnight when the wait crosses it.
#pragma once

#include "vb/timer.h"

namespace subs {

// Waits `seconds` by `clock`'s time of day. Ends as well once `seconds`
// have passed on the monotonic clock: the time of day alone never reaches a
// target of exactly 86400 (midnight) and goes back when the clock is set
// back, either of which would otherwise hold the program forever.
void waitByTimeOfDay(double seconds, vb::Clock& clock);

}  // namespace subs
