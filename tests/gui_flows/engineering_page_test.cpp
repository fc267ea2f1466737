#include <QApplication>

#include <gtest/gtest.h>

#include "flows/ui/page_values.h"
#include "gui/gui_test_rig.h"

namespace velq::ui::testing {
namespace {

// Every field of the engineering record has its control on the factory page.
TEST(EngineeringPage, EveryRecordFieldHasItsControl) {
    EnsureApplication();
    WindowRig rig;
    rig.Start();
    rig.window->EnsureEngineeringPage();
    for (const char* name : PageValueControls()) {
        EXPECT_NE(rig.window->Control(QString::fromLatin1(name)), nullptr) << name;
    }
}

// A record shown on the page reads back unchanged: the lists hold their items, the radio
// pairs stay exclusive, the numbers survive their fields.
TEST(EngineeringPage, RecordShownAndReadBackIsTheSame) {
    EnsureApplication();
    WindowRig rig;
    rig.Start();
    rig.window->EnsureEngineeringPage();
    EngineeringValues values;
    values.rb_B4CPIOn = false;
    values.rb_FireFnOn = false;
    values.rb_Save = false;
    values.cb_SensorOri = 7;
    values.gbLEDType = LedType::BreLED;
    values.cb_MidPress = true;
    values.cb_Smooth = true;
    values.cb_CPIStep = 5;
    values.cb_CPI1 = 11;
    values.cb_CPI7 = 3;
    values.edt_CPI4G = 200;
    values.cb_CurrentCPI = 6;
    values.rb_MCULED3Control = false;
    values.edt_MCULEDNum = 7;
    values.cb_Mode3 = false;
    values.cb_MCULEDCurrentMode = 4;
    values.cb_RBLEDCurrentMode = 6;
    values.edt_MCULEDCrtStep = 5;
    values.rb_LEDOn = false;
    values.cb_KeyMode = 1;
    values.edt_VendorID = 18;
    values.edt_ProductID = 52;
    values.cb_IsFireContinue = false;
    values.cb_FireCount = 255;
    values.edt_FireTime = 96;
    values.edt_YOffset10 = -12;
    values.edt_FireMacroColor10B = 77;
    ShowPageValues(*rig.window, values);
    EngineeringValues read;
    ReadPageValues(*rig.window, read);
    EXPECT_TRUE(read == values);
    EXPECT_EQ(read.cb_SensorOri, 7);
    EXPECT_EQ(read.gbLEDType, LedType::BreLED);
    EXPECT_EQ(read.cb_FireCount, 255);
    EXPECT_EQ(read.edt_YOffset10, -12);
}

TEST(EngineeringPage, CommandRowReturnsToThePages) {
    EnsureApplication();
    WindowRig rig;
    rig.Start();
    rig.Unblock();
    rig.window->EngineerUnlock();
    rig.window->ClickTab(Page::kEngineering);
    ASSERT_EQ(rig.window->current_page(), Page::kEngineering);
    rig.Click("btn_EngLight");
    EXPECT_EQ(rig.window->current_page(), Page::kLight);
}

}  // namespace
}  // namespace velq::ui::testing
