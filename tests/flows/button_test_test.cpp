#include "flows/button_test.h"

#include <gtest/gtest.h>

#include <functional>
#include <map>
#include <memory>
#include <optional>
#include <vector>

#include "device/device_link.h"
#include "device/virtual_backend.h"
#include "device/virtual_mouse.h"

namespace velq {
namespace {

// Virtual time that does what a test scripted for a moment once time has passed it (a button
// pressed and let go, the mouse unplugged).
class ScriptedClock final : public VirtualClock {
public:
    void At(int64_t ms, std::function<void()> action) { script_.emplace(ms, std::move(action)); }
    void SleepMs(int ms) override {
        VirtualClock::SleepMs(ms);
        while (!script_.empty() && script_.begin()->first <= NowMs()) {
            const std::function<void()> action = script_.begin()->second;
            script_.erase(script_.begin());
            action();
        }
    }

private:
    std::multimap<int64_t, std::function<void()>> script_;
};

// What the test showed, and when.
struct Shown {
    int64_t ms;
    int key;                     // 0 for the countdown caption
    bool shown;                  // the key's state
    std::optional<int> seconds;  // the caption: seconds left, or the button's name
    bool operator==(const Shown&) const = default;
};

class RecordingTestUi final : public ButtonTestUi {
public:
    explicit RecordingTestUi(const Clock& clock) : clock_(clock) {}
    void ShowTestCountdown(std::optional<int> seconds) override {
        log.push_back({clock_.NowMs(), 0, true, seconds});
    }
    void ShowTestedKey(int key, bool shown) override {
        log.push_back({clock_.NowMs(), key, shown, std::nullopt});
    }
    bool TestEndRequested() override { return end_at && clock_.NowMs() >= *end_at; }

    std::vector<std::optional<int>> Captions() const {
        std::vector<std::optional<int>> captions;
        for (const Shown& s : log) {
            if (s.key == 0) {
                captions.push_back(s.seconds);
            }
        }
        return captions;
    }
    std::vector<Shown> Keys() const {
        std::vector<Shown> keys;
        for (const Shown& s : log) {
            if (s.key != 0) {
                keys.push_back(s);
            }
        }
        return keys;
    }

    std::vector<Shown> log;
    std::optional<int64_t> end_at;  // the window closes then

private:
    const Clock& clock_;
};

class ButtonTestTest : public ::testing::Test {
protected:
    void SetUp() override {
        uint16_t release = kMouseReleaseNumber;
        ASSERT_TRUE(link.OpenMouse(MouseVendorId, MouseProductId, release));
        mouse->ClearRequests();
    }

    // Holds `mask` from `from` to `to` (virtual milliseconds from the start).
    void Hold(uint16_t mask, int64_t from, int64_t to) {
        clock.At(from, [this, mask] { mouse->SetButtonsHeld(mask); });
        clock.At(to, [this] { mouse->SetButtonsHeld(0); });
    }

    ButtonTestEnd Run() { return ButtonTest(protocol, clock, ui).Run(); }

    std::vector<Command> Commands() const {
        std::vector<Command> commands;
        for (const ReportBytes& r : mouse->Requests()) {
            commands.push_back(static_cast<Command>(r[1]));
        }
        return commands;
    }

