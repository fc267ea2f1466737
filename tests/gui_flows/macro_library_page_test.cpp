// The macro page's library through the real window: the list, new, rename and delete with the
// name dialog, the right-click panel, import and export, and the files they leave on disk.
#include <QApplication>
#include <QLineEdit>
#include <QListWidget>
#include <QScrollBar>
#include <QTemporaryDir>
#include <QTest>

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <filesystem>
#include <fstream>
#include <functional>
#include <iterator>
#include <string>
#include <vector>

#include "gui/gui_test_rig.h"
#include "macros/macro_library.h"
#include "macros/macro_name.h"
#include "macros/ui/macro_page.h"

namespace velq::ui::testing {
namespace {

std::vector<uint8_t> Bytes(const std::filesystem::path& file) {
    std::ifstream in(file, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

class MacroLibraryPageTest : public ::testing::Test {
protected:
    void SetUp() override {
        EnsureApplication();
        ASSERT_TRUE(data_home.isValid());
        qputenv("XDG_DATA_HOME", data_home.path().toUtf8());
    }
    void TearDown() override { qunsetenv("XDG_DATA_HOME"); }

    // The window started with the library as `prepare` leaves it, the macro page open.
    void Open(const std::function<void(MacroLibrary&)>& prepare = {}) {
        if (prepare) {
            MacroLibrary library(Folder());
            ASSERT_TRUE(library.Load());
            prepare(library);
        }
        rig.Start();
        rig.Unblock();
        rig.window->ClickTab(Page::kMacro);
        page = rig.window->PageOf<MacroPage>();
        ASSERT_NE(page, nullptr);
        list = qobject_cast<QListWidget*>(rig.Control("LB_PCMacroName"));
        ASSERT_NE(list, nullptr);
    }

    std::filesystem::path Folder() const {
        return std::filesystem::path(data_home.path().toStdString()) / "velq540b";
    }
    std::vector<uint8_t> LibraryFile() const { return Bytes(Folder() / "Macro.bin"); }

    QStringList Names() const {
        QStringList names;
        for (int i = 0; i < list->count(); ++i) {
            names << list->item(i)->text();
        }
        return names;
    }
    int Selected() const {
        return list->currentItem() != nullptr && list->currentItem()->isSelected()
                   ? list->currentRow()
                   : -1;
    }

    // Answers the open name dialog with `name`.
    void Name(const QString& name) {
        auto* dialog = rig.window->findChild<QWidget*>(QStringLiteral("TForm3"));
        ASSERT_NE(dialog, nullptr);
        auto* field = dialog->findChild<QLineEdit*>(QStringLiteral("Edt_MacroName"));
        ASSERT_NE(field, nullptr);
        field->setText(name);
        QWidget* confirm = dialog->findChild<QWidget*>(QStringLiteral("IB_Confirm"));
        QTest::mouseClick(confirm, Qt::LeftButton, {}, confirm->rect().center());
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    }

    // A right press and release on list item `row`.
    void RightClick(int row) {
        const QPoint at = list->visualItemRect(list->item(row)).center();
        QTest::mousePress(list->viewport(), Qt::RightButton, {}, at);
        QTest::mouseRelease(list->viewport(), Qt::RightButton, {}, at);
    }

    void Said(const char* key) {
        ASSERT_FALSE(rig.messages.messages().empty());
        EXPECT_EQ(rig.messages.messages().back(), CaptionOf(1, key));
        rig.messages.Clear();
    }

    QTemporaryDir data_home;
    WindowRig rig;
    MacroPage* page = nullptr;
    QListWidget* list = nullptr;
};

TEST_F(MacroLibraryPageTest, NewRenameAndDeleteKeepTheListAndTheFileInStep) {
    Open();
    // The first start creates an empty library file.
    EXPECT_EQ(LibraryFile(), std::vector<uint8_t>(kMacroLibraryFileSize, 0));
    EXPECT_TRUE(Names().isEmpty());

    for (const char* name : {"Alpha", "Beta", "Gamma"}) {
        rig.Click("Btn_New");
        Name(QString::fromLatin1(name));
    }
    EXPECT_EQ(Names(), QStringList({"Alpha", "Beta", "Gamma"}));
    EXPECT_EQ(Selected(), 2);
    MacroLibrary stored(Folder());
    ASSERT_TRUE(stored.Load());
    ASSERT_EQ(stored.Count(), 3u);
    EXPECT_EQ(stored.Names()[1], u"Beta");

    // A name in use is refused and changes nothing on disk.
    const std::vector<uint8_t> before = LibraryFile();
    rig.Click("Btn_New");
    Name(QStringLiteral("Beta"));
    Said("Str106");
    EXPECT_EQ(LibraryFile(), before);
    EXPECT_EQ(Names().size(), 3);

    // Rename from the right-click panel: the macro under the pointer, its place kept.
    RightClick(1);
    EXPECT_EQ(Selected(), 1);
    EXPECT_TRUE(rig.Control("Pnl_PCMacro")->isVisible());
    rig.Click("Btn_NewName");
    EXPECT_FALSE(rig.Control("Pnl_PCMacro")->isVisible());
    Name(QStringLiteral("Gamma"));
    Said("Str106");
    RightClick(1);
    rig.Click("Btn_NewName");
    Name(QStringLiteral("Bravo"));
    EXPECT_EQ(Names(), QStringList({"Alpha", "Bravo", "Gamma"}));

    // Deleting the first macro selects the new first one; the records move up.
    list->setCurrentRow(0);
    rig.Click("Btn_Delete");
    EXPECT_EQ(Names(), QStringList({"Bravo", "Gamma"}));
    EXPECT_EQ(Selected(), 0);
    const std::vector<uint8_t> after = LibraryFile();
    ASSERT_EQ(after.size(), kMacroLibraryFileSize);
    ASSERT_TRUE(stored.Load());
    EXPECT_EQ(stored.Names(), (std::vector<std::u16string>{u"Bravo", u"Gamma"}));
    EXPECT_TRUE(
        std::all_of(after.end() - kMacroSlotSize, after.end(), [](uint8_t b) { return b == 0; }));
}

TEST_F(MacroLibraryPageTest, AFullLibraryRestsTheNewButtonsAndImportOneStopsAtNinetyNine) {
    Open([](MacroLibrary& library) {
        for (int i = 0; i < 99; ++i) {
            ASSERT_TRUE(library.New(u"M" + std::u16string(QString::number(i).toStdU16String())));
        }
    });
    EXPECT_EQ(list->count(), 99);
    EXPECT_EQ(list->verticalScrollBar()->value(), list->verticalScrollBar()->maximum());
    EXPECT_TRUE(rig.Control("Btn_New")->isEnabled());

    // At 99 names Import One asks for no file at all.
    const size_t asked = rig.files.requests().size();
    rig.Click("Btn_ImportOne");
    EXPECT_EQ(rig.files.requests().size(), asked);

    // The 100th macro fills the library: both new buttons rest until one is deleted.
    rig.Click("Btn_New");
    Name(QStringLiteral("Last"));
    EXPECT_EQ(list->count(), 100);
    EXPECT_FALSE(rig.Control("Btn_New")->isEnabled());
    EXPECT_FALSE(rig.Control("Btn_NewMacro")->isEnabled());
    rig.Click("Btn_Delete");
    EXPECT_EQ(list->count(), 99);
    EXPECT_TRUE(rig.Control("Btn_New")->isEnabled());
    EXPECT_TRUE(rig.Control("Btn_NewMacro")->isEnabled());
}

TEST_F(MacroLibraryPageTest, ExportAndImportRoundTrip) {
    Open([](MacroLibrary& library) {
        ASSERT_TRUE(library.New(u"ABC"));
        ASSERT_TRUE(library.New(u"Other"));
    });
    QTemporaryDir out;
    const std::filesystem::path folder = out.path().toStdString();

    // Export One appends ".bin" only to a name without it.
    list->setCurrentRow(0);
    rig.files.QueueAnswer(out.filePath(QStringLiteral("macro")));
    rig.Click("Btn_ExportOne");
    rig.files.QueueAnswer(out.filePath(QStringLiteral("again.bin")));
    rig.Click("Btn_ExportOne");
    const std::vector<uint8_t> one = Bytes(folder / "macro.bin");
    ASSERT_EQ(one.size(), kMacroSlotSize);
    EXPECT_EQ(Bytes(folder / "again.bin"), one);
    EXPECT_FALSE(std::filesystem::exists(folder / "again.bin.bin"));
    // The record as the library holds it: name field, then content.
    const std::vector<uint8_t> library = LibraryFile();
    EXPECT_TRUE(std::equal(one.begin(), one.end(), library.begin()));

    rig.files.QueueAnswer(out.filePath(QStringLiteral("all")));
    rig.Click("Btn_Export");
    EXPECT_EQ(Bytes(folder / "all.bin"), LibraryFile());

    // Importing a macro whose name is in the library changes nothing.
    const std::vector<uint8_t> before = LibraryFile();
    rig.files.QueueAnswer(out.filePath(QStringLiteral("macro.bin")));
    rig.Click("Btn_ImportOne");
    Said("Str106");
    EXPECT_EQ(LibraryFile(), before);

    // Deleted and imported again, it comes back at the end, selected.
    list->setCurrentRow(0);
    rig.Click("Btn_Delete");
    rig.files.QueueAnswer(out.filePath(QStringLiteral("macro.bin")));
    rig.Click("Btn_ImportOne");
    EXPECT_EQ(Names(), QStringList({"Other", "ABC"}));
    EXPECT_EQ(Selected(), 1);

    // Import All puts back the library as exported.
    rig.files.QueueAnswer(out.filePath(QStringLiteral("all.bin")));
    rig.Click("Btn_Import");
    EXPECT_EQ(Names(), QStringList({"ABC", "Other"}));
    EXPECT_EQ(LibraryFile(), Bytes(folder / "all.bin"));

    // A cancelled dialog does nothing.
    rig.Click("Btn_Import");
    EXPECT_EQ(Names(), QStringList({"ABC", "Other"}));
}

TEST_F(MacroLibraryPageTest, AFailedSaveIsSaidWithTheFileAndTheListKeepsWhatIsOnDisk) {
    Open([](MacroLibrary& library) { ASSERT_TRUE(library.New(u"Kept")); });
    // The library file replaced by a folder: the save cannot put its file there.
    std::filesystem::remove(Folder() / "Macro.bin");
    std::filesystem::create_directory(Folder() / "Macro.bin");
    rig.Click("Btn_New");
    Name(QStringLiteral("Lost"));
    ASSERT_FALSE(rig.messages.messages().empty());
    EXPECT_TRUE(rig.messages.messages().back().contains(QStringLiteral("Macro.bin")));
    EXPECT_EQ(Names(), QStringList({"Kept"}));
}

// A library file with a free record between macros is shown closed up, and the user hears of
// it before a change rewrites the file that way; a record named FF FF is a macro like any.
TEST_F(MacroLibraryPageTest, AClosedUpLibraryIsSaidBeforeAnySaveRewritesIt) {
    std::filesystem::create_directories(Folder());
    std::vector<uint8_t> stored(kMacroLibraryFileSize, 0);
    const auto put = [&stored](std::size_t index, const MacroName& name) {
        std::copy(name.begin(), name.end(), stored.begin() + index * kMacroSlotSize);
    };
    put(0, MakeMacroName(u"A"));
    put(2, MakeMacroName(u"B"));
    MacroName ff_name = MakeMacroName(u"x");
    ff_name[0] = 0xFF;
    ff_name[1] = 0xFF;
    put(3, ff_name);
    {
        std::ofstream out(Folder() / "Macro.bin", std::ios::binary);
        out.write(reinterpret_cast<const char*>(stored.data()),
                  static_cast<std::streamsize>(stored.size()));
    }
    Open();
    ASSERT_EQ(rig.messages.messages().size(), 1u);
    EXPECT_EQ(rig.messages.messages().front(),
              CaptionOf(1, "Str913") + QLatin1Char('\n') +
                  QString::fromStdString((Folder() / "Macro.bin").string()));
    rig.messages.Clear();
    EXPECT_EQ(Names().size(), 3);
    EXPECT_EQ(Names().mid(0, 2), QStringList({"A", "B"}));
    EXPECT_EQ(LibraryFile(), stored);

    rig.Click("Btn_New");
    Name(QStringLiteral("C"));
    EXPECT_TRUE(rig.messages.messages().empty());
    std::vector<uint8_t> closed_up(kMacroLibraryFileSize, 0);
    std::copy(stored.begin(), stored.begin() + kMacroSlotSize, closed_up.begin());
    std::copy(stored.begin() + 2 * kMacroSlotSize, stored.begin() + 4 * kMacroSlotSize,
              closed_up.begin() + kMacroSlotSize);
    const MacroName c = MakeMacroName(u"C");
    std::copy(c.begin(), c.end(), closed_up.begin() + 3 * kMacroSlotSize);
    EXPECT_EQ(LibraryFile(), closed_up);
}

TEST_F(MacroLibraryPageTest, ThePanelsNewMacroStartsPlayingToTheEnd) {
    Open([](MacroLibrary& library) { ASSERT_TRUE(library.New(u"Held")); });
    list->setCurrentRow(0);
    rig.Click("Btn_NewMacro");  // nothing selected yet in the editor: only the dialog
    Name(QStringLiteral("First"));
    RightClick(0);
    rig.Click("IB_ReleaseStop");
    EXPECT_EQ(rig.Picture("Img_ReleaseStop"), QStringLiteral("RdS_E"));
    RightClick(0);
    rig.Click("Btn_NewMacro");
    EXPECT_EQ(rig.Picture("Img_ReleaseContiue"), QStringLiteral("RdS_E"));
    EXPECT_EQ(rig.Picture("Img_ReleaseStop"), QStringLiteral("RdS_D"));
    Name(QStringLiteral("Second"));
    EXPECT_EQ(Names(), QStringList({"Held", "First", "Second"}));
    EXPECT_EQ(rig.Picture("Img_ReleaseContiue"), QStringLiteral("RdS_E"));
}

}  // namespace
}  // namespace velq::ui::testing
