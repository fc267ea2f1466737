#include <QApplication>
#include <QPushButton>

#include <algorithm>
#include <condition_variable>
#include <cstdint>
#include <limits>
#include <mutex>
#include <set>
#include <string>
#include <vector>

#include "gui_flows/gui_flows_fixture.h"

namespace velq::ui::testing {
namespace {

// Virtual time that the test lets run up to a point: a sleep that would end past it waits
// until the test moves the point on, so the window can be looked at in between, at a known
// moment of the device side's time.
class GatedClock final : public Clock {
public:
    int64_t NowMs() const override {
        std::lock_guard lock(mutex_);
        return now_;
    }
    void SleepMs(int ms) override {
        std::unique_lock lock(mutex_);
        const int64_t until = now_ + std::max(ms, 0);
        if (until > limit_) {
            held_at_ = limit_;
            changed_.wait(lock, [&] { return until <= limit_; });
        }
        now_ = std::max(now_, until);
    }
    // No sleep ends past `ms` from now on (until the next call).
    void RunTo(int64_t ms) {
        {
            std::lock_guard lock(mutex_);
            limit_ = ms;
            held_at_ = -1;
        }
        changed_.notify_all();
    }
    void RunFree() { RunTo(std::numeric_limits<int64_t>::max()); }
    // A sleep waits at the current point.
    bool Held() const {
        std::lock_guard lock(mutex_);
        return held_at_ == limit_;
    }

private:
    mutable std::mutex mutex_;
    std::condition_variable changed_;
    int64_t now_ = 0;
    int64_t limit_ = std::numeric_limits<int64_t>::max();
    int64_t held_at_ = -1;
};

// What the factory page showed at a moment of the test.
struct Sample {
    int64_t ms;  // since the test began
    QString caption;
    std::set<int> hidden;  // office column buttons hidden (1..9)
};

// The factory button test through the real window on the virtual mouse, in virtual time: the
// test steps the device side's clock and looks at the page between the steps.
class ButtonTestGuiTest : public GuiFlowsTest {
protected:
    void StartOnFactoryPage() {
        DeviceControllerParts parts;
        parts.window = rig.window.get();
        parts.loading = loading.get();
        parts.messages = &rig.messages;
        parts.files = &rig.files;
        parts.backend = backend.get();
        parts.clock = &gated;
        controller = std::make_unique<DeviceController>(std::move(parts));
        QString error;
        ASSERT_TRUE(controller->Start(error)) << error.toStdString();
        ASSERT_TRUE(WaitFor([&] { return !rig.window->no_device_page(); }));
        rig.window->EngineerUnlock();
        rig.window->ClickTab(Page::kEngineering);
        ASSERT_TRUE(WaitFor([&] { return !controller->Busy(); }));  // the fire area's read
        rig.messages.Clear();
        mouse->ClearRequests();
    }

    // Clicks the test button with the device side's time held where it is.
    void StartTest() {
        begun = gated.NowMs();
        gated.RunTo(begun);
        rig.Click("btn_TestKeys");
        ASSERT_TRUE(WaitFor([&] { return controller->Busy() && gated.Held(); }));
    }

    // Lets the test run to `ms` after its start and the window act on what it showed.
    Sample StepTo(int64_t ms) {
        gated.RunTo(begun + ms);
        EXPECT_TRUE(WaitFor([&] { return gated.Held() || !controller->Busy(); })) << ms;
        QApplication::processEvents();
        QApplication::processEvents();
        Sample sample{ms, Text("btn_TestKeys"), {}};
        for (int key = 1; key <= 9; ++key) {
            const std::string name =
                "btn_Key1" + std::string(key < 10 ? "0" : "") + std::to_string(key);
            if (rig.Control(name.c_str())->isHidden()) {
                sample.hidden.insert(key);
            }
        }
        return sample;
    }

    std::vector<Sample> StepThrough(int64_t from, int64_t to, int64_t step) {
        std::vector<Sample> samples;
        for (int64_t ms = from; ms <= to; ms += step) {
            samples.push_back(StepTo(ms));
        }
        return samples;
    }

    // Lets the test end by itself; the virtual time it took from its start.
    int64_t RunToEnd() {
        gated.RunFree();
        EXPECT_TRUE(WaitFor([&] { return !controller->Busy(); }));
        return gated.NowMs() - begun;
    }

    // The runs of a button's state over the samples: how many samples in a row it was hidden,
    // shown, hidden ... (starting with shown).
    static std::vector<int> Runs(const std::vector<Sample>& samples, int key) {
        std::vector<int> runs{0};
        bool hidden = false;
        for (const Sample& s : samples) {
            if ((s.hidden.count(key) > 0) != hidden) {
                hidden = !hidden;
                runs.push_back(0);
            }
            ++runs.back();
        }
        return runs;
    }

