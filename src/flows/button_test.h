#pragma once

#include <array>
#include <cstdint>
#include <optional>

#include "device/clock.h"
#include "device/command_protocol.h"

namespace velq {

// A button of the mouse that the button test shows: its bit in the mask PollButtons answers,
// and the on-screen button of the factory page's office column (1..9) that blinks for it.
struct TestedButton {
    uint16_t mask;
    int key;
};

// In the order they blink when held together. The other bits (0x0040, 0x0080, 0x0800 up) are
// not shown.
inline constexpr std::array<TestedButton, 9> kTestedButtons = {{{0x0001, 1},
                                                                {0x0002, 2},
                                                                {0x0004, 3},
                                                                {0x0008, 4},
                                                                {0x0010, 5},
                                                                {0x0020, 6},
                                                                {0x0100, 7},
                                                                {0x0200, 8},
                                                                {0x0400, 9}}};

// The test's timer (`TestTimer`) ticks once a second; after a blink the countdown shows
// kTestCountdownFrom ... 0 and the tick that shows 0 ends the test.
inline constexpr int kTestTickMs = 1000;
inline constexpr int kTestCountdownFrom = 5;
// A blink hides the button, shows it, hides and shows it again, this long apart.
inline constexpr int kBlinkStepMs = 500;

// What the test shows while it runs, asked on the thread that runs it.
class ButtonTestUi {
public:
    virtual ~ButtonTestUi() = default;
    // The test button's caption: the seconds left ("5..." .. "0..."), or its own name.
    virtual void ShowTestCountdown(std::optional<int> seconds) = 0;
    // On-screen button `key` (1..9) hidden or shown again.
    virtual void ShowTestedKey(int key, bool shown) = 0;
    // The test is to end now (the window is closing).
    virtual bool TestEndRequested() = 0;
};

enum class ButtonTestEnd {
    kQuiet,      // six ticks in a row without a blink
    kStopped,    // TestEndRequested
    kMouseGone,  // the mouse was unplugged (or none is open)
};

// The factory button test (`btn_TestKeysClick`, `TPrimeThread`, `TestTimerTimer`) as one run on
// the thread that talks to the mouse: it owns the device channel from Open to Close, so no other
// exchange can come between its polls. The timer's ticks are counted on the same clock as the
// polls and blinks, so the countdown and the blinks keep their order whatever the clock.
class ButtonTest {
public:
    ButtonTest(CommandProtocol& protocol, Clock& clock, ButtonTestUi& ui)
        : protocol_(protocol), clock_(clock), ui_(ui) {}

    // Open (its answer does not matter), polls and blinks until the test ends, then Reload and
    // Close while the mouse is there. Every button it hid is shown again.
    ButtonTestEnd Run();

private:
    void Blink(int key);
    // Waits `ms`, running the ticks that fall due; false once the test is to end.
    bool Wait(int ms);
    void RunDueTicks();
    void Tick();
    bool MouseGone();

    CommandProtocol& protocol_;
    Clock& clock_;
    ButtonTestUi& ui_;
    int countdown_ = 0;
    bool blinking_ = false;  // `TestBlinking`: a tick during a blink starts the countdown again
    int64_t next_tick_ms_ = 0;
    std::optional<ButtonTestEnd> end_;
};

}  // namespace velq
