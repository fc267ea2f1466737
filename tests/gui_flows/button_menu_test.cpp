// The function menu of the button labels, through the real window on the virtual mouse: where
// it opens, what its entries open, the left-click rule, and what Apply then stores.
#include <QApplication>
#include <QComboBox>
#include <QElapsedTimer>
#include <QLabel>
#include <QLineEdit>
#include <QPointer>
#include <QPushButton>
#include <QRadioButton>
#include <QTest>

#include <gtest/gtest.h>

#include <functional>
#include <memory>

#include "buttons/menu_rules.h"
#include "buttons/ui/editor_dialog.h"
#include "buttons/ui/function_menus.h"
#include "device/virtual_backend.h"
#include "device/virtual_mouse.h"
#include "flows/ui/device_controller.h"
#include "gui/gui_test_rig.h"
#include "gui_flows/gui_flows_fixture.h"
#include "image/memory_map.h"

namespace velq::ui::testing {
namespace {

class ButtonMenu : public GuiFlowsTest {
protected:
    void SetUp() override {
        GuiFlowsTest::SetUp();
        StartReady();
    }

    QString Caption(const char* name) const {
        return rig.Control(name)->property("text").toString();
    }

    const FunctionCode& Office(int button) const {
        return rig.window->shown_config().office[static_cast<size_t>(button - 1)];
    }
    const FunctionCode& Gaming(int button) const {
        return rig.window->shown_config().gaming[static_cast<size_t>(button - 1)];
    }

