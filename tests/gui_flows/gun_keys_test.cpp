// The gun key list through the real window: loaded from its file, added to and deleted from on
// the factory page, listed in the button menu and given to a factory page button.
#include <QListWidget>
#include <QTemporaryDir>

#include <array>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <vector>

#include "config/ui/engineering_page.h"
#include "gui_flows/gui_flows_fixture.h"

namespace velq::ui::testing {
namespace {

class GunKeysTest : public GuiFlowsTest {
protected:
    void SetUp() override {
        GuiFlowsTest::SetUp();
        ASSERT_TRUE(data_home.isValid());
        qputenv("XDG_DATA_HOME", data_home.path().toUtf8());
        std::filesystem::create_directories(Folder());
    }

    std::filesystem::path Folder() const {
        return std::filesystem::path(data_home.path().toStdString()) / "velq540b";
    }
    std::filesystem::path File() const { return Folder() / "VELQ540B Fire Macro.bin"; }
    std::vector<uint8_t> FileBytes() const {
        std::ifstream in(File(), std::ios::binary);
        return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
    }
    void WriteFile(const std::vector<uint8_t>& bytes) const {
        std::ofstream(File(), std::ios::binary)
            .write(reinterpret_cast<const char*>(bytes.data()),
                   static_cast<std::streamsize>(bytes.size()));
    }

    // The window ready on the factory page with the gun key list loaded, as start-up loads it.
    void OpenFactoryPage() {
        StartReady();
        rig.window->EngineerUnlock();
        rig.window->ClickTab(Page::kEngineering);
        auto* factory = rig.window->PageOf<EngineeringPage>();
        ASSERT_NE(factory, nullptr);
        factory->gun_keys().Load();
    }

    QStringList Names(const char* list_name) const {
        QStringList names;
        const auto* list = qobject_cast<QListWidget*>(rig.Control(list_name));
        for (int i = 0; list != nullptr && i < list->count(); ++i) {
            names << list->item(i)->text();
        }
        return names;
    }

