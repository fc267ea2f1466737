// Recording a macro through the real window: the record buttons, the delay options, the insert
// box's recording, and what each leaves in "Macro.bin". The keys and buttons come from a capture
// the test drives (the X11 capture itself is tested under Xvfb, tests/capture).
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMouseEvent>
#include <QTest>
#include <QWindow>

#include <gtest/gtest.h>
#include <unistd.h>

#include <atomic>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <thread>
#include <vector>

#include "capture/input_capture.h"
#include "capture/ui/in_window_capture.h"
#include "gui_flows/gui_flows_fixture.h"
#include "macros/macro_library.h"
#include "macros/macro_test_util.h"
#include "macros/ui/macro_page.h"

namespace velq::ui::testing {
namespace {

namespace fs = std::filesystem;
using Bytes = std::vector<uint8_t>;

constexpr uint16_t kKeyA = 30;  // kernel key codes
constexpr uint16_t kKeyLeftShift = 42;

// A capture the test feeds: events go to the sink on the window thread, as the window's own
// capture does; `Global` says which kind it stands for.
class FakeCapture final : public InputCapture {
public:
    struct State {
        Sink sink;
        int starts = 0;
        bool global = true;
    };
    explicit FakeCapture(State& state) : state_(state) {}
    ~FakeCapture() override { Stop(); }
    bool Start(Sink sink, std::string& /*error*/) override {
        state_.sink = std::move(sink);
        ++state_.starts;
        return true;
    }
    void Stop() override { state_.sink = nullptr; }
    bool Global() const override { return state_.global; }

private:
    State& state_;
};

// A capture whose own thread hands over right clicks without pause until it is stopped.
class StreamingCapture final : public InputCapture {
public:
    ~StreamingCapture() override { Stop(); }
    bool Start(Sink sink, std::string& /*error*/) override {
        running_ = true;
        thread_ = std::thread([this, sink = std::move(sink)] {
            int64_t time = 0;
            for (bool press = true; running_.load(); press = !press) {
                CapturedEvent event;
                event.kind = CapturedEvent::Kind::kButton;
                event.button = CapturedButton::kRight;
                event.press = press;
                event.time_ms = time++;
                sink(event);
                ++handed_;
            }
        });
        return true;
    }
    void Stop() override {
        running_ = false;
        if (thread_.joinable()) {
            thread_.join();
        }
    }
    bool Global() const override { return true; }
    int handed() const { return handed_.load(); }

private:
    std::atomic<bool> running_{false};
    std::atomic<int> handed_{0};
    std::thread thread_;
};

class MacroRecordingTest : public GuiFlowsTest {
protected:
    void SetUp() override {
        fs::remove_all(home);
        fs::create_directories(home);
        ::setenv("XDG_DATA_HOME", home.c_str(), 1);
        GuiFlowsTest::SetUp();
        StartReady();
        page = rig.window->PageOf<MacroPage>();
        ASSERT_NE(page, nullptr);
        page->SetCaptureSource([this] { return std::make_unique<FakeCapture>(capture); });
        library = page->library();
        ASSERT_NE(library, nullptr);
        ASSERT_TRUE(library->New(u"ABC"));
        ASSERT_TRUE(library->New(u"DEF"));
        rig.window->ClickTab(Page::kMacro);
        list = qobject_cast<QListWidget*>(rig.Control("LB_macro"));
        ASSERT_NE(list, nullptr);
    }
    void TearDown() override { fs::remove_all(home); }

    void ShowMacro(int index, const Bytes& tokens) {
        if (!tokens.empty()) {
            ASSERT_TRUE(library->SetContent(static_cast<std::size_t>(index),
                                            test::DeviceContent(tokens, 0)));
        }
        auto* names = qobject_cast<QListWidget*>(rig.Control("LB_PCMacroName"));
        names->setCurrentRow(index);
        page->editor().Show(library, index);  // again, should it be selected already
    }
    Bytes Stored(int index) const {
        std::ifstream in(library->File(), std::ios::binary);
        const Bytes file((std::istreambuf_iterator<char>(in)), {});
        const auto begin = file.begin() + index * 256 + 32;
        return Bytes(begin, begin + 224);
    }
    static Bytes Content(const Bytes& tokens) {
        const MacroContent content = test::DeviceContent(tokens, 0);
        return Bytes(content.begin(), content.end());
    }

