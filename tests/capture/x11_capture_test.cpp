// The X11 capture on an X server of its own: keys and buttons injected with XTest, taken by the
// capture's thread and turned into lines by the recorder's rules, on a clock the test moves.

// GoogleTest before Xlib, whose macro None would break GoogleTest's own None.
#include <gtest/gtest.h>

#include <X11/Xlib.h>
#include <X11/Xutil.h>
#include <X11/extensions/XTest.h>
#include <X11/keysym.h>

#include <atomic>
#include <chrono>
#include <condition_variable>
#include <cstdlib>
#include <fstream>
#include <mutex>
#include <string>
#include <vector>

#include "buttons/linux_keys.h"
#include "capture/x11_raw_capture.h"
#include "macros/macro_recorder.h"
#include "macros/macro_token.h"

namespace velq {
namespace {

// The Xvfb that the test fixture started.
std::string TestDisplay() {
    std::ifstream in(VELQ_TEST_XVFB_FILE);
    std::string name;
    std::getline(in, name);
    return name;
}

// X keycodes of the physical keys (the kernel's codes + 8).
constexpr unsigned kKeyA = 30 + 8;
constexpr unsigned kKeyB = 48 + 8;
constexpr unsigned kKeyLeftShift = 42 + 8;

// A failure guard only: every wait ends as soon as its condition holds.
constexpr auto kGuard = std::chrono::seconds(10);

uint8_t ButtonBit(CapturedButton button) {
    switch (button) {
        case CapturedButton::kLeft:
            return kMacroButtonLeft;
        case CapturedButton::kRight:
            return kMacroButtonRight;
        case CapturedButton::kMiddle:
            return kMacroButtonMiddle;
        case CapturedButton::kForward:
            return kMacroButtonForward;
        case CapturedButton::kBackward:
            return kMacroButtonBackward;
    }
    return 0;
}

class X11CaptureTest : public ::testing::Test {
protected:
    void SetUp() override {
        display_name = TestDisplay();
        ASSERT_FALSE(display_name.empty()) << "no display in " << VELQ_TEST_XVFB_FILE;
        display = XOpenDisplay(display_name.c_str());
        ASSERT_NE(display, nullptr) << display_name;
        int event = 0;
        int error = 0;
        int major = 0;
        int minor = 0;
        ASSERT_TRUE(XTestQueryExtension(display, &event, &error, &major, &minor));
        capture = std::make_unique<X11RawCapture>(display_name, [this] { return now.load(); });
    }
    void TearDown() override {
        capture.reset();
        if (display != nullptr) {
            XCloseDisplay(display);
        }
    }

    void StartCapture() {
        std::string error;
        ASSERT_TRUE(capture->Start(
            [this](const CapturedEvent& event) {
                const std::lock_guard lock(mutex);
                EXPECT_FALSE(stopped.load()) << "an event after Stop returned";
                events.push_back(event);
                arrived.notify_all();
            },
            error))
            << error;
    }
    void Record(RecordingSetup setup = {}) {
        StartCapture();
        recorder.Start(setup, lines);
    }
    void Stop() {
        capture->Stop();
        stopped = true;
        TakeEvents();
        recorder.Stop();
    }

    // The window thread's share: the events taken so far go to the recorder, in order.
    void TakeEvents() {
        std::vector<CapturedEvent> taken;
        {
            const std::lock_guard lock(mutex);
            taken.assign(events.begin() + static_cast<std::ptrdiff_t>(given), events.end());
            given = events.size();
        }
        for (const CapturedEvent& event : taken) {
            RecorderInput input;
            input.press = event.press;
            input.time_ms = event.time_ms;
            if (event.kind == CapturedEvent::Kind::kKey) {
                input.usage = UsageOfLinuxKey(event.key_code);
                input.repeat = event.repeat;
            } else {
                input.kind = RecorderInput::Kind::kButton;
                input.button = ButtonBit(event.button);
            }
            recorder.Take(input, lines);
        }
    }

    // Waits until the capture has taken, after its first `from` events, one that `matches`.
    template <class Match>
    void WaitForEvent(std::size_t from, Match matches) {
        std::unique_lock lock(mutex);
        ASSERT_TRUE(arrived.wait_for(lock, kGuard, [&] {
            for (std::size_t i = from; i < events.size(); ++i) {
                if (matches(events[i])) {
                    return true;
                }
            }
            return false;
        })) << "the capture did not take the event";
    }
    std::size_t Taken() {
        const std::lock_guard lock(mutex);
        return events.size();
    }

    // One injected key or button change, taken before the test goes on.
    void Key(unsigned keycode, bool press) {
        const std::size_t from = Taken();
        XTestFakeKeyEvent(display, keycode, press ? True : False, CurrentTime);
        XSync(display, False);
        WaitForEvent(from, [&](const CapturedEvent& e) {
            return e.kind == CapturedEvent::Kind::kKey && e.press == press &&
                   e.key_code + 8u == keycode;
        });
        TakeEvents();
    }
    void Button(unsigned button, bool press) {
        const std::size_t from = Taken();
        XTestFakeButtonEvent(display, button, press ? True : False, CurrentTime);
        XSync(display, False);
        WaitForEvent(from, [&](const CapturedEvent& e) {
            return e.kind == CapturedEvent::Kind::kButton && e.press == press;
        });
        TakeEvents();
    }
    void Tap(unsigned keycode) {
        Key(keycode, true);
        Key(keycode, false);
    }