    QTemporaryDir data_home;
};

TEST_F(GunKeysTest, AddAndDeleteKeepBothListsAndTheFileInStep) {
    // A hand-made file with entry 2 free between entries 1 and 3.
    std::vector<uint8_t> bytes(30, 0);
    bytes[0] = 0x0C, bytes[1] = 1, bytes[2] = 1;
    bytes[6] = 0x0C, bytes[7] = 8, bytes[8] = 10;
    WriteFile(bytes);
    OpenFactoryPage();
    EXPECT_EQ(Names("LB_ScriptName"), QStringList({"Fire Macro1", "Fire Macro3"}));
    EXPECT_EQ(Names("LB_Script"), Names("LB_ScriptName"));

    // Choosing a name shows its slots.
    qobject_cast<QListWidget*>(rig.Control("LB_ScriptName"))->setCurrentRow(1);
    EXPECT_EQ(Text("cb_SOSStartIndex"), QStringLiteral("8"));
    EXPECT_EQ(Text("cb_SOSNumber"), QStringLiteral("10"));

    // A new gun key fills the free entry rather than overwriting a named one.
    ChooseInList("cb_SOSStartIndex", 1);
    ChooseInList("cb_SOSNumber", 3);
    rig.Click("btn_AddScript");
    EXPECT_EQ(Names("LB_ScriptName"), QStringList({"Fire Macro1", "Fire Macro2", "Fire Macro3"}));
    EXPECT_EQ(Names("LB_Script"), Names("LB_ScriptName"));
    EXPECT_EQ(FileBytes()[3], 0x0C);
    EXPECT_EQ(FileBytes()[4], 2);
    EXPECT_EQ(FileBytes()[5], 4);

    // Deleting the first moves the later entries down.
    qobject_cast<QListWidget*>(rig.Control("LB_ScriptName"))->setCurrentRow(0);
    rig.Click("btn_DelScript");
    EXPECT_EQ(Names("LB_ScriptName"), QStringList({"Fire Macro1", "Fire Macro2"}));
    const std::vector<uint8_t> after = FileBytes();
    ASSERT_EQ(after.size(), 30u);
    EXPECT_EQ((std::vector<uint8_t>(after.begin(), after.begin() + 6)),
              (std::vector<uint8_t>{0x0C, 2, 4, 0x0C, 8, 10}));

    // Ten names fill the list: an eleventh add changes nothing.
    for (int i = 0; i < 10; ++i) {
        rig.Click("btn_AddScript");
    }
    EXPECT_EQ(Names("LB_ScriptName").size(), 10);
    const std::vector<uint8_t> full = FileBytes();
    rig.Click("btn_AddScript");
    EXPECT_EQ(FileBytes(), full);
}

// A file that could not be read is said at start-up and left as it is: an add is refused, and
// said again, rather than writing a list of the new entry alone over the user's four.
TEST_F(GunKeysTest, AFileThatCouldNotBeReadIsSaidAndLeftAsItIs) {
    std::vector<uint8_t> bytes(31, 0);
    for (int entry = 0; entry < 4; ++entry) {
        bytes[3 * entry] = 0x0C;
        bytes[3 * entry + 1] = static_cast<uint8_t>(entry + 1);
        bytes[3 * entry + 2] = static_cast<uint8_t>(entry + 1);
    }
    WriteFile(bytes);
    OpenFactoryPage();
    ASSERT_FALSE(rig.messages.messages().empty());
    const QString said = rig.messages.messages().back();
    EXPECT_TRUE(said.startsWith(CaptionOf(1, "Str914") + QLatin1Char('\n'))) << said.toStdString();
    EXPECT_TRUE(said.contains(QString::fromStdString(File().string()))) << said.toStdString();
    EXPECT_TRUE(Names("LB_ScriptName").isEmpty());
    rig.messages.Clear();

    rig.Click("btn_AddScript");
    ASSERT_EQ(rig.messages.messages().size(), 1u);
    EXPECT_EQ(rig.messages.messages().front(), said);
    EXPECT_TRUE(Names("LB_ScriptName").isEmpty());
    EXPECT_TRUE(Names("LB_Script").isEmpty());
    EXPECT_EQ(FileBytes(), bytes);
}

TEST_F(GunKeysTest, AGunKeyFromTheMenuGoesOnAFactoryButtonWithItsName) {
    WriteFile({0x0C, 6, 7, 0x0C, 8, 9, 0, 0, 0, 0, 0, 0, 0, 0, 0,
               0,    0, 0, 0,    0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0});
    OpenFactoryPage();
    rig.Click("btn_Key203");
    // The menu opens by its button, on the page, with the gun key entry inside the panel.
    QWidget* panel = rig.Control("Pnl_Main");
    QWidget* page = panel->parentWidget();
    QWidget* button = rig.Control("btn_Key203");
    EXPECT_TRUE(page->rect().contains(panel->geometry()));
    const QRect button_box(button->mapTo(page, QPoint(0, 0)), button->size());
    EXPECT_LT(std::abs(panel->geometry().center().x() - button_box.center().x()), panel->width());
    QWidget* gun_entry = rig.Control("Key_TLFireMacro");
    EXPECT_TRUE(gun_entry->isVisibleTo(panel));
    EXPECT_LE(gun_entry->geometry().bottom(), panel->height());
    rig.Enter("Key_TLFireMacro");
    auto* menu_list = qobject_cast<QListWidget*>(rig.Control("LB_Script"));
    ASSERT_NE(menu_list, nullptr);
    ASSERT_TRUE(menu_list->isVisible());
    const QPoint at = menu_list->visualItemRect(menu_list->item(1)).center();
    QTest::mouseClick(menu_list->viewport(), Qt::LeftButton, {}, at);
    EXPECT_FALSE(menu_list->isVisible());
    EXPECT_EQ(Text("btn_Key203"), QStringLiteral("Fire Macro2"));
    const FunctionCode code = rig.window->shown_config().gaming[2];
    EXPECT_EQ(code, (FunctionCode{0x0C, 8, 9}));
}

}  // namespace
}  // namespace velq::ui::testing