    // One event from the capture, taken by the window.
    void Send(CapturedEvent event) {
        ASSERT_TRUE(capture.sink) << "no capture running";
        capture.sink(event);
        // The capture's events reach the recorder through the window's event queue.
        QCoreApplication::processEvents();
    }
    void Key(uint16_t code, bool press, int64_t time) {
        CapturedEvent event;
        event.key_code = code;
        event.press = press;
        event.time_ms = time;
        Send(event);
    }
    void Button(CapturedButton button, bool press, int64_t time) {
        CapturedEvent event;
        event.kind = CapturedEvent::Kind::kButton;
        event.button = button;
        event.press = press;
        event.time_ms = time;
        Send(event);
    }
    QStringList Items() const {
        QStringList texts;
        for (int row = 0; row < list->count(); ++row) {
            texts << list->item(row)->text();
        }
        return texts;
    }
    QString Text(const char* name) const {
        return qobject_cast<QLineEdit*>(rig.Control(name))->text();
    }
    bool ReadOnly(const char* name) const {
        return qobject_cast<QLineEdit*>(rig.Control(name))->isReadOnly();
    }

    const fs::path home = fs::path(::testing::TempDir()) /
                          ("macro_recording_" + std::to_string(::getpid()) + "_" +
                           ::testing::UnitTest::GetInstance()->current_test_info()->name());
    FakeCapture::State capture;
    MacroPage* page = nullptr;
    MacroLibrary* library = nullptr;
    QListWidget* list = nullptr;
};

TEST_F(MacroRecordingTest, TheDelayOptionsAnswerClicksAndTheFieldFollows) {
    ShowMacro(0, {});
    EXPECT_EQ(rig.Picture("LED_RecDelay"), "RdS_E");
    EXPECT_EQ(rig.Picture("LED_DelayTime"), "RdS_D");
    EXPECT_EQ(rig.Picture("LED_NoDelay"), "RdS_D");
    EXPECT_EQ(Text("Edt_Delay"), "32");
    EXPECT_TRUE(ReadOnly("Edt_Delay"));
    struct Step {
        const char* click;
        const char* lit;
        bool editable;
    };
    const Step steps[] = {{"IB_DelayTime", "LED_DelayTime", true},
                          {"LED_NoDelay", "LED_NoDelay", false},  // the picture acts too
                          {"IB_RecDelay", "LED_RecDelay", false},
                          {"LED_DelayTime", "LED_DelayTime", true}};
    for (const Step& s : steps) {
        SCOPED_TRACE(s.click);
        rig.Click(s.click);
        for (const char* led : {"LED_RecDelay", "LED_DelayTime", "LED_NoDelay"}) {
            EXPECT_EQ(rig.Picture(led), std::string(led) == s.lit ? "RdS_E" : "RdS_D") << led;
        }
        EXPECT_EQ(!ReadOnly("Edt_Delay"), s.editable);
    }
    Type("Edt_Delay", "3000");
    EXPECT_EQ(Text("Edt_Delay"), "2040");

    // The insert box's own options: measured waits when it opens, its field 50.
    ShowMacro(0, {0x82, 0x04, 0x02, 0x04});
    list->setCurrentRow(0);
    page->editor().LabelClicked(QStringLiteral("Btn_Insert"));
    ChooseInList("CB_Insert", 2);
    EXPECT_EQ(rig.Picture("LED_InsertRecDelay"), "RdS_E");
    for (const char* option : {"InsertRecDelay", "InsertDelayTime", "InsertNoDelay"}) {
        // The caption's text starts right of its picture.
        auto* caption = qobject_cast<QLabel*>(rig.Control(("IB_" + std::string(option)).c_str()));
        const QWidget* picture = rig.Control(("LED_" + std::string(option)).c_str());
        EXPECT_GT(caption->x() + caption->indent(), picture->geometry().right()) << option;
    }
    EXPECT_EQ(Text("Edt_InsertDelay"), "50");
    EXPECT_FALSE(rig.Control("Edt_InsertDelay")->isEnabled());
    rig.Click("IB_InsertDelayTime");
    EXPECT_EQ(rig.Picture("LED_InsertDelayTime"), "RdS_E");
    EXPECT_EQ(rig.Picture("LED_InsertRecDelay"), "RdS_D");
    EXPECT_TRUE(rig.Control("Edt_InsertDelay")->isEnabled());
    rig.Click("LED_InsertNoDelay");
    EXPECT_EQ(rig.Picture("LED_InsertNoDelay"), "RdS_E");
    EXPECT_FALSE(rig.Control("Edt_InsertDelay")->isEnabled());
    // The recording group keeps its own choice: the shown macro's, which has no waits.
    EXPECT_EQ(rig.Picture("LED_NoDelay"), "RdS_E");
}

TEST_F(MacroRecordingTest, ASelectedMacroShowsHowItWasRecorded) {
    // Four waits of 32 ms: a fixed delay.
    ShowMacro(0, {0x82, 0x04, 0xFE, 0x04, 0x02, 0x04, 0xFE, 0x04, 0x82, 0x05, 0xFE, 0x04, 0x02,
                  0x05, 0xFE, 0x04, 0xA1});
    EXPECT_EQ(rig.Picture("LED_DelayTime"), "RdS_E");
    EXPECT_EQ(Text("Edt_Delay"), "32");
    EXPECT_FALSE(ReadOnly("Edt_Delay"));
    ShowMacro(1, {0x82, 0x04, 0x02, 0x04});
    EXPECT_EQ(rig.Picture("LED_NoDelay"), "RdS_E");
    EXPECT_TRUE(ReadOnly("Edt_Delay"));
}

TEST_F(MacroRecordingTest, RecordingFromStartToStop) {
    ShowMacro(0, {0xA1, 0x21});
    ASSERT_TRUE(controller->DevTimerActive());
    rig.Click("IB_RecDelay");  // the shown macro has no waits: its mode was shown
    rig.Click("Btn_Start");
    ASSERT_TRUE(page->editor().recording());
    EXPECT_EQ(rig.Text("Btn_Start"), CaptionOf(1, "Str401"));
    EXPECT_EQ(rig.Picture("Img_Start"), "MacroS_04");
    EXPECT_FALSE(controller->DevTimerActive());
    EXPECT_EQ(list->count(), 0);  // the old events are gone
    for (const char* off : {"Gb_Delay", "LB_PCMacroName", "LB_macro", "Btn_New", "Btn_Delete"}) {
        EXPECT_FALSE(rig.Control(off)->isEnabled()) << off;
    }

    Key(kKeyLeftShift, true, 1000);
    Key(kKeyA, true, 1096);
    Key(kKeyA, true, 1130);  // the keyboard repeats it
    Key(kKeyA, false, 1296);
    Key(kKeyLeftShift, false, 1344);
    Button(CapturedButton::kBackward, true, 1392);
    Button(CapturedButton::kBackward, false, 1488);
    EXPECT_EQ(Items(), (QStringList{"Shift", "96 ms", "A", "200 ms", "A", "48 ms", "Shift", "48 ms",
                                    "Backward", "96 ms", "Backward"}));
    EXPECT_EQ(list->currentRow(), list->count() - 1);

    // The left click that stops it, over the button, is not recorded.
    rig.Enter("Btn_Start");
    Button(CapturedButton::kLeft, true, 1600);
    Button(CapturedButton::kLeft, false, 1700);
    EXPECT_EQ(list->count(), 11);
    rig.Click("Btn_Start");
    EXPECT_FALSE(page->editor().recording());
    EXPECT_FALSE(capture.sink);
    EXPECT_EQ(rig.Text("Btn_Start"), CaptionOf(1, "Str400"));
    EXPECT_EQ(rig.Picture("Img_Start"), "MacroS_03");
    EXPECT_TRUE(controller->DevTimerActive());
    for (const char* on : {"Gb_Delay", "LB_PCMacroName", "LB_macro", "Btn_New", "Btn_Delete"}) {
        EXPECT_TRUE(rig.Control(on)->isEnabled()) << on;
    }
    EXPECT_EQ(Stored(0), Content({0x81, 0x02, 0xFE, 0x0C, 0x82, 0x04, 0xFE, 0x19, 0x02, 0x04,
                                  0xFE, 0x06, 0x01, 0x02, 0xFE, 0x06, 0xB0, 0xFE, 0x0C, 0x30}));
}

TEST_F(MacroRecordingTest, TheRightButtonOverTheRecordButtonIsRecorded) {
    ShowMacro(0, {});
    rig.Click("IB_NoDelay");
    rig.Click("Btn_Start");
    rig.Enter("Img_Start");
    Button(CapturedButton::kRight, true, 10);
    Button(CapturedButton::kRight, false, 20);
    Button(CapturedButton::kLeft, true, 30);
    Button(CapturedButton::kLeft, false, 40);
    rig.Leave("Img_Start");
    Button(CapturedButton::kLeft, true, 50);
    Button(CapturedButton::kLeft, false, 60);
    rig.Click("Btn_Start");
    EXPECT_EQ(Items(), (QStringList{"RightKey", "RightKey", "LeftKey", "LeftKey"}));
    EXPECT_EQ(Stored(0), Content({0xA2, 0x22, 0xA1, 0x21}));
}

TEST_F(MacroRecordingTest, WithoutASelectedMacroNothingRecords) {
    auto* names = qobject_cast<QListWidget*>(rig.Control("LB_PCMacroName"));
    names->clearSelection();
    ASSERT_EQ(page->editor().entry(), -1);
    rig.Click("Btn_Start");
    EXPECT_FALSE(page->editor().recording());
    EXPECT_EQ(capture.starts, 0);
}

TEST_F(MacroRecordingTest, InWaylandTheWindowSaysOnceThatOnlyItsOwnInputIsRecorded) {
    capture.global = false;
    ShowMacro(0, {});
    for (int pass = 0; pass < 2; ++pass) {
        rig.Click("Btn_Start");
        ASSERT_TRUE(page->editor().recording());
        rig.Click("Btn_Start");
    }
    ASSERT_EQ(rig.messages.messages().size(), 1u);
    EXPECT_EQ(rig.messages.messages().front(), CaptionOf(1, "Str918"));
}

TEST_F(MacroRecordingTest, StopWaitsForTheCaptureAndAddsNothingAfterIt) {
    StreamingCapture* streaming = nullptr;
    page->SetCaptureSource([&streaming] {
        auto made = std::make_unique<StreamingCapture>();
        streaming = made.get();
        return made;
    });
    ShowMacro(0, {});
    rig.Click("IB_NoDelay");
    rig.Click("Btn_Start");
    ASSERT_TRUE(WaitFor([&] { return list->count() >= 20; }));
    rig.Click("Btn_Start");
    ASSERT_FALSE(page->editor().recording());
    const QStringList at_stop = Items();
    const MacroLines lines = page->editor().lines();
    for (int i = 0; i < 50; ++i) {
        QCoreApplication::processEvents();
    }
    EXPECT_EQ(Items(), at_stop);
    EXPECT_EQ(page->editor().lines(), lines);
    // Every event handed over before the stop was taken, up to the room of the recording.
    EXPECT_GE(at_stop.size(), 20);
    EXPECT_LE(at_stop.size(), 186);
}

TEST_F(MacroRecordingTest, InsertRecordingBeforeAndAfterALine) {
    const Bytes stored{0x82, 0x1D, 0x02, 0x1D};  // Z pressed, released
    struct Case {
        int item;  // of the insert list: 2 before, 3 after
        Bytes expected;
    };
    const Case cases[] = {
        {2, {0x82, 0x1D, 0x82, 0x04, 0xFE, 0x06, 0x02, 0x04, 0x02, 0x1D}},
        {3, {0x82, 0x1D, 0x02, 0x1D, 0x82, 0x04, 0xFE, 0x06, 0x02, 0x04}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.item);
        ShowMacro(0, stored);
        list->setCurrentRow(1);
        page->editor().LabelClicked(QStringLiteral("Btn_Insert"));
        ChooseInList("CB_Insert", c.item);
        rig.Click("IB_InsertDelayTime");
        rig.Click("Btn_InsertStart");
        ASSERT_TRUE(page->editor().recording());
        EXPECT_EQ(rig.Text("Btn_InsertStart"), CaptionOf(1, "Str401"));
        for (const char* off : {"Btn_OK", "Btn_Cancel", "IB_InsertRecDelay", "Edt_InsertDelay"}) {
            EXPECT_FALSE(rig.Control(off)->isEnabled()) << off;
        }
        Key(kKeyA, true, 0);
        Key(kKeyA, false, 500);
        rig.Click("Btn_InsertStart");
        EXPECT_FALSE(page->editor().recording());
        EXPECT_EQ(rig.Text("Btn_InsertStart"), CaptionOf(1, "Str400"));
        EXPECT_TRUE(rig.Control("Btn_OK")->isEnabled());
        EXPECT_EQ(Stored(0), Content(stored));  // not yet: the box's OK commits them
        rig.Click("Btn_OK");
        EXPECT_EQ(Stored(0), Content(c.expected));
    }
    // Cancel after an insert recording leaves the macro as stored.
    ShowMacro(0, stored);
    list->setCurrentRow(0);
    page->editor().LabelClicked(QStringLiteral("Btn_Insert"));
    ChooseInList("CB_Insert", 2);
    rig.Click("Btn_InsertStart");
    Key(kKeyA, true, 0);
    Key(kKeyA, false, 100);
    rig.Click("Btn_InsertStart");
    EXPECT_EQ(list->count(), 5);
    rig.Click("Btn_Cancel");
    EXPECT_EQ(list->count(), 2);
    EXPECT_EQ(Stored(0), Content(stored));
}

TEST_F(MacroRecordingTest, TheEditorWorksOnlyOnTheSelectedMacro) {
    ASSERT_TRUE(library->SetContent(1, test::DeviceContent({0x82, 0x04, 0x02, 0x04}, 0)));
    auto* names = qobject_cast<QListWidget*>(rig.Control("LB_PCMacroName"));
    names->clearSelection();
    EXPECT_EQ(page->editor().entry(), -1);
    EXPECT_EQ(list->count(), 0);
    // A current row without a selection (the list took the focus) shows nothing either.
    names->setCurrentRow(0, QItemSelectionModel::NoUpdate);
    EXPECT_EQ(page->editor().entry(), -1);
    // The page opened with none selected selects the last, where the list rests.
    rig.window->ClickTab(Page::kAdvanced);
    rig.window->ClickTab(Page::kMacro);
    EXPECT_EQ(page->editor().entry(), 1);
    EXPECT_TRUE(names->item(1)->isSelected());
    EXPECT_EQ(Items(), (QStringList{"A", "A"}));
}

TEST_F(MacroRecordingTest, ExportOneAsksBeforeReplacingTheFileItWrites) {
    ShowMacro(0, {0x82, 0x04, 0x02, 0x04});
    const fs::path chosen = home / "macro";
    const fs::path written = home / "macro.bin";
    { std::ofstream(written) << "keep me"; }
    for (const bool replace : {false, true}) {
        rig.files.QueueAnswer(QString::fromStdString(chosen.string()));
        rig.files.QueueReplaceAnswer(replace);
        page->LabelClicked(QStringLiteral("Btn_ExportOne"));
        ASSERT_FALSE(rig.files.replace_questions().empty());
        EXPECT_EQ(rig.files.replace_questions().back(), QString::fromStdString(written.string()));
        EXPECT_EQ(fs::file_size(written), replace ? 256u : 7u) << replace;
    }
    // A new file is written without a question.
    const std::size_t asked = rig.files.replace_questions().size();
    rig.files.QueueAnswer(QString::fromStdString((home / "other").string()));
    page->LabelClicked(QStringLiteral("Btn_ExportOne"));
    EXPECT_EQ(rig.files.replace_questions().size(), asked);
    EXPECT_EQ(fs::file_size(home / "other.bin"), 256u);
}

TEST_F(MacroRecordingTest, TheWindowsOwnCaptureTakesEachKeyAndButtonOnceByItsPlace) {
    InWindowCapture in_window([] { return int64_t{42}; });
    std::vector<CapturedEvent> events;
    std::string error;
    ASSERT_TRUE(in_window.Start([&](const CapturedEvent& e) { events.push_back(e); }, error));
    EXPECT_FALSE(in_window.Global());
    rig.window->show();
    QWindow* window = rig.window->windowHandle();
    ASSERT_NE(window, nullptr);
    // The platform gives the X keycode of the key's place: 38 is the key of A (kernel code 30).
    QKeyEvent press(QEvent::KeyPress, Qt::Key_Q, Qt::NoModifier, 38, 0, 0, QStringLiteral("q"));
    QKeyEvent repeat(QEvent::KeyPress, Qt::Key_Q, Qt::NoModifier, 38, 0, 0, QStringLiteral("q"),
                     /*autorep=*/true);
    QKeyEvent release(QEvent::KeyRelease, Qt::Key_Q, Qt::NoModifier, 38, 0, 0);
    QKeyEvent unplaced(QEvent::KeyPress, Qt::Key_Q, Qt::NoModifier, 0, 0, 0);
    for (QKeyEvent* key : {&press, &repeat, &release, &unplaced}) {
        QCoreApplication::sendEvent(window, key);
    }
    const QPointF at(10, 10);
    QMouseEvent back(QEvent::MouseButtonPress, at, at, at, Qt::BackButton, Qt::BackButton,
                     Qt::NoModifier);
    QMouseEvent back_up(QEvent::MouseButtonRelease, at, at, at, Qt::BackButton, Qt::NoButton,
                        Qt::NoModifier);
    QCoreApplication::sendEvent(window, &back);
    QCoreApplication::sendEvent(window, &back_up);
    // What a widget gets after the window is the same event: not taken twice.
    QKeyEvent again(QEvent::KeyPress, Qt::Key_Q, Qt::NoModifier, 38, 0, 0);
    QCoreApplication::sendEvent(rig.Control("LB_macro"), &again);
    ASSERT_EQ(events.size(), 5u);
    EXPECT_EQ(events[0].key_code, 30);
    EXPECT_TRUE(events[0].press);
    EXPECT_FALSE(events[0].repeat);
    EXPECT_TRUE(events[1].repeat);
    EXPECT_FALSE(events[2].press);
    EXPECT_EQ(events[3].kind, CapturedEvent::Kind::kButton);
    EXPECT_EQ(events[3].button, CapturedButton::kBackward);
    EXPECT_TRUE(events[3].press);
    EXPECT_FALSE(events[4].press);
    EXPECT_EQ(events[4].time_ms, 42);
    in_window.Stop();
    QCoreApplication::sendEvent(window, &press);
    EXPECT_EQ(events.size(), 5u);
}

}  // namespace
}  // namespace velq::ui::testing
