#include "flows/button_test.h"

#include <algorithm>

namespace velq {
namespace {

// A wait is cut into slices this long, so that closing the window ends a test within one.
constexpr int kWaitSliceMs = 50;

}  // namespace

ButtonTestEnd ButtonTest::Run() {
    countdown_ = 0;
    blinking_ = false;
    end_.reset();
    if (MouseGone()) {
        return ButtonTestEnd::kMouseGone;
    }
    (void)protocol_.SendCommand(Command::kOpen);
    next_tick_ms_ = clock_.NowMs() + kTestTickMs;
    while (!end_) {
        if (ui_.TestEndRequested()) {
            end_ = ButtonTestEnd::kStopped;
            break;
        }
        if (MouseGone()) {
            end_ = ButtonTestEnd::kMouseGone;
            break;
        }
        const uint16_t held = protocol_.PollButtons();
        RunDueTicks();
        for (const TestedButton& button : kTestedButtons) {
            if (end_) {
                break;
            }
            if ((held & button.mask) != 0) {
                Blink(button.key);
            }
        }
    }
    if (*end_ != ButtonTestEnd::kMouseGone) {
        (void)protocol_.SendCommand(Command::kReload);
        (void)protocol_.SendCommand(Command::kClose);
    }
    return *end_;
}

void ButtonTest::Blink(int key) {
    blinking_ = true;
    // Hidden, shown, hidden, each for a step, then shown: a blink cut short by the end of the
    // test still leaves the button shown.
    for (int step = 0; step < 3; ++step) {
        ui_.ShowTestedKey(key, step % 2 == 1);
        if (!Wait(kBlinkStepMs)) {
            break;
        }
    }
    ui_.ShowTestedKey(key, true);
    blinking_ = false;
}

bool ButtonTest::Wait(int ms) {
    const int64_t until = clock_.NowMs() + ms;
    for (;;) {
        if (end_) {
            return false;
        }
        if (ui_.TestEndRequested()) {
            end_ = ButtonTestEnd::kStopped;
            return false;
        }
        const int64_t now = clock_.NowMs();
        if (now >= until) {
            return true;
        }
        const int64_t step =
            std::min({until - now, next_tick_ms_ - now, static_cast<int64_t>(kWaitSliceMs)});
        clock_.SleepMs(static_cast<int>(std::max<int64_t>(step, 0)));
        RunDueTicks();
    }
}

void ButtonTest::RunDueTicks() {
    while (!end_ && clock_.NowMs() >= next_tick_ms_) {
        next_tick_ms_ += kTestTickMs;
        Tick();
    }
}

void ButtonTest::Tick() {
    if (blinking_) {
        ui_.ShowTestCountdown(std::nullopt);
        countdown_ = 0;
        return;
    }
    ui_.ShowTestCountdown(kTestCountdownFrom - countdown_);
    if (countdown_ == kTestCountdownFrom) {
        end_ = ButtonTestEnd::kQuiet;
        return;
    }
    ++countdown_;
}

bool ButtonTest::MouseGone() {
    const HidDevice* device = protocol_.Link().Device();
    return device == nullptr || device->Gone();
}

}  // namespace velq