    // Apply, then the mouse's bytes of a profile's button.
    std::array<uint8_t, 3> StoredAfterApply(uint16_t address) {
        RunFlow("Btn_Apply_1");
        const VirtualMouse::Memory memory = mouse->MemoryCopy();
        return {memory[address], memory[address + 1u], memory[address + 2u]};
    }
};

TEST_F(ButtonMenu, OpensAtTheLabelAndItsEntriesOpenTheirSubmenus) {
    rig.Click("Key3");
    QWidget* main = rig.Control("Pnl_Main");
    ASSERT_TRUE(main->isVisible());
    const QRect label = rig.Control("Key3")->geometry();
    const QSize background = main->parentWidget()->size();
    const MenuPoint at =
        PlaceMenuAtLabel({label.x(), label.y(), label.width(), label.height()}, main->width(),
                         main->height(), background.width(), background.height());
    EXPECT_EQ(main->pos(), QPoint(at.left, at.top));
    EXPECT_TRUE(rig.Control("Key_FireMacro")->isVisibleTo(main));
    EXPECT_FALSE(rig.Control("Key_TLFireMacro")->isVisibleTo(main));
    // Without guns the panel ends above the fire macro row: only the panel height with guns
    // uncovers it.
    const int fire_row_middle = rig.Control("Key_FireMacro")->geometry().center().y();
    EXPECT_GT(fire_row_middle, main->height());
    EXPECT_LT(fire_row_middle, rig.window->org().main_panel_height_with_gun);
    EXPECT_LT(rig.Control("Key_Macro")->geometry().bottom(), main->height());

    rig.Enter("Key_Media");
    EXPECT_TRUE(rig.Control("Pnl_Media")->isVisible());
    rig.Enter("Key_Special");
    EXPECT_FALSE(rig.Control("Pnl_Media")->isVisible());
    EXPECT_TRUE(rig.Control("Pnl_Special")->isVisible());
    rig.Enter("Key_CPIKey");  // inside the special panel: both stay open
    EXPECT_TRUE(rig.Control("Pnl_CPIKey")->isVisible());
    EXPECT_TRUE(rig.Control("Pnl_Special")->isVisible());
    rig.Enter("Key_Fire");
    EXPECT_FALSE(rig.Control("Pnl_CPIKey")->isVisible());
    rig.Enter("Key_Assembly");
    EXPECT_FALSE(rig.Control("Pnl_Special")->isVisible());

    // A press anywhere else closes every menu.
    QTest::mousePress(rig.Control("Img_P1"), Qt::LeftButton);
    EXPECT_FALSE(main->isVisible());
}

// The pointer over a label lights its picture; either picture keeps the width the layout gave
// it, so the page's connector beside it stays in view.
TEST_F(ButtonMenu, PointingAtALabelKeepsItsPictureInPlace) {
    QWidget* picture = rig.Control("Img_Key3");
    const QRect laid_out = picture->geometry();
    rig.Enter("Key3");
    EXPECT_EQ(rig.Picture("Img_Key3"), QStringLiteral("KeyS_02"));
    EXPECT_EQ(picture->geometry(), laid_out);
    rig.Leave("Key3");
    EXPECT_EQ(rig.Picture("Img_Key3"), QStringLiteral("KeyS_01"));
    EXPECT_EQ(picture->geometry(), laid_out);
}

// A menu that opened over a label and closed again leaves the label's picture in the width the
// layout gave it, on both profile pages.
TEST_F(ButtonMenu, AMenuThatOpenedAndClosedKeepsTheLabelsWidth) {
    for (const Page page : {Page::kOffice, Page::kGaming}) {
        rig.window->ClickTab(page);
        QWidget* picture = rig.Control("Img_Key3");
        const QRect laid_out = picture->geometry();
        rig.Enter("Key3");
        rig.Click("Key3");
        ASSERT_TRUE(rig.Control("Pnl_Main")->isVisible());
        EXPECT_EQ(picture->geometry(), laid_out);
        QTest::mousePress(rig.Control("Img_P1"), Qt::LeftButton);
        ASSERT_FALSE(rig.Control("Pnl_Main")->isVisible());
        rig.Leave("Key3");
        EXPECT_EQ(picture->geometry(), laid_out);
        rig.Enter("Key3");
        EXPECT_EQ(picture->geometry(), laid_out);
        rig.Leave("Key3");
    }
}

TEST_F(ButtonMenu, OneButtonOfTheProfileStaysTheLeftClick) {
    const QString left_click = CaptionOf(1, "Str210");
    ASSERT_EQ(Caption("Key1"), left_click);
    const FunctionCode before = Office(1);
    // The only left click cannot become another function...
    Choose("Key1", {"Key_Standard", "Key_Right"});
    EXPECT_EQ(Caption("Key1"), left_click);
    EXPECT_EQ(Office(1), before);
    ASSERT_EQ(rig.messages.messages().size(), 1u);
    EXPECT_EQ(rig.messages.messages()[0], CaptionOf(1, "Str108"));
    // ... until another button is the left click too; then that one is bound.
    Choose("Key8", {"Key_Standard", "Key_Left"});
    EXPECT_EQ(Caption("Key8"), left_click);
    Choose("Key1", {"Key_Standard", "Key_Right"});
    EXPECT_EQ(Caption("Key1").trimmed(), CaptionOf(1, "Str211").trimmed());
    EXPECT_EQ(CodeText(Office(1)), "010200");
    rig.messages.Clear();
    Choose("Key8", {"Key_Media", "Key_Mute"});
    EXPECT_EQ(Caption("Key8"), left_click);
    EXPECT_EQ(rig.messages.messages().size(), 1u);
    // Choosing the left click itself always passes.
    rig.messages.Clear();
    Choose("Key8", {"Key_Standard", "Key_Left"});
    EXPECT_TRUE(rig.messages.messages().empty());
}

TEST_F(ButtonMenu, GamingButtonSixBecomesTheDesktopKeyAndApplyStoresIt) {
    rig.Click("Btn_Second_1");
    ASSERT_TRUE(qobject_cast<QRadioButton*>(rig.Control("rb_2"))->isChecked());
    const FunctionCode office_six = Office(6);
    Choose("Key6", {"Key_MyPC", "Key_Desktop"});
    EXPECT_EQ(Caption("Key6"), CaptionOf(1, "Str243"));
    EXPECT_EQ(CodeText(Gaming(6)), "020807");
    EXPECT_EQ(Office(6), office_six);
    const auto stored = StoredAfterApply(0x5B + 3 * 5);
    EXPECT_EQ(stored, (std::array<uint8_t, 3>{0x02, 0x08, 0x07}));
    EXPECT_TRUE(rig.messages.messages().empty());
    // The office page's sixth label still shows its own profile.
    rig.Click("Btn_Main_1");
    EXPECT_NE(Caption("Key6"), CaptionOf(1, "Str243"));
}

TEST_F(ButtonMenu, WithNoProfileTabSelectedOnlyTheCaptionChanges) {
    // Another page's tab took the selection (the profile radios are exclusive with it).
    qobject_cast<QRadioButton*>(rig.Control("rb_4"))->setChecked(true);
    ASSERT_FALSE(qobject_cast<QRadioButton*>(rig.Control("rb_1"))->isChecked());
    const MouseConfig before = rig.window->shown_config();
    Choose("Key4", {"Key_Media", "Key_Stop"});
    EXPECT_EQ(Caption("Key4"), CaptionOf(1, "Str251"));
    EXPECT_EQ(rig.window->shown_config(), before);
}

TEST_F(ButtonMenu, FactoryColumnsCheckOnlyTheirOwnProfile) {
    rig.window->EngineerUnlock();
    rig.window->ClickTab(Page::kEngineering);
    const QString left_click = CaptionOf(1, "Str210");
    ASSERT_EQ(Caption("btn_Key201"), left_click);
    // The gaming column's only left click is bound, whatever the office column holds.
    rig.Click("btn_Key201");
    QWidget* main = rig.Control("Pnl_Main");
    ASSERT_TRUE(main->isVisible());
    EXPECT_EQ(main->parentWidget()->objectName(), QStringLiteral("gbPage6"));
    EXPECT_FALSE(rig.Control("Key_FireMacro")->isVisibleTo(main));
    rig.Enter("Key_Standard");
    rig.Click("Key_Right");
    EXPECT_EQ(Caption("btn_Key201"), left_click);
    EXPECT_EQ(rig.messages.messages().size(), 1u);
    // Another gaming button changes freely, and the code lands in the gaming profile.
    rig.Click("btn_Key203");
    rig.Enter("Key_WWW");
    rig.Click("Key_WWWHome");
    EXPECT_EQ(Caption("btn_Key203"), CaptionOf(1, "Str260"));
    EXPECT_EQ(CodeText(Gaming(3)), "030223");
    const auto stored = StoredAfterApply(0x5B + 3 * 2);
    EXPECT_EQ(stored, (std::array<uint8_t, 3>{0x03, 0x02, 0x23}));
}

// A key combination from the dialog replaces even the only left click, without a word, and is
// named like the predefined function with the same code.
TEST_F(ButtonMenu, KeyCombinationFromTheDialogIsAssigned) {
    rig.Click("Key1");
    rig.Click("Key_Assembly");
    QPointer<EditorDialogFrame> dialog = rig.window->findChild<EditorDialogFrame*>();
    ASSERT_FALSE(dialog.isNull());
    auto* win = dialog->findChild<QWidget*>(QStringLiteral("CB_Win"));
    ASSERT_NE(win, nullptr);
    QTest::mouseClick(win, Qt::LeftButton, {}, win->rect().center());
    QTest::keyClick(dialog->field(), Qt::Key_D);
    auto* confirm = dialog->findChild<QWidget*>(QStringLiteral("IB_Confirm"));
    QTest::mouseClick(confirm, Qt::LeftButton, {}, confirm->rect().center());
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    EXPECT_TRUE(dialog.isNull());
    EXPECT_EQ(CodeText(Office(1)), "020807");
    EXPECT_EQ(Caption("Key1"), CaptionOf(1, "Str243"));
    EXPECT_TRUE(rig.messages.messages().empty());
    const auto stored = StoredAfterApply(0x40);
    EXPECT_EQ(stored, (std::array<uint8_t, 3>{0x02, 0x08, 0x07}));
}

// The long-press options: middle and DPI exclude each other, the gun key's combines.
TEST_F(ButtonMenu, ComboKeysExcludeEachOtherAndApplyStoresThem) {
    const auto ticked = [this](int n) {
        return rig.window->PictureOf(QStringLiteral("Img_ComboKey%1").arg(n)) ==
               QStringLiteral("CbS_E");
    };
    const MouseConfig& shown = rig.window->shown_config();
    ASSERT_FALSE(shown.options.middle_long_press);
    rig.Click("IB_ComboKey1");
    EXPECT_TRUE(ticked(1));
    rig.Click("IB_ComboKey2");
    EXPECT_FALSE(ticked(1));
    EXPECT_TRUE(ticked(2));
    rig.Click("Btn_Second_1");  // the gun key's option shows on the gaming page
    rig.Click("IB_ComboKey3");
    EXPECT_TRUE(ticked(2));
    EXPECT_TRUE(ticked(3));
    EXPECT_FALSE(shown.options.middle_long_press);
    EXPECT_TRUE(shown.options.dpi_long_press);
    EXPECT_TRUE(shown.options.gun_long_press);
    const uint8_t options = StoredAfterApply(0x01)[0];
    EXPECT_EQ(options & 0x07, 0x06);
    rig.Click("IB_ComboKey1");
    EXPECT_TRUE(ticked(1));
    EXPECT_FALSE(ticked(2));
    rig.Click("Img_ComboKey2");  // the check pictures answer as their captions do
    EXPECT_FALSE(ticked(1));
    EXPECT_TRUE(ticked(2));
}

// A change made through a menu or option keeps what was typed on the factory page and not yet
// applied.
TEST_F(ButtonMenu, ChangesKeepUnappliedValuesOfOtherPages) {
    rig.window->EngineerUnlock();
    rig.window->ClickTab(Page::kEngineering);
    auto* level = qobject_cast<QComboBox*>(rig.Control("cb_CPI2"));
    ASSERT_NE(level, nullptr);
    level->setCurrentIndex(level->currentIndex() == 5 ? 6 : 5);
    const int chosen = level->currentIndex();
    rig.window->ClickTab(Page::kOffice);
    Choose("Key3", {"Key_Media", "Key_Mute"});
    rig.Click("IB_ComboKey1");
    EXPECT_EQ(level->currentIndex(), chosen);
    EXPECT_EQ(rig.window->shown_config().dpi.levels[1].value, chosen);
}

TEST_F(ButtonMenu, FunctionsAppliedReadBackAfterARestart) {
    Choose("Key5", {"Key_Special", "Key_CPIKey", "Key_CPII"});
    Choose("Key7", {"Key_Media", "Key_VolumePlus"});
    EXPECT_EQ(CodeText(Office(5)), "070000");
    StoredAfterApply(0x40);
    // A new window on the same mouse reads them back.
    controller.reset();
    WindowRig second;
    second.Start();
    DeviceControllerParts parts;
    parts.window = second.window.get();
    parts.messages = &second.messages;
    parts.files = &second.files;
    parts.backend = backend.get();
    parts.clock = &clock;
    DeviceController reader(std::move(parts));
    QString error;
    ASSERT_TRUE(reader.Start(error));
    ASSERT_TRUE(WaitFor([&] { return !second.window->no_device_page(); }));
    EXPECT_EQ(second.Control("Key5")->property("text").toString(), CaptionOf(1, "Str232"));
    EXPECT_EQ(second.Control("Key7")->property("text").toString(), CaptionOf(1, "Str254"));
}

// The special panel shows what the program settings name, in their order, 25 pixels apart.
TEST(ButtonMenuSpecial, SpecialConfigArrangesTheSpecialPanel) {
    EnsureApplication();
    WindowRig rig([](OrgSettings& org) { org.special_config = "Key_Fire,Key_CPIKey"; });
    rig.Start();
    QWidget* panel = rig.Control("Pnl_Special");
    ASSERT_NE(panel, nullptr);
    EXPECT_EQ(panel->height(), 52);
    EXPECT_EQ(rig.Control("Key_Fire")->y(), 0);
    EXPECT_EQ(rig.Control("Key_CPIKey")->y(), 25);
    EXPECT_EQ(rig.Control("ST_CPIKey")->y(), 25);
    for (const char* hidden : {"Key_AIMKey", "Key_LEDMode", "Key_KeyOff", "Key_FnFire"}) {
        EXPECT_TRUE(rig.Control(hidden)->isHidden()) << hidden;
    }
    // A language switch keeps the arrangement.
    ASSERT_TRUE(rig.window->SwitchLanguage(3).ok);
    EXPECT_EQ(rig.Control("Key_CPIKey")->y(), 25);
    EXPECT_EQ(panel->height(), 52);
}

}  // namespace
}  // namespace velq::ui::testing
