#include "vb/timer.h"

#include <QCoreApplication>
#include <QEventLoop>

#include <algorithm>
#include <chrono>
#include <ctime>
#include <thread>

namespace vb {

namespace {

class SystemClock : public Clock {
public:
    double secondsSinceMidnight() override {
        const auto now = std::chrono::system_clock::now();
        const std::time_t whole = std::chrono::system_clock::to_time_t(now);
        std::tm local {};
        localtime_r(&whole, &local);
        const auto sinceWhole = now - std::chrono::system_clock::from_time_t(whole);
        const double fraction = std::chrono::duration<double>(sinceWhole).count();
        return std::clamp(local.tm_hour * 3600.0 + local.tm_min * 60.0 + local.tm_sec + fraction, 0.0,
                          86399.999);
    }

    double monotonicSeconds() override {
        return std::chrono::duration<double>(std::chrono::steady_clock::now().time_since_epoch()).count();
    }

    void pause(double seconds) override {
        // Short slices: paint and timer events are served between them, user
        // input is held back until the wait is over.
        using Steady = std::chrono::steady_clock;
        const Steady::time_point end =
            Steady::now() + std::chrono::duration_cast<Steady::duration>(std::chrono::duration<double>(std::max(seconds, 0.0)));
        for (;;) {
            if (QCoreApplication::instance())
                QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
            const auto now = Steady::now();
            if (now >= end) return;
            std::this_thread::sleep_for(std::min<Steady::duration>(end - now, std::chrono::milliseconds(20)));
        }
    }
};

Clock* g_installed = nullptr;

}  // namespace

Clock& activeClock() {
    static SystemClock system;
    return g_installed ? *g_installed : system;
}

void setClock(Clock* replacement) { g_installed = replacement; }

double Timer() { return activeClock().secondsSinceMidnight(); }

}  // namespace vb