    std::shared_ptr<VirtualMouse> mouse = std::make_shared<VirtualMouse>();
    VirtualBackend backend{mouse};
    DeviceLink link{backend};
    ScriptedClock clock;
    CommandProtocol protocol{link, clock};
    RecordingTestUi ui{clock};
};

using Captions = std::vector<std::optional<int>>;
constexpr std::nullopt_t kName = std::nullopt;
// The longest a poll of a mouse that answers at once takes (the waits before its set and its
// first get), and a margin.
constexpr int64_t kPollMs = 20;

// Nothing pressed: one caption a second, 5... down to 0..., and the tick that shows 0... ends
// the test, which is one exchange from Open to Close with only polls between.
TEST_F(ButtonTestTest, WithoutAPressCountsDownOnceASecondAndEnds) {
    EXPECT_EQ(Run(), ButtonTestEnd::kQuiet);
    EXPECT_EQ(ui.Captions(), (Captions{5, 4, 3, 2, 1, 0}));
    // A tick that falls due during a poll is seen when the poll has ended.
    for (size_t i = 0; i < ui.log.size(); ++i) {
        EXPECT_GE(ui.log[i].ms, static_cast<int64_t>(i + 1) * kTestTickMs) << i;
        EXPECT_LT(ui.log[i].ms, static_cast<int64_t>(i + 1) * kTestTickMs + kPollMs) << i;
    }
    EXPECT_TRUE(ui.Keys().empty());
    const std::vector<Command> commands = Commands();
    ASSERT_GE(commands.size(), 4u);
    EXPECT_EQ(commands.front(), Command::kOpen);
    EXPECT_EQ(commands[commands.size() - 2], Command::kReload);
    EXPECT_EQ(commands.back(), Command::kClose);
    for (size_t i = 1; i + 2 < commands.size(); ++i) {
        EXPECT_EQ(commands[i], Command::kStatus) << i;
    }
}

// A press blinks its button: hidden, shown, hidden, shown, 500 ms apart. The ticks during the
// blink show the button's name and start the countdown again, so the test ends six quiet ticks
// after the blink.
TEST_F(ButtonTestTest, APressBlinksItsButtonTwiceAndStartsTheCountdownAgain) {
    Hold(0x0001, 2500, 2600);
    EXPECT_EQ(Run(), ButtonTestEnd::kQuiet);
    const std::vector<Shown> keys = ui.Keys();
    ASSERT_EQ(keys.size(), 4u);
    const int64_t start = keys[0].ms;
    EXPECT_GE(start, 2500);
    EXPECT_LT(start, 2550);
    for (size_t i = 0; i < keys.size(); ++i) {
        EXPECT_EQ(keys[i].key, 1);
        EXPECT_EQ(keys[i].shown, i % 2 == 1) << i;
        EXPECT_EQ(keys[i].ms, start + static_cast<int64_t>(i) * kBlinkStepMs) << i;
    }
    EXPECT_EQ(ui.Captions(), (Captions{5, 4, kName, kName, 5, 4, 3, 2, 1, 0}));
    EXPECT_GE(ui.log.back().ms, 10 * kTestTickMs);
    EXPECT_LT(ui.log.back().ms, 10 * kTestTickMs + kPollMs);
}

// Buttons held together blink one after the other in the table's order; bits the table does
// not hold blink nothing and leave the countdown running.
TEST_F(ButtonTestTest, HeldButtonsBlinkInTableOrderAndOtherBitsAreIgnored) {
    struct Case {
        uint16_t mask;
        std::vector<int> keys;
    };
    const Case cases[] = {
        {0x0003, {1, 2}}, {0x0500, {7, 9}}, {0x0021, {1, 6}}, {0x0040, {}}, {0x0880, {}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.mask);
        ui.log.clear();
        const int64_t begun = clock.NowMs();
        Hold(c.mask, begun + 1500, begun + 1520);
        EXPECT_EQ(Run(), ButtonTestEnd::kQuiet);
        std::vector<int> blinked;
        int64_t last = -1;
        for (const Shown& s : ui.Keys()) {
            if (!s.shown && (blinked.empty() || blinked.back() != s.key)) {
                blinked.push_back(s.key);
            }
            EXPECT_GE(s.ms, last);
            last = s.ms;
        }
        EXPECT_EQ(blinked, c.keys);
        if (c.keys.empty()) {
            EXPECT_EQ(ui.Captions(), (Captions{5, 4, 3, 2, 1, 0}));
        }
        // Each button's blink ends before the next one's begins.
        const std::vector<Shown> keys = ui.Keys();
        for (size_t i = 0; i + 1 < keys.size(); ++i) {
            if (keys[i].key != keys[i + 1].key) {
                EXPECT_TRUE(keys[i].shown);
                EXPECT_EQ(keys[i + 1].ms, keys[i].ms);
            }
        }
    }
}

// Closing the window ends the test at once, a blink in the middle included: the button is
// shown again and the mouse gets Reload and Close.
TEST_F(ButtonTestTest, AnEndRequestedMidBlinkShowsTheButtonAndClosesTheTransaction) {
    Hold(0x0002, 1500, 1600);
    ui.end_at = 1800;
    EXPECT_EQ(Run(), ButtonTestEnd::kStopped);
    EXPECT_LE(clock.NowMs(), 1800 + 100);
    const std::vector<Shown> keys = ui.Keys();
    ASSERT_FALSE(keys.empty());
    EXPECT_EQ(keys.back().key, 2);
    EXPECT_TRUE(keys.back().shown);
    const std::vector<Command> commands = Commands();
    ASSERT_GE(commands.size(), 2u);
    EXPECT_EQ(commands[commands.size() - 2], Command::kReload);
    EXPECT_EQ(commands.back(), Command::kClose);
}

// An unplugged mouse ends the test; nothing more is sent to it.
TEST_F(ButtonTestTest, AnUnpluggedMouseEndsTheTest) {
    clock.At(2300, [this] { mouse->SetPlugged(false); });
    EXPECT_EQ(Run(), ButtonTestEnd::kMouseGone);
    EXPECT_LT(clock.NowMs(), 2400);
    EXPECT_EQ(ui.Captions(), (Captions{5, 4}));
    EXPECT_EQ(mouse->CountRequests(Command::kReload), 0);

    link.DropDevice();
    mouse->ClearRequests();
    EXPECT_EQ(Run(), ButtonTestEnd::kMouseGone);  // no mouse open: nothing sent at all
    EXPECT_TRUE(mouse->Requests().empty());
}

}  // namespace
}  // namespace velq
