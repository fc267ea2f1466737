// The pop-up lists of the window's combo boxes wear the page's colours, not the desktop's.
#include <QAbstractItemView>
#include <QComboBox>

#include <gtest/gtest.h>

#include "gui_test_rig.h"
#include "shell/ui/combo_popup.h"

namespace velq::ui::testing {
namespace {

// The list's rows and their frame show the combo box's own colours.
void ExpectPopupInComboColours(const QComboBox& combo) {
    const QPalette& own = combo.palette();
    const QAbstractItemView* view = combo.view();
    for (QPalette::ColorRole role : {QPalette::Base, QPalette::Text, QPalette::Window}) {
        EXPECT_EQ(view->palette().color(role), own.color(role)) << combo.objectName().toStdString();
        EXPECT_EQ(view->window()->palette().color(role), own.color(role))
            << combo.objectName().toStdString();
    }
}

TEST(ComboPopupTest, TheSkinnedListsOfThePagesAreDarkAsTheirComboBoxes) {
    WindowRig rig;
    rig.Start();
    rig.Unblock();
    struct Case {
        Page page;
        const char* combo;
    };
    for (const Case& c : {Case{Page::kAdvanced, "cbb_DPICount"}, Case{Page::kMacro, "CB_Insert"}}) {
        rig.window->ClickTab(c.page);
        const auto* combo = qobject_cast<const QComboBox*>(rig.Control(c.combo));
        ASSERT_NE(combo, nullptr) << c.combo;
        if (c.page == Page::kAdvanced) {  // dark on the dark skin
            EXPECT_LT(combo->view()->palette().color(QPalette::Base).lightness(), 128);
        }
        ExpectPopupInComboColours(*combo);
    }
}

TEST(ComboPopupTest, TheListFollowsEveryLaterChangeOfTheComboBoxColours) {
    EnsureApplication();
    QWidget page;
    auto* combo = new QComboBox(&page);
    combo->addItems({QStringLiteral("1"), QStringLiteral("2")});
    PopupFollowsCombo(*combo);
    QPalette dark = page.palette();
    dark.setColor(QPalette::Base, QColor(20, 22, 26));
    dark.setColor(QPalette::Window, QColor(30, 32, 36));
    dark.setColor(QPalette::Text, QColor(225, 228, 234));
    page.setPalette(dark);  // the page's palette, inherited by the combo box
    ExpectPopupInComboColours(*combo);
    QPalette own = combo->palette();
    own.setColor(QPalette::Base, QColor(40, 10, 10));
    combo->setPalette(own);  // a layout step on the combo box itself
    ExpectPopupInComboColours(*combo);
    page.show();
    combo->showPopup();
    ExpectPopupInComboColours(*combo);
    combo->hidePopup();
}

}  // namespace
}  // namespace velq::ui::testing
