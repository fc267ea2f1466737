// Page tabs, hover pictures, scrolling caption, web button, status line and window chrome of
// the real window, driven by object name.
#include <QApplication>
#include <QComboBox>
#include <QRadioButton>
#include <QStatusTipEvent>
#include <QTest>

#include <gtest/gtest.h>

#include <functional>

#include "gui_test_rig.h"

namespace velq::ui::testing {
namespace {

struct TabCase {
    const char* label;
    Page page;
    const char* container;
    const char* radio;
    const char* picture_stem;  // "Img_Adv_": the four tab pictures
};

const TabCase kTabCases[] = {
    {"Btn_Second_1", Page::kGaming, "gbPage1", "rb_2", "Img_Second_"},
    {"Btn_Adv_2", Page::kAdvanced, "gbPage2", "rb_4", "Img_Adv_"},
    {"Btn_Breath_3", Page::kLight, "gbPage3", "rb_5", "Img_Breath_"},
    {"Btn_Macro_4", Page::kMacro, "gbPage4", "rb_6", "Img_Macro_"},
    {"Btn_Engineer_1", Page::kEngineering, "gbPage6", "rb_7", "Img_Engineer_"},
};

TEST(NavigationTest, WithoutDeviceHandleEveryTabOnlyShowsTheSearchMessage) {
    WindowRig rig;
    rig.Start();
    rig.window->SetNoDevicePage(false);
    for (const TabCase& tab : kTabCases) {
        rig.messages.Clear();
        rig.Click(tab.label);
        ASSERT_EQ(rig.messages.messages().size(), 1u) << tab.label;
        EXPECT_EQ(rig.messages.messages()[0], CaptionOf(1, "Str020"));
        EXPECT_EQ(rig.window->current_page(), Page::kOffice) << tab.label;
        EXPECT_TRUE(rig.Control("gbPage1")->isVisible()) << tab.label;
        EXPECT_EQ(rig.Picture("Img_Main_1"), "SetS_03") << tab.label;
    }
}

TEST(NavigationTest, OnTheNoDevicePageTabsDoNothingAtAll) {
    WindowRig rig;
    rig.Start();
    rig.window->SetDeviceHandlePresent(true);
    ASSERT_TRUE(rig.window->no_device_page());
    for (const TabCase& tab : kTabCases) {
        rig.Click(tab.label);
        EXPECT_TRUE(rig.messages.messages().empty()) << tab.label;
        EXPECT_EQ(rig.window->current_page(), Page::kOffice) << tab.label;
        EXPECT_TRUE(rig.Control("gbPage1")->isVisible()) << tab.label;
        EXPECT_FALSE(rig.Control(tab.container)->isVisible() &&
                     std::string(tab.container) != "gbPage1")
            << tab.label;
    }
}

TEST(NavigationTest, UnblockedTabsOpenTheirPageAndMarkTheirFourPictures) {
    WindowRig rig;
    rig.Start();
    rig.Unblock();
    for (const TabCase& tab : kTabCases) {
        rig.Click(tab.label);
        EXPECT_EQ(rig.window->current_page(), tab.page) << tab.label;
        for (const char* container :
             {"gbPage1", "gbPage2", "gbPage3", "gbPage4", "gbPage5", "gbPage6"}) {
            EXPECT_EQ(rig.Control(container)->isVisible(), std::string(container) == tab.container)
                << tab.label << " " << container;
        }
        EXPECT_TRUE(qobject_cast<QRadioButton*>(rig.Control(tab.radio))->isChecked());
        for (int copy = 1; copy <= 4; ++copy) {
            const std::string picture = tab.picture_stem + std::to_string(copy);
            EXPECT_EQ(rig.Picture(picture.c_str()), "SetS_03") << picture;
            EXPECT_EQ(rig.Picture(("Img_Main_" + std::to_string(copy)).c_str()), "SetS_01");
        }
        const QSize expected = tab.page == Page::kEngineering ? QSize(1000, 600) : QSize(1030, 662);
        EXPECT_EQ(rig.window->size(), expected) << tab.label;
    }
    EXPECT_TRUE(rig.messages.messages().empty());
}

TEST(NavigationTest, OfficeAndGamingSetKeyModeAndMenuHeight) {
    for (bool guns : {false, true}) {
        WindowRig rig([guns](OrgSettings& org) { org.gun_display = guns; });
        rig.Start();
        rig.Unblock();
        const OrgSettings& org = rig.window->org();
        auto* key_mode = qobject_cast<QComboBox*>(rig.Control("cb_KeyMode"));
        rig.Click("Btn_Second_1");
        EXPECT_EQ(key_mode->currentIndex(), 1);
        EXPECT_EQ(rig.Control("Pnl_Main")->height(),
                  guns ? org.main_panel_height_with_gun : org.main_panel_height_without_gun);
        EXPECT_EQ(rig.Control("IB_ComboKey3")->isVisible(),
                  guns && rig.window->style().combo_key3_permitted);
        rig.Click("Btn_Main_1");
        EXPECT_EQ(key_mode->currentIndex(), 0);
        EXPECT_EQ(rig.Control("Pnl_Main")->height(), org.main_panel_height_without_gun);
        EXPECT_FALSE(rig.Control("IB_ComboKey3")->isVisible());
    }
}

// Every way of closing the menus closes the PC macro pop-up with them, and leaves the macro
// page's own lists and buttons open.
TEST(NavigationTest, ClosingTheMenusClosesThePcMacroPanelToo) {
    WindowRig rig;
    rig.Start();
    rig.Unblock();
    rig.Click("Btn_Macro_1");
    ASSERT_EQ(rig.window->current_page(), Page::kMacro);
    const char* const popups[] = {"Pnl_PCMacro", "Pnl_Main", "Pnl_Special", "Pnl_Media", "LB_Name"};
    const char* const page_controls[] = {"LB_PCMacroName", "LB_macro", "Btn_Start"};
    struct Closer {
        const char* name;
        std::function<void(WindowRig&)> close;
    };
    const Closer closers[] = {
        {"HideAllMenu", [](WindowRig& r) { r.window->HideAllMenu(); }},
        {"tab click", [](WindowRig& r) { r.Click("Btn_Macro_1"); }},
        {"press on the background",
         [](WindowRig& r) { QTest::mousePress(r.Control("Img_Base_4"), Qt::LeftButton); }},
    };
    for (const Closer& closer : closers) {
        SCOPED_TRACE(closer.name);
        for (const char* popup : popups) {
            rig.Control(popup)->show();
        }
        // The panel's entries show with it.
        EXPECT_TRUE(rig.Control("Btn_NewMacro")->isVisible());
        closer.close(rig);
        for (const char* popup : popups) {
            EXPECT_TRUE(rig.Control(popup)->isHidden()) << popup;
        }
        EXPECT_FALSE(rig.Control("Btn_NewMacro")->isVisible());
        for (const char* control : page_controls) {
            EXPECT_TRUE(rig.Control(control)->isVisible()) << control;
        }
    }
}

TEST(HoverTest, LeavingAnotherTabPutsTheMarkBackOnTheCurrentPage) {
    WindowRig rig;
    rig.Start();
    rig.Unblock();
    rig.Click("Btn_Breath_1");
    rig.Enter("Btn_Adv_1");
    EXPECT_EQ(rig.Picture("Img_Adv_1"), "SetS_02");
    EXPECT_EQ(rig.Picture("Img_Adv_2"), "SetS_01");  // only the tab's own picture
    rig.Leave("Btn_Adv_1");
    EXPECT_EQ(rig.Picture("Img_Adv_1"), "SetS_01");
    for (const char* picture : {"Img_Breath_1", "Img_Breath_2", "Img_Breath_3", "Img_Breath_4"}) {
        EXPECT_EQ(rig.Picture(picture), "SetS_03") << picture;
    }
    // Hovering the current tab itself and leaving it keeps it marked.
    rig.Enter("Btn_Breath_1");
    rig.Leave("Btn_Breath_1");
    EXPECT_EQ(rig.Picture("Img_Breath_1"), "SetS_03");
}

TEST(HoverTest, FamiliesChangeTheirPictures) {
    struct Case {
        const char* label;
        const char* hovered;  // picture that changes
        const char* hover;    // its picture while the pointer is on the label
        const char* normal;   // after leaving
        const char* sibling;  // another copy: changes too for the all-copies families
        bool sibling_follows;
    };
    const Case cases[] = {
        {"Btn_Exit_2", "Img_Exit_2", "ExitS_02", "ExitS_01", "Img_Exit_4", true},
        {"Btn_Mini_1", "Img_Mini_1", "MiniS_02", "MiniS_01", "Img_Mini_3", true},
        {"Btn_Apply_3", "Img_Apply_3", "BtnS_02", "BtnS_01", "Img_Apply_1", false},
        {"Btn_Web_1", "Img_Web_1", "WebS_03", "WebS_01", "Img_Web_2", true},
    };
    WindowRig rig;
    rig.Start();
    rig.Unblock();
    for (const Case& c : cases) {
        const QString sibling_before = rig.Picture(c.sibling);
        rig.Enter(c.label);
        EXPECT_EQ(rig.Picture(c.hovered), c.hover) << c.label;
        EXPECT_EQ(rig.Picture(c.sibling), c.sibling_follows ? c.hover : sibling_before) << c.label;
        rig.Leave(c.label);
        EXPECT_EQ(rig.Picture(c.hovered), c.normal) << c.label;
        EXPECT_EQ(rig.Picture(c.sibling), c.sibling_follows ? c.normal : sibling_before) << c.label;
    }
}

TEST(HoverTest, WebPicturesStayWithoutDeviceHandleAndLanguageMarkReturns) {
    WindowRig rig;
    rig.Start();
    rig.Enter("Btn_Web_1");
    EXPECT_EQ(rig.Picture("Img_Web_1"), "WebS_01");
    rig.Leave("Btn_Web_1");
    rig.Enter("Btn_Lang1_2");
    EXPECT_EQ(rig.Picture("Img_Lang1_2"), "Lang_02");
    rig.Leave("Btn_Lang1_2");
    EXPECT_EQ(rig.Picture("Img_Lang1_2"), "Lang_03");  // language 1 is current
    rig.Enter("Btn_Lang3_2");
    rig.Leave("Btn_Lang3_2");
    EXPECT_EQ(rig.Picture("Img_Lang3_2"), "Lang_01");
}

TEST(ScrollingCaptionTest, OffInTheSettingsTheCaptionNeverMoves) {
    WindowRig rig([](OrgSettings& org) { org.text_rolling = false; });
    rig.Start();
    const QString caption = rig.Text("Btn_Main_1");
    rig.Enter("Btn_Main_1");
    QTest::qWait(650);
    EXPECT_EQ(rig.Text("Btn_Main_1"), caption);
    EXPECT_FALSE(rig.window->text_rolling_active());
    rig.Leave("Btn_Main_1");
    EXPECT_EQ(rig.Text("Btn_Main_1"), caption);
}

TEST(ScrollingCaptionTest, OnTheCaptionRunsWhileHoveredAndComesBackAfter) {
    WindowRig rig([](OrgSettings& org) { org.text_rolling = true; });
    rig.Start();
    const QString caption = rig.Text("Btn_Apply_1");
    ASSERT_FALSE(caption.isEmpty());
    rig.Enter("Btn_Apply_1");
    EXPECT_TRUE(rig.window->text_rolling_active());
    QTest::qWait(450);
    const QString rolled = rig.Text("Btn_Apply_1");
    EXPECT_NE(rolled, caption);
    EXPECT_TRUE(rolled.contains(QStringLiteral("    ")));
    rig.Leave("Btn_Apply_1");
    EXPECT_FALSE(rig.window->text_rolling_active());
    EXPECT_EQ(rig.Text("Btn_Apply_1"), caption);
}

TEST(WebButtonTest, OpensTheAddressOnlyWhenEnabled) {
    for (bool enabled : {false, true}) {
        WindowRig rig([enabled](OrgSettings& org) {
            org.web_enabled = enabled;
            org.web = "https://example.com/velq";
        });
        rig.Start();
        rig.Click("Btn_Web_3");
        EXPECT_EQ(rig.Picture("Img_Web_1"), "WebS_02");
        ASSERT_EQ(rig.opened.size(), enabled ? 1u : 0u);
        if (enabled) {
            EXPECT_EQ(rig.opened[0], QUrl(QStringLiteral("https://example.com/velq")));
        }
    }
}

TEST(ChromeTest, ReadWithoutDeviceAsksForItAndOtherFrameButtonsAreHandedOn) {
    WindowRig rig;
    rig.Start();
    QStringList handed;
    QObject::connect(rig.window.get(), &MainWindow::frameButtonClicked,
                     [&handed](const QString& name) { handed << name; });
    rig.Click("Btn_Read_2");
    ASSERT_EQ(rig.messages.messages().size(), 1u);
    EXPECT_EQ(rig.messages.messages()[0], CaptionOf(1, "Str020"));
    rig.Click("Btn_Apply_1");
    EXPECT_EQ(handed, QStringList{QStringLiteral("Btn_Apply_1")});
    EXPECT_EQ(rig.Picture("Img_Apply_1"), "BtnS_03");  // pressed picture
}

TEST(ChromeTest, StatusHintGoesToTheStatusLineAndExitCloses) {
    WindowRig rig;
    rig.Start();
    QStatusTipEvent tip(QStringLiteral("Choose a function"));
    QApplication::sendEvent(rig.window.get(), &tip);
    EXPECT_EQ(rig.Text("lbl_Content"), QStringLiteral("Choose a function"));
    rig.window->SetDeviceHandlePresent(true);
    rig.Click("Btn_Exit_1");
    EXPECT_FALSE(rig.window->isVisible());
    EXPECT_FALSE(rig.window->device_handle_present());
}

TEST(ChromeTest, CoversLieOverThePagesAndTakeTheClicks) {
    WindowRig rig;
    rig.Start();
    rig.window->SetDeviceHandlePresent(true);
    rig.window->SetNoDevicePage(false);
    QWidget* tab = rig.Control("Btn_Adv_1");
    const QPoint at = tab->mapTo(rig.Control("gbPage1"), tab->rect().center());
    EXPECT_EQ(rig.Control("gbPage1")->childAt(at), rig.Control("Disable_All_1"));
    QTest::mouseClick(rig.Control("Disable_All_1"), Qt::LeftButton, {}, at);
    EXPECT_EQ(rig.window->current_page(), Page::kOffice);
    rig.window->CoverPages(false);
    EXPECT_EQ(rig.Control("gbPage1")->childAt(at), tab);
}

}  // namespace
}  // namespace velq::ui::testing