    GatedClock gated;
    int64_t begun = 0;
};

const QString kTestKeys = QStringLiteral("Test Keys Position");

// Nothing pressed: the caption counts down once a second, the device timer stays off while the
// test runs, and the test ends by itself six seconds in with the device timer running again.
TEST_F(ButtonTestGuiTest, WithoutAPressTheCountdownRunsOutAndTheDeviceTimerRunsAgain) {
    StartOnFactoryPage();
    StartTest();
    EXPECT_FALSE(rig.Control("btn_TestKeys")->isEnabled());
    EXPECT_FALSE(controller->DevTimerActive());
    std::vector<QString> captions;
    for (int second = 1; second <= 5; ++second) {
        captions.push_back(StepTo(second * 1000 + 50).caption);
    }
    EXPECT_EQ(captions, (std::vector<QString>{QStringLiteral("5..."), QStringLiteral("4..."),
                                              QStringLiteral("3..."), QStringLiteral("2..."),
                                              QStringLiteral("1...")}));
    EXPECT_FALSE(controller->DevTimerActive());
    const int64_t took = RunToEnd();
    EXPECT_GE(took, 6000);
    EXPECT_LT(took, 6100);
    EXPECT_EQ(Text("btn_TestKeys"), kTestKeys);
    EXPECT_TRUE(rig.Control("btn_TestKeys")->isEnabled());
    EXPECT_TRUE(controller->DevTimerActive());
    EXPECT_EQ(mouse->CountRequests(Command::kOpen), 1);
    EXPECT_EQ(mouse->CountRequests(Command::kReload), 1);
    EXPECT_EQ(mouse->Requests().back()[1], static_cast<uint8_t>(Command::kClose));
    EXPECT_TRUE(rig.messages.messages().empty());
}

// The left button pressed: btn_Key101 is hidden and shown twice, 500 ms apart, the tick
// during the blink shows the button's name, and the countdown starts again after it.
TEST_F(ButtonTestGuiTest, ALeftPressBlinksTheFirstButtonTwiceAndRestartsTheCountdown) {
    StartOnFactoryPage();
    StartTest();
    EXPECT_EQ(StepTo(1050).caption, QStringLiteral("5..."));
    mouse->SetButtonsHeld(0x0001);
    const Sample pressed = StepTo(1100);
    mouse->SetButtonsHeld(0);
    EXPECT_EQ(pressed.hidden, std::set<int>{1});
    std::vector<Sample> samples{pressed};
    for (const Sample& s : StepThrough(1200, 3000, 100)) {
        samples.push_back(s);
    }
    // Samples from 1100 on, 100 ms apart: hidden 500 ms, shown 500 ms, hidden 500 ms, shown.
    EXPECT_EQ(Runs(samples, 1), (std::vector<int>{0, 5, 5, 5, 5}));
    for (const Sample& s : samples) {
        EXPECT_TRUE(s.hidden.empty() || s.hidden == std::set<int>{1}) << s.ms;
        if (s.ms == 2100) {
            EXPECT_EQ(s.caption, kTestKeys);  // the tick at 2 s came during the blink
        }
    }
    EXPECT_EQ(StepTo(3050).caption, QStringLiteral("5..."));
    EXPECT_EQ(StepTo(4050).caption, QStringLiteral("4..."));
    const int64_t took = RunToEnd();
    EXPECT_GE(took, 8000);
    EXPECT_LT(took, 8100);
    EXPECT_TRUE(controller->DevTimerActive());
    EXPECT_FALSE(rig.Control("btn_Key101")->isHidden());
}

// Buttons held together blink one after the other in the table's order; a bit the table does
// not hold (0x0040) blinks nothing and the countdown goes on.
TEST_F(ButtonTestGuiTest, HeldButtonsBlinkInTableOrderAndBit0040BlinksNothing) {
    struct Case {
        uint16_t mask;
        std::vector<int> order;
    };
    const Case cases[] = {{0x0003, {1, 2}}, {0x0500, {7, 9}}, {0x0040, {}}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.mask);
        Restart();
        gated.RunFree();
        StartOnFactoryPage();
        StartTest();
        StepTo(1050);
        mouse->SetButtonsHeld(c.mask);
        std::vector<Sample> samples{StepTo(1100)};
        mouse->SetButtonsHeld(0);
        for (const Sample& s : StepThrough(1200, 4500, 100)) {
            samples.push_back(s);
        }
        std::vector<int> order;
        for (const Sample& s : samples) {
            EXPECT_LE(s.hidden.size(), 1u) << s.ms;  // one at a time
            for (const int key : s.hidden) {
                if (std::find(order.begin(), order.end(), key) == order.end()) {
                    order.push_back(key);
                }
            }
        }
        EXPECT_EQ(order, c.order);
        if (c.order.empty()) {
            EXPECT_EQ(samples[10].caption, QStringLiteral("4..."));  // at 2100
            EXPECT_EQ(samples[20].caption, QStringLiteral("3..."));  // at 3100
        }
        RunToEnd();
        EXPECT_TRUE(controller->DevTimerActive());
    }
}

// Closing the window in the middle of a blink ends the test at once: Reload and Close go to
// the mouse, the window closes once the job has ended.
TEST_F(ButtonTestGuiTest, ClosingTheWindowMidTestEndsItCleanly) {
    StartOnFactoryPage();
    StartTest();
    StepTo(1050);
    mouse->SetButtonsHeld(0x0002);
    EXPECT_EQ(StepTo(1200).hidden, std::set<int>{2});
    rig.window->close();
    EXPECT_TRUE(rig.window->isVisible());  // held back until the job has ended
    const int64_t took = RunToEnd();
    EXPECT_LT(took, 1200 + 100);
    EXPECT_FALSE(rig.window->isVisible());
    EXPECT_EQ(mouse->CountRequests(Command::kReload), 1);
    EXPECT_EQ(mouse->Requests().back()[1], static_cast<uint8_t>(Command::kClose));
    EXPECT_FALSE(controller->DevTimerActive());
}

// Unplugging the mouse during the test ends it with the usual device-lost handling: the
// no-device state and its message.
TEST_F(ButtonTestGuiTest, AnUnplugDuringTheTestEndsItAsTheMouseLost) {
    StartOnFactoryPage();
    StartTest();
    StepTo(1050);
    mouse->SetPlugged(false);
    const int64_t took = RunToEnd();
    EXPECT_LT(took, 1200);
    ASSERT_TRUE(WaitFor([&] { return rig.window->no_device_page(); }));
    EXPECT_TRUE(Said("Str100"));
    EXPECT_TRUE(controller->DevTimerActive());
}

}  // namespace
}  // namespace velq::ui::testing
