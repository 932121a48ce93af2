// Shared set-up of the clsSubs1 tests: a fresh object through the library's
// factory, a scripted UI that also notes what the clipboard held when each
// message box was shown, and a clock the test controls.
#pragma once

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "clsSubs1.h"
#include "vb/scripted_ui.h"
#include "vb/timer.h"

namespace subs_test {

// Notes the clipboard at the moment each box is shown.
class ClipboardWatchingUi : public vb::ScriptedUi {
public:
    std::vector<std::string> clipboardAtBox;
    int msgBox(const std::string& prompt, int style, const std::string& title) override {
        clipboardAtBox.push_back(clipboard);
        return ScriptedUi::msgBox(prompt, style, title);
    }
};

// A time of day that moves only when the code under test pauses. The time
// of day wraps at midnight; `jumpAfterFirstPause` moves it once, as a user
// setting the machine's clock would.
class FakeClock : public vb::Clock {
public:
    explicit FakeClock(double startSecondsSinceMidnight) : timeOfDay_(startSecondsSinceMidnight) {}
    double secondsSinceMidnight() override { return timeOfDay_; }
    double monotonicSeconds() override { return monotonic_; }
    void pause(double seconds) override {
        ++pauses;
        if (seconds <= 0) zeroPauses++;
        monotonic_ += seconds;
        timeOfDay_ += seconds;
        if (pauses == 1) timeOfDay_ += jumpAfterFirstPause;
        while (timeOfDay_ >= 86400) timeOfDay_ -= 86400;
        while (timeOfDay_ < 0) timeOfDay_ += 86400;
    }
    double elapsed() const { return monotonic_; }

    double jumpAfterFirstPause = 0;
    int pauses = 0;
    int zeroPauses = 0;

private:
    double timeOfDay_;
    double monotonic_ = 1000;
};

class SubsTest : public ::testing::Test {
protected:
    void SetUp() override { vb::setUi(&ui); }
    void TearDown() override {
        vb::setUi(nullptr);
        vb::setClock(nullptr);
    }

    std::unique_ptr<clsSubs1> subs = createClsSubs1();
    ClipboardWatchingUi ui;
};

}  // namespace subs_test
