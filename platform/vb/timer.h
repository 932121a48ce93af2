// VB's Timer (seconds since midnight) and the clock behind it. Code that
// waits reads the time through activeClock() so that a test can install a clock
// of its own and cross midnight without waiting for it.
#pragma once

namespace vb {

class Clock {
public:
    virtual ~Clock() = default;
    // Local time of day in seconds since midnight, with fractions: [0, 86400).
    virtual double secondsSinceMidnight() = 0;
    // Seconds from an arbitrary start that never go back (unlike the time of
    // day, which jumps at midnight, at clock changes and when set by hand).
    virtual double monotonicSeconds() = 0;
    // Lets about `seconds` pass without using the processor. The system clock
    // keeps the program's windows painted meanwhile (timers and paints run,
    // clicks and keys wait), so a long wait never looks like a hung program.
    virtual void pause(double seconds) = 0;
};

// The clock in force: the system's, unless a test installed another.
Clock& activeClock();
// Installs `replacement` (not owned), or the system clock again with nullptr.
void setClock(Clock* replacement);

// VB's Timer function.
double Timer();

}  // namespace vb
