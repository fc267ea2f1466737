// The advanced page's rows of the PC's pointer settings, through the real window on a backend
// that keeps the stored values in memory: what a read shows, what each change writes (and
// nothing else), Apply, and a read of the mouse starting over.
#include <QApplication>
#include <QLabel>
#include <QSlider>
#include <QTest>

#include <gtest/gtest.h>

#include <cstdlib>
#include <string>

#include "gui_flows/gui_flows_fixture.h"
#include "settings/fake_pointer_backend.h"
#include "settings/ui/advanced_page.h"

namespace velq::ui::testing {
namespace {

using K = PointerKey;

class PointerRows : public GuiFlowsTest {
protected:
    void SetUp() override {
        GuiFlowsTest::SetUp();
        backend.stored = {{K::kMouseSensitivity, "10"},  {K::kMouseSpeed, "1"},
                          {K::kMouseThreshold1, "6"},    {K::kMouseThreshold2, "10"},
                          {K::kDoubleClickSpeed, "500"}, {K::kWheelScrollLines, "5"}};
        // As on an X server: the double-click time and the wheel lines stay in our own file.
        backend.own_file_keys = {K::kDoubleClickSpeed, K::kWheelScrollLines};
        rig.window->PageOf<AdvancedPage>()->SetPointerBackendSource([this] { return &backend; });
        StartReady();
        rig.window->ClickTab(Page::kAdvanced);
    }

    int Slider(const char* name) const {
        return qobject_cast<QSlider*>(rig.Control(name))->value();
    }
    bool Ticked(const char* picture) const {
        return rig.window->PictureOf(QString::fromLatin1(picture)) == QStringLiteral("CbS_E");
    }

