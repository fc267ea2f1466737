#include <gtest/gtest.h>

#include <QTest>

#include "gui/gui_test_rig.h"

namespace velq::ui::testing {
namespace {

// The engineering tab is hidden until the logo is double-clicked; a double click elsewhere on
// the background does nothing.
TEST(EngineerUnlock, DoubleClickOnTheLogoShowsTheEngineeringTab) {
    EnsureApplication();
    WindowRig rig;
    rig.Start();
    for (const char* name : {"Img_Engineer_1", "Btn_Engineer_1", "Btn_Engineer_4"}) {
        EXPECT_TRUE(rig.Control(name)->isHidden()) << name;
    }
    QWidget* base = rig.Control("Img_Base_1");
    QTest::mouseDClick(base, Qt::LeftButton, {}, QPoint(600, 400));
    EXPECT_TRUE(rig.Control("Btn_Engineer_1")->isHidden());
    QTest::mouseDClick(base, Qt::LeftButton, {}, MainWindow::LogoArea().center());
    for (const char* name : {"Img_Engineer_1", "Btn_Engineer_1", "Btn_Engineer_4"}) {
        EXPECT_FALSE(rig.Control(name)->isHidden()) << name;  // on its page
    }
}

}  // namespace
}  // namespace velq::ui::testing