    std::string display_name;
    Display* display = nullptr;
    std::atomic<int64_t> now{50000};
    std::unique_ptr<X11RawCapture> capture;

    std::mutex mutex;
    std::condition_variable arrived;
    std::vector<CapturedEvent> events;
    std::size_t given = 0;
    std::atomic<bool> stopped{false};

    MacroRecorder recorder;
    MacroLines lines;
};

TEST_F(X11CaptureTest, AKeyPressedAndReleased300MsApart) {
    Record();
    Key(kKeyA, true);
    now += 300;
    Key(kKeyA, false);
    Stop();
    EXPECT_EQ(lines, (MacroLines{"10", "1 A CODE:8204", "0 300", "2 A CODE:0204"}));
}

TEST_F(X11CaptureTest, AHeldKeyIsRecordedOnce) {
    Record();
    Key(kKeyA, true);
    // The server's repeats of a held key, as XTest presses it again.
    for (int i = 0; i < 3; ++i) {
        now += 33;
        XTestFakeKeyEvent(display, kKeyA, True, CurrentTime);
    }
    XSync(display, False);
    now += 100;
    Key(kKeyA, false);
    Stop();
    EXPECT_EQ(lines, (MacroLines{"10", "1 A CODE:8204", "0 199", "2 A CODE:0204"}));
}

TEST_F(X11CaptureTest, ShiftAndAInTheOrderPressed) {
    RecordingSetup setup;
    setup.delay_mode = DelayMode::kNoDelay;
    setup.header_line = "00";
    Record(setup);
    Key(kKeyLeftShift, true);
    Tap(kKeyA);
    Key(kKeyLeftShift, false);
    Stop();
    EXPECT_EQ(lines, (MacroLines{"00", "1 Shift CODE:8102", "1 A CODE:8204", "2 A CODE:0204",
                                 "2 Shift CODE:0102"}));
}

TEST_F(X11CaptureTest, BackAndForwardButtonsAndNoWheel) {
    RecordingSetup setup;
    setup.delay_mode = DelayMode::kNoDelay;
    setup.header_line = "00";
    Record(setup);
    for (const unsigned wheel : {4u, 5u}) {  // the wheel's clicks are no buttons
        XTestFakeButtonEvent(display, wheel, True, CurrentTime);
        XTestFakeButtonEvent(display, wheel, False, CurrentTime);
    }
    Button(8, true);
    Button(8, false);
    Button(9, true);
    Button(9, false);
    Button(3, true);
    Button(3, false);
    Stop();
    EXPECT_EQ(lines, (MacroLines{"00", "1 Backward CODE:00B0", "2 Backward CODE:0030",
                                 "1 Forward CODE:00A8", "2 Forward CODE:0028",
                                 "1 RightKey CODE:00A2", "2 RightKey CODE:0022"}));
}

TEST_F(X11CaptureTest, KeysAreRecordedByPlaceWhateverTheLayout) {
    const std::string set_de = "setxkbmap -display " + display_name + " de 2>/dev/null";
    if (std::system(set_de.c_str()) != 0) {
        GTEST_SKIP() << "setxkbmap cannot set a German layout here";
    }
    // On a German layout Z sits where a US keyboard has Y.
    const KeyCode z = XKeysymToKeycode(display, XK_z);
    const std::string set_us = "setxkbmap -display " + display_name + " us";
    ASSERT_EQ(z, 21 + 8);
    RecordingSetup setup;
    setup.delay_mode = DelayMode::kNoDelay;
    setup.header_line = "00";
    Record(setup);
    Tap(z);
    Stop();
    EXPECT_EQ(std::system(set_us.c_str()), 0);
    EXPECT_EQ(lines, (MacroLines{"00", "1 Y CODE:821C", "2 Y CODE:021C"}));
}

TEST_F(X11CaptureTest, AFifteenSecondPauseBeforeAClickIsFiveDelayLines) {
    Record();
    Tap(kKeyA);
    now += 15000;
    Button(1, true);
    now += 15000;
    Key(kKeyB, true);
    Stop();
    EXPECT_EQ(lines,
              (MacroLines{"10", "1 A CODE:8204", "2 A CODE:0204", "0 2040", "0 2040", "0 2040",
                          "0 2040", "0 2040", "1 LeftKey CODE:00A1", "0 2040", "1 B CODE:8205"}));
    XTestFakeButtonEvent(display, 1, False, CurrentTime);
    XTestFakeKeyEvent(display, kKeyB, False, CurrentTime);
    XSync(display, False);
}

TEST_F(X11CaptureTest, AFixedDelayOf32MsBeforeEveryEventButTheFirst) {
    RecordingSetup setup;
    setup.delay_mode = DelayMode::kFixedDelay;
    setup.fixed_delay_ms = 32;
    setup.header_line = "0132";
    Record(setup);
    Tap(kKeyA);
    now += 1000;
    Button(3, true);
    Button(3, false);
    Stop();
    EXPECT_EQ(lines, (MacroLines{"0132", "1 A CODE:8204", "0 32", "2 A CODE:0204", "0 32",
                                 "1 RightKey CODE:00A2", "0 32", "2 RightKey CODE:0022"}));
}

TEST_F(X11CaptureTest, TheBudgetTakesTwentyThreePairsAndRefusesTheTwentyFourthPress) {
    Record();
    for (int pair = 0; pair < 23; ++pair) {
        now += 40;
        Key(pair % 2 == 0 ? kKeyA : kKeyB, true);
        now += 40;
        Key(pair % 2 == 0 ? kKeyA : kKeyB, false);
    }
    EXPECT_EQ(recorder.byte_count(), 182);
    const MacroLines full = lines;
    now += 40;
    Tap(kKeyA);
    Button(3, true);
    Button(3, false);
    EXPECT_TRUE(recorder.recording());  // taking nothing until the user stops it
    Stop();
    EXPECT_EQ(lines, full);
    EXPECT_EQ(lines.size(), 1u + 46u + 45u);
}

TEST_F(X11CaptureTest, StopWaitsForTheCaptureAndNothingComesAfterIt) {
    Record();
    // A burst the capture is still taking while the stop comes; it stays within the byte budget
    // (a click is two one-byte tokens), so every event taken becomes a line and none is refused
    // for want of room.
    for (int i = 0; i < 80; ++i) {
        XTestFakeButtonEvent(display, 3, True, CurrentTime);
        XTestFakeButtonEvent(display, 3, False, CurrentTime);
    }
    XFlush(display);
    Stop();
    const MacroLines at_stop = lines;
    std::size_t taken = 0;
    {
        const std::lock_guard lock(mutex);
        taken = events.size();
    }
    // The lines hold exactly the events taken before the stop, in order.
    ASSERT_EQ(at_stop.size(), taken + 1);
    for (std::size_t i = 1; i < at_stop.size(); ++i) {
        EXPECT_EQ(at_stop[i], i % 2 == 1 ? "1 RightKey CODE:00A2" : "2 RightKey CODE:0022") << i;
    }
    for (int i = 0; i < 20; ++i) {
        XTestFakeButtonEvent(display, 3, True, CurrentTime);
        XTestFakeButtonEvent(display, 3, False, CurrentTime);
    }
    XSync(display, False);
    TakeEvents();
    EXPECT_EQ(lines, at_stop);
    const std::lock_guard lock(mutex);
    EXPECT_EQ(events.size(), taken);
}

TEST_F(X11CaptureTest, InsertRecordingBeforeAndAfterALine) {
    const MacroLines stored{"00", "1 Z CODE:821D", "2 Z CODE:021D"};
    for (const InsertPlace place : {InsertPlace::kBefore, InsertPlace::kAfter}) {
        lines = stored;
        RecordingSetup setup;
        setup.kind = RecordingKind::kInsert;
        setup.delay_mode = DelayMode::kNoDelay;
        setup.byte_count = 4;
        setup.insert_item = 1;
        setup.place = place;
        stopped = false;
        Record(setup);
        Tap(kKeyA);
        Stop();
        const MacroLines expected = place == InsertPlace::kBefore
                                        ? MacroLines{"00", "1 Z CODE:821D", "1 A CODE:8204",
                                                     "2 A CODE:0204", "2 Z CODE:021D"}
                                        : MacroLines{"00", "1 Z CODE:821D", "2 Z CODE:021D",
                                                     "1 A CODE:8204", "2 A CODE:0204"};
        EXPECT_EQ(lines, expected);
    }
}

TEST_F(X11CaptureTest, TheCaptureOnlyObservesTheClickStillReachesItsWindow) {
    const Window window =
        XCreateSimpleWindow(display, DefaultRootWindow(display), 0, 0, 200, 200, 0, 0, 0);
    XSelectInput(display, window, ButtonPressMask | ButtonReleaseMask | ExposureMask);
    XMapRaised(display, window);
    XSync(display, False);
    XTestFakeMotionEvent(display, -1, 50, 50, CurrentTime);
    XSync(display, False);
    Record();
    Button(3, true);
    Button(3, false);
    Stop();
    EXPECT_EQ(lines, (MacroLines{"10", "1 RightKey CODE:00A2", "2 RightKey CODE:0022"}));
    bool pressed = false;
    bool released = false;
    XEvent event;
    while (XCheckWindowEvent(display, window, ButtonPressMask | ButtonReleaseMask, &event)) {
        pressed |= event.type == ButtonPress && event.xbutton.button == 3;
        released |= event.type == ButtonRelease && event.xbutton.button == 3;
    }
    EXPECT_TRUE(pressed);
    EXPECT_TRUE(released);
    XDestroyWindow(display, window);
    XSync(display, False);
}

}  // namespace
}  // namespace velq