    FakePointerBackend backend;
};

TEST_F(PointerRows, ShowsWhatTheDesktopKeeps) {
    EXPECT_EQ(Slider("slider_Spd"), 500);     // sensitivity 10: the middle, position 6
    EXPECT_EQ(Slider("slider_DbSpd"), 600);   // 500 ms: position 7
    EXPECT_EQ(Slider("slider_SrcSpd"), 400);  // five lines
    EXPECT_TRUE(Ticked("Img_IsControl"));
    EXPECT_FALSE(Ticked("Img_IsScreen"));
    EXPECT_TRUE(backend.writes.empty());  // reading writes nothing
}

TEST_F(PointerRows, EachChangeWritesItsOwnSettingOnlyAndApplyWritesThemAgain) {
    ReleaseSliderAt("slider_Spd", 300);  // beyond the end: position 11, not further
    EXPECT_EQ(Slider("slider_Spd"), 1000);
    ASSERT_EQ(backend.writes.size(), 1u);
    EXPECT_EQ(backend.writes.back(), (PointerValues{{K::kMouseSensitivity, "20"}}));

    rig.Click("lbl_Is_Control");  // the caption beside the option answers too
    EXPECT_FALSE(Ticked("Img_IsControl"));
    EXPECT_EQ(backend.writes.back(),
              (PointerValues{
                  {K::kMouseSpeed, "0"}, {K::kMouseThreshold1, "0"}, {K::kMouseThreshold2, "0"}}));

    rig.Click("Img_IsScreen");
    EXPECT_EQ(backend.stored[K::kWheelScrollLines], "-1");
    EXPECT_FALSE(rig.Control("slider_SrcSpd")->isEnabled());
    rig.Click("lbl_IsScreen");
    EXPECT_EQ(backend.stored[K::kWheelScrollLines], "5");
    EXPECT_TRUE(rig.Control("slider_SrcSpd")->isEnabled());

    ReleaseSliderAt("slider_DbSpd", 0);  // position 1: 900 ms, and our own window follows
    EXPECT_EQ(backend.stored[K::kDoubleClickSpeed], "900");
    EXPECT_EQ(QApplication::doubleClickInterval(), 900);

    backend.writes.clear();
    RunFlow("Btn_Apply_2");
    ASSERT_FALSE(backend.writes.empty());
    PointerValues applied;
    for (const PointerValues& w : backend.writes) {
        applied.insert(w.begin(), w.end());
    }
    EXPECT_EQ(applied[K::kMouseSensitivity], "20");
    EXPECT_EQ(applied[K::kDoubleClickSpeed], "900");
    EXPECT_EQ(applied[K::kMouseSpeed], "0");
}

TEST_F(PointerRows, UntouchedSettingsAreNeverRewrittenAndAReadStartsOver) {
    RunFlow("Btn_Apply_2");
    EXPECT_TRUE(backend.writes.empty());  // 500 ms would come back as 480 otherwise

    ReleaseSliderAt("slider_Spd", 0);
    backend.stored[K::kMouseSensitivity] = "14";  // changed elsewhere meanwhile
    RunFlow("Btn_Read_2");
    EXPECT_EQ(Slider("slider_Spd"), 700);  // 14: position 8
    backend.writes.clear();
    RunFlow("Btn_Apply_2");
    EXPECT_TRUE(backend.writes.empty());
    EXPECT_EQ(backend.stored[K::kDoubleClickSpeed], "500");
}

// The desktop refusing a setting is only noted in the program's output; our own file that
// cannot keep one (the wheel lines a desktop does not keep) is said with the file's name.
TEST_F(PointerRows, OurOwnFileThatCannotKeepASettingIsSaid) {
    rig.messages.Clear();
    struct Case {
        bool own_file;
        const char* error;
    };
    const Case cases[] = {
        {false, "GSettings refused org.gnome.desktop.peripherals.mouse speed"},
        {true, "/home/u/.config/velq540b/pointer.conf: may not be written: Permission denied"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.error);
        backend.write_error = c.error;
        backend.write_error_own_file = c.own_file;
        ReleaseSliderAt("slider_SrcSpd", 0);
        if (c.own_file) {
            ASSERT_EQ(rig.messages.messages().size(), 1u);
            EXPECT_EQ(rig.messages.messages().front(),
                      CaptionOf(1, "Str109") + QLatin1Char('\n') + QString::fromUtf8(c.error));
        } else {
            EXPECT_TRUE(rig.messages.messages().empty());
        }
        rig.messages.Clear();
        ReleaseSliderAt("slider_SrcSpd", 1000);
        rig.messages.Clear();
    }
}

// The note beside a row's caption: its text, or empty when it is not shown. A shown note lies
// beside its caption, on the same line, and inside the panel.
QString NoteOf(const WindowRig& rig, const char* caption) {
    const QWidget* label = rig.Control(caption);
    const std::string note_name = std::string(caption) + "_Note";
    const auto* note = qobject_cast<const QLabel*>(rig.Control(note_name.c_str()));
    if (label == nullptr || note == nullptr || note->isHidden()) {
        return {};
    }
    EXPECT_GE(note->x(), label->x()) << caption;
    // The pointer panel ends a little right of its sliders.
    constexpr int kPanelBeyondSliders = 30;
    EXPECT_LE(note->geometry().right(),
              rig.Control("slider_Spd")->geometry().right() + kPanelBeyondSliders)
        << caption;
    EXPECT_GE(note->width(), note->sizeHint().width()) << caption;
    EXPECT_LT(std::abs(note->geometry().center().y() - label->geometry().center().y()), 4)
        << caption;
    return note->text();
}

// The precision option goes with the speed row, whose note speaks for both.
constexpr const char* kRowCaptions[] = {"lbl_Mouse_Speed", "lbl_Double_Click", "lbl_Roller_Speed",
                                        "lbl_Roll_All_Screen"};

TEST_F(PointerRows, RowsThatReachOnlyOurOwnFileSaySo) {
    for (int language = 1; language <= 3; ++language) {
        ASSERT_TRUE(rig.window->SwitchLanguage(language).ok);
        const QString own = CaptionOf(language, "Str920");
        ASSERT_FALSE(own.isEmpty());
        EXPECT_EQ(NoteOf(rig, "lbl_Mouse_Speed"), QString());
        EXPECT_EQ(NoteOf(rig, "lbl_Double_Click"), own);
        EXPECT_EQ(NoteOf(rig, "lbl_Roller_Speed"), own);
        EXPECT_EQ(NoteOf(rig, "lbl_Roll_All_Screen"), own);
    }
}

// A desktop whose pointer settings the program cannot reach (no backend): every row says so,
// and changing one writes nowhere.
class PointerRowsUnsupported : public GuiFlowsTest {
protected:
    void SetUp() override {
        GuiFlowsTest::SetUp();
        rig.window->PageOf<AdvancedPage>()->SetPointerBackendSource(
            []() -> PointerBackend* { return nullptr; });
        StartReady();
        rig.window->ClickTab(Page::kAdvanced);
    }
};

TEST_F(PointerRowsUnsupported, EveryRowSaysItIsNotSupported) {
    for (int language = 1; language <= 3; ++language) {
        ASSERT_TRUE(rig.window->SwitchLanguage(language).ok);
        for (const char* caption : kRowCaptions) {
            EXPECT_EQ(NoteOf(rig, caption), CaptionOf(language, "Str921")) << caption;
        }
    }
    EXPECT_EQ(rig.window->PageOf<AdvancedPage>()->pointer().backend(), nullptr);
}

}  // namespace
}  // namespace velq::ui::testing
