// Start-up, controls by name, layouts and captions, and the language switch of the real window.
#include <QApplication>
#include <QComboBox>
#include <QLabel>
#include <QRadioButton>

#include <gtest/gtest.h>

#include <vector>

#include "gui_test_rig.h"
#include "shell/language_font.h"
#include "shell/layout_apply.h"

namespace velq::ui::testing {
namespace {

bool Checked(const WindowRig& rig, const char* name) {
    const auto* radio = qobject_cast<const QRadioButton*>(rig.Control(name));
    return radio != nullptr && radio->isChecked();
}

TEST(MainWindowStartTest, BuildsEveryPageAndNamedControlInTheNoDeviceState) {
    WindowRig rig;
    rig.Start();
    const MainWindow& window = *rig.window;
    EXPECT_EQ(window.windowTitle(), QString::fromUtf8(kMainWindowCaption));
    EXPECT_TRUE(window.windowFlags() & Qt::FramelessWindowHint);
    EXPECT_EQ(window.size(), QSize(1030, 662));
    for (const char* name :
         {"gbPage1",     "gbPage2",     "gbPage3",     "gbPage4",       "gbPage5",
          "gbPage6",     "Key1",        "Key9",        "Img_Key1",      "Btn_Apply_1",
          "Btn_Apply_4", "Img_Main_1",  "cb_CPI1",     "rb_1",          "rb_7",
          "Img_P1",      "Img_P5",      "lbl_Content", "Disable_All_4", "Pnl_Main",
          "Key_WWWStop", "slider_DPI8", "LB_macro",    "CB_Insert",     "Btn_FireConfirm"}) {
        ASSERT_NE(rig.Control(name), nullptr) << name;
        EXPECT_EQ(rig.Control(name)->objectName(), QString::fromUtf8(name));
    }
    EXPECT_TRUE(window.unknown_controls().empty())
        << window.unknown_controls().front().toStdString();
    // No device: first page shown and covered, office tab current, language 1.
    EXPECT_TRUE(window.no_device_page());
    EXPECT_FALSE(window.device_handle_present());
    EXPECT_TRUE(rig.Control("gbPage1")->isVisible());
    EXPECT_FALSE(rig.Control("gbPage2")->isVisible());
    EXPECT_TRUE(rig.Control("Disable_All_1")->isVisible());
    EXPECT_TRUE(Checked(rig, "rb_1"));
    EXPECT_TRUE(Checked(rig, "rb_Lang1"));
    EXPECT_EQ(rig.Picture("Img_Main_1"), "SetS_03");
    EXPECT_EQ(rig.Picture("Img_Adv_1"), "SetS_01");
    EXPECT_EQ(rig.Picture("Img_Base_1"), "L1_BackGround");
    EXPECT_EQ(rig.Picture("Img_P1"), "L1_Back1");
    EXPECT_EQ(rig.Text("Btn_Main_1"), CaptionOf(1, "Str004"));
    EXPECT_EQ(rig.Text("Btn_Breath_3"), QStringLiteral("Luz"));
    const auto* dpi = qobject_cast<const QComboBox*>(rig.Control("cb_CPI7"));
    ASSERT_EQ(dpi->count(), 12);
    EXPECT_EQ(dpi->itemText(0), QStringLiteral("500"));
    EXPECT_EQ(dpi->itemText(11), QStringLiteral("8000"));  // "Luz " loses its blank
    EXPECT_EQ(QApplication::applicationDisplayName(), QStringLiteral("USB Gaming Mouse"));
}

TEST(MainWindowStartTest, ButtonLabelsLieOnTheirPicturesAsTheLayoutSays) {
    WindowRig rig;
    rig.Start();
    for (int copy = 1; copy <= 4; ++copy) {
        const QString n = QString::number(copy);
        const QWidget* label = rig.window->Control(QStringLiteral("Btn_Apply_") + n);
        const QWidget* picture = rig.window->Control(QStringLiteral("Img_Apply_") + n);
        EXPECT_EQ(label->geometry(), picture->geometry()) << copy;
        EXPECT_EQ(label->parentWidget(), rig.window->Control(QStringLiteral("gbPage") + n));
    }
    // The language buttons are off in the first layout.
    EXPECT_TRUE(rig.Control("Btn_Lang2_1")->isHidden());
    EXPECT_TRUE(rig.Control("Img_Lang2_1")->isHidden());
}

TEST(MainWindowLanguageTest, SwitchChangesCaptionsAndLayoutAndKeepsThePage) {
    WindowRig rig;
    rig.Start();
    rig.Unblock();
    rig.Click("Btn_Breath_2");
    ASSERT_EQ(rig.window->current_page(), Page::kLight);
    auto* insert = qobject_cast<QComboBox*>(rig.Control("CB_Insert"));
    insert->setCurrentIndex(3);

    ASSERT_TRUE(rig.window->SwitchLanguage(2).ok);
    EXPECT_EQ(rig.window->language(), 2);
    EXPECT_EQ(rig.Text("Btn_Main_1"), QString::fromUtf8("办公模式"));
    EXPECT_EQ(rig.Text("Btn_Confirm_4"), QString::fromUtf8("确认"));
    EXPECT_EQ(insert->itemText(0), CaptionOf(2, "Str410"));
    EXPECT_EQ(insert->currentIndex(), 3);
    // Layout 2 shows the language buttons that layout 1 hides.
    EXPECT_FALSE(rig.Control("Btn_Lang2_1")->isHidden());
    EXPECT_EQ(rig.Picture("Img_Lang2_1"), "Lang_03");
    EXPECT_EQ(rig.Picture("Img_Lang1_3"), "Lang_01");
    EXPECT_TRUE(Checked(rig, "rb_Lang2"));
    // The light page is still the current one, with its tab marked and its picture reloaded.
    EXPECT_EQ(rig.window->current_page(), Page::kLight);
    EXPECT_TRUE(rig.Control("gbPage3")->isVisible());
    EXPECT_FALSE(rig.Control("gbPage1")->isVisible());
    EXPECT_TRUE(Checked(rig, "rb_5"));
    EXPECT_EQ(rig.Picture("Img_Breath_1"), "SetS_03");
    EXPECT_EQ(rig.Picture("Img_Main_1"), "SetS_01");
    // Language 2's background is a stand-in without artwork: language 1's artwork is shown.
    EXPECT_EQ(rig.Picture("Img_Base_2"), "L2_BackGround");
    EXPECT_EQ(qobject_cast<QLabel*>(rig.Control("Img_Base_2"))->pixmap().size(), QSize(1030, 662));

    // Clicking language 3's button (shown in layout 2) switches again.
    rig.Click("Btn_Lang3_1");
    EXPECT_EQ(rig.window->language(), 3);
    EXPECT_EQ(rig.Text("Btn_Main_2"), QString::fromUtf8("辦公模式"));
    EXPECT_EQ(rig.window->current_page(), Page::kLight);
}

// The controls take the caption font of the language in use, in the families of its script (a
// control with a size of its own keeps the family), shaped as any text in every language.
TEST(MainWindowLanguageTest, ControlsTakeTheLanguagesCaptionFont) {
    WindowRig rig;
    rig.Start();
    for (const int language : {1, 2, 3, 2, 1}) {
        SCOPED_TRACE(language);
        ASSERT_TRUE(rig.window->SwitchLanguage(language).ok);
        QStringList families;
        for (const std::string& family : FontFamiliesFor(
                 CaptionOf(language, "FontName").toStdString(), CaptionScriptOf(language))) {
            families << QString::fromStdString(family);
        }
        ASSERT_FALSE(families.isEmpty());
        for (const char* control : {"Btn_Main_1", "Key1", "lbl_Content"}) {
            SCOPED_TRACE(control);
            const QFont font = rig.Control(control)->font();
            EXPECT_EQ(font.families(), families);
            EXPECT_EQ(font.styleStrategy(), QFont::PreferDefault);
        }
    }
}

// The button labels show the names of the codes the device flows hold; the window never
// guesses a name back from a caption ("Pare" is both media stop and web stop) but tells its
// listeners each language it applied, and only those it applied.
TEST(MainWindowLanguageTest, SwitchLeavesTheButtonLabelsToTheFlowsAndSaysWhichLanguage) {
    WindowRig rig;
    rig.Start();
    std::vector<int> told;
    QObject::connect(rig.window.get(), &MainWindow::languageChanged,
                     [&told](int language) { told.push_back(language); });
    const char* const shown[] = {"Pare", "DPI", "no such caption"};
    const char* const labels[] = {"Key1", "Key2", "Key3"};
    for (int i = 0; i < 3; ++i) {
        qobject_cast<QLabel*>(rig.Control(labels[i]))->setText(QString::fromUtf8(shown[i]));
    }
    for (const int language : {2, 3, 1}) {
        ASSERT_TRUE(rig.window->SwitchLanguage(language).ok);
        for (int i = 0; i < 3; ++i) {
            EXPECT_EQ(rig.Text(labels[i]), QString::fromUtf8(shown[i]))
                << "language " << language << " " << labels[i];
        }
    }
    EXPECT_FALSE(rig.window->SwitchLanguage(4).ok);
    EXPECT_EQ(told, (std::vector<int>{2, 3, 1}));
}

// A layout whose key is missing or not a number stops start-up with its name and section.
TEST(MainWindowLayoutErrorTest, MissingOrBadKeyStopsStartUpNamingIt) {
    struct Case {
        const char* key;
        const char* replacement;  // nullptr: the key is left out
    };
    const Case cases[] = {{"Size_A", nullptr}, {"Btn_A2_X", "12a"}, {"Key_Width", nullptr}};
    for (const Case& c : cases) {
        std::string text = LayoutTextWithout(1, c.key);
        if (c.replacement != nullptr) {
            text += std::string(c.key) + "=" + c.replacement + "\r\n";
        }
        WindowRig rig({}, [text](const LayoutContext& context) {
            LayoutResult<ConfigSection> section = ParseConfigText(text, "org1");
            if (!section) {
                return LayoutResult<LayoutPlan>::Failure(section.error);
            }
            return ApplyLayout(*section.value, context);
        });
        const ShellResult started = rig.window->Start();
        ASSERT_FALSE(started.ok) << c.key;
        EXPECT_TRUE(started.error.contains(QString::fromUtf8(c.key), Qt::CaseInsensitive))
            << started.error.toStdString();
        EXPECT_TRUE(started.error.contains(QStringLiteral("org1"), Qt::CaseInsensitive))
            << started.error.toStdString();
    }
}

TEST(MainWindowLayoutErrorTest, FaultyLayoutRefusesTheSwitchAndLeavesTheWindowAsItWas) {
    WindowRig rig({}, [](const LayoutContext& context) {
        if (context.language == 2) {
            LayoutResult<ConfigSection> section =
                ParseConfigText(LayoutTextWithout(2, "P3_X"), "org2");
            return ApplyLayout(*section.value, context);
        }
        return ApplyLayout(context);
    });
    rig.Start();
    const QRect apply = rig.Control("Btn_Apply_1")->geometry();
    const ShellResult switched = rig.window->SwitchLanguage(2);
    ASSERT_FALSE(switched.ok);
    EXPECT_TRUE(switched.error.contains(QStringLiteral("P3_X"))) << switched.error.toStdString();
    EXPECT_EQ(rig.window->language(), 1);
    EXPECT_EQ(rig.Text("Btn_Main_1"), CaptionOf(1, "Str004"));
    EXPECT_EQ(rig.Control("Btn_Apply_1")->geometry(), apply);
    EXPECT_EQ(rig.Picture("Img_Lang1_1"), "Lang_03");

    // Clicking a language button shows the reason in the message window.
    rig.messages.Clear();
    rig.Control("Btn_Lang2_1")->show();
    rig.Click("Btn_Lang2_1");
    ASSERT_EQ(rig.messages.messages().size(), 1u);
    EXPECT_TRUE(rig.messages.messages()[0].contains(QStringLiteral("P3_X")));
}

TEST(MainWindowStartTest, MissingPictureResourceStopsStartUp) {
    WindowRig rig({}, [](const LayoutContext& context) {
        LayoutResult<LayoutPlan> plan = ApplyLayout(context);
        plan.value->ops.push_back({LayoutOpKind::kPicture, "Img_P2", "", 0, 0, 0, 0, "L1_Back9"});
        return plan;
    });
    const ShellResult started = rig.window->Start();
    ASSERT_FALSE(started.ok);
    EXPECT_TRUE(started.error.contains(QStringLiteral("L1_Back9"))) << started.error.toStdString();
}

}  // namespace
}  // namespace velq::ui::testing
