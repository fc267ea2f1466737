// The macro page's event editor through the real window: the event list and its pop-up, the
// edit dialogs, delete, the insert box, the release and repeat options, and what each leaves in
// "Macro.bin".
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPointer>
#include <QStandardItemModel>
#include <QTest>

#include <gtest/gtest.h>
#include <sys/resource.h>
#include <unistd.h>

#include <csignal>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "buttons/ui/editor_dialog.h"
#include "gui_flows/gui_flows_fixture.h"
#include "macros/macro_library.h"
#include "macros/macro_test_util.h"
#include "macros/ui/macro_page.h"

namespace velq::ui::testing {
namespace {

namespace fs = std::filesystem;
using Bytes = std::vector<uint8_t>;

// Press A, 96 ms, release A, as the library stores it.
const Bytes kPressWaitRelease{0x82, 0x04, 0xFE, 0x0C, 0x02, 0x04};

class MacroEditorTest : public GuiFlowsTest {
protected:
    void SetUp() override {
        fs::remove_all(home);
        fs::create_directories(home);
        ::setenv("XDG_DATA_HOME", home.c_str(), 1);
        GuiFlowsTest::SetUp();
        StartReady();
        page = rig.window->PageOf<MacroPage>();
        ASSERT_NE(page, nullptr);
        library = page->library();
        ASSERT_NE(library, nullptr);
        ASSERT_EQ(library->File(), home / "velq540b" / "Macro.bin");
        ASSERT_TRUE(library->New(u"ABC"));
        ASSERT_TRUE(library->New(u"DEF"));
        rig.window->ClickTab(Page::kMacro);
        ASSERT_EQ(rig.window->current_page(), Page::kMacro);
        list = qobject_cast<QListWidget*>(rig.Control("LB_macro"));
        ASSERT_NE(list, nullptr);
    }

    void TearDown() override {
        for (EditorDialogFrame* dialog : rig.window->findChildren<EditorDialogFrame*>()) {
            dialog->close();
        }
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        fs::remove_all(home);
    }

    // Stores `tokens` in entry `index` and shows it, as a click in the macro list does.
    void ShowMacro(int index, const Bytes& tokens, uint8_t flag = 0) {
        if (!tokens.empty()) {
            ASSERT_TRUE(library->SetContent(static_cast<std::size_t>(index),
                                            test::DeviceContent(tokens, flag)));
        }
        page->editor().Show(library, index);
    }

    Bytes FileBytes() const {
        std::ifstream in(library->File(), std::ios::binary);
        return Bytes(std::istreambuf_iterator<char>(in), {});
    }

    // The 224 content bytes of entry `index` in the file.
    Bytes Stored(int index) const {
        const Bytes file = FileBytes();
        const auto begin = file.begin() + index * 256 + 32;
        return Bytes(begin, begin + 224);
    }

    static Bytes Content(const Bytes& tokens, uint8_t flag = 0) {
        const MacroContent content = test::DeviceContent(tokens, flag);
        return Bytes(content.begin(), content.end());
    }

    QStringList Items() const {
        QStringList texts;
        for (int row = 0; row < list->count(); ++row) {
            texts << list->item(row)->text();
        }
        return texts;
    }

    int Selected() const {
        QListWidgetItem* item = list->currentItem();
        return item != nullptr && item->isSelected() ? list->row(item) : -1;
    }

    QPoint RowPoint(int row) const { return list->visualItemRect(list->item(row)).center(); }

    // A right click on the list: the press selects, the release opens the pop-up.
    void RightClickAt(const QPoint& at) {
        QTest::mousePress(list->viewport(), Qt::RightButton, {}, at);
        QTest::mouseRelease(list->viewport(), Qt::RightButton, {}, at);
    }
    void RightClick(int row) {
        list->scrollToItem(list->item(row));
        RightClickAt(RowPoint(row));
    }

    bool PopupOpen() const { return rig.Control("Pnl_DevContent")->isVisible(); }

    // Opens the pop-up on `row` and clicks one of its entries.
    void Choose(int row, const char* entry) {
        RightClick(row);
        ASSERT_TRUE(PopupOpen());
        ASSERT_TRUE(rig.Control(entry)->isVisible()) << entry;
        rig.Click(entry);
        EXPECT_FALSE(PopupOpen());
    }

    // The edit dialog open over the window.
    EditorDialogFrame* Dialog() const {
        const auto dialogs = rig.window->findChildren<EditorDialogFrame*>();
        for (EditorDialogFrame* dialog : dialogs) {
            if (dialog->isVisible()) {
                return dialog;
            }
        }
        return nullptr;
    }

    void ClickInDialog(const char* name) {
        EditorDialogFrame* dialog = Dialog();
        ASSERT_NE(dialog, nullptr);
        QWidget* button = dialog->findChild<QWidget*>(QString::fromLatin1(name));
        ASSERT_NE(button, nullptr) << name;
        QTest::mouseClick(button, Qt::LeftButton, {}, button->rect().center());
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    }

    // Opens the insert box on `row` and chooses `item` in its list.
    void OpenInsert(int row, int item) {
        Choose(row, "Btn_Insert");
        ASSERT_TRUE(rig.Control("Gb_Insert")->isVisible());
        ChooseInList("CB_Insert", item);
    }

    const fs::path home = fs::path(::testing::TempDir()) /
                          ("macro_editor_" + std::to_string(::getpid()) + "_" +
                           ::testing::UnitTest::GetInstance()->current_test_info()->name());
    MacroPage* page = nullptr;
    MacroLibrary* library = nullptr;
    QListWidget* list = nullptr;
};

TEST_F(MacroEditorTest, TheListShowsEachEventAndTheMacrosOptions) {
    // Eight passes, stop on release: Ctrl, left button, 96 ms, X -5, Y 12, Ctrl up.
    ShowMacro(
        0,
        {0xFD, 0x07, 0x81, 0x01, 0xA1, 0xFE, 0x0C, 0x21, 0xFB, 0xFB, 0xFA, 0x0C, 0x01, 0x01, 0xFC},
        0x01);
    EXPECT_EQ(Items(), (QStringList{"Ctrl", "LeftKey", "96 ms", "LeftKey", "X-Axis  -5",
                                    "Y-Axis  12", "Ctrl"}));
    EXPECT_EQ(page->editor().lines().front(), "10");  // recorded with real delays
    EXPECT_EQ(Selected(), -1);
    EXPECT_EQ(rig.Picture("Img_ReleaseStop"), "RdS_E");
    EXPECT_EQ(rig.Picture("Img_ReleaseContiue"), "RdS_D");
    EXPECT_EQ(rig.Picture("Img_CircleTimes"), "RdS_E");
    EXPECT_EQ(rig.Picture("Img_CircleAll"), "RdS_D");
    EXPECT_EQ(Text("Edt_Circle_Times"), "8");
    EXPECT_TRUE(rig.Control("Edt_Circle_Times")->isEnabled());

    // Items of the layout's height; the selected one on the layout's selection colour, the
    // others on the list's, and each kind with its own picture at the left edge.
    EXPECT_EQ(list->visualItemRect(list->item(0)).height(), 20);
    RightClick(2);
    EXPECT_EQ(Selected(), 2);
    const QImage shot = list->viewport()->grab().toImage();
    const auto colour_at = [&](int row, int x) {
        return shot.pixelColor(x, list->visualItemRect(list->item(row)).top() + 2);
    };
    const int right = list->viewport()->width() - 3;
    EXPECT_EQ(colour_at(2, right), QColor(200, 40, 40));
    EXPECT_EQ(colour_at(1, right), QColor(18, 18, 22));
    const auto icon = [&](int row) {
        const QRect r = list->visualItemRect(list->item(row));
        return shot.copy(r.left(), r.top(), r.height(), r.height());
    };
    // Ctrl and the left button are both presses; the two releases share their picture too.
    EXPECT_EQ(icon(0), icon(1));
    EXPECT_EQ(icon(3), icon(6));
    for (const auto& [a, b] :
         {std::pair{1, 3}, std::pair{3, 4}, std::pair{4, 5}, std::pair{0, 5}}) {
        EXPECT_NE(icon(a), icon(b)) << a << " " << b;
    }

    // A macro without content: no events, the options as they were.
    ShowMacro(1, {});
    EXPECT_EQ(list->count(), 0);
    EXPECT_EQ(rig.Picture("Img_ReleaseStop"), "RdS_E");
    EXPECT_EQ(rig.Picture("Img_CircleTimes"), "RdS_E");
    // No macro at all.
    page->editor().Show(nullptr, -1);
    EXPECT_EQ(list->count(), 0);
    EXPECT_EQ(page->editor().entry(), -1);
}

TEST_F(MacroEditorTest, TheRightButtonSelectsAndOpensThePopupAtThePointer) {
    ShowMacro(0, kPressWaitRelease);
    QWidget* popup = rig.Control("Pnl_DevContent");
    ASSERT_NE(popup, nullptr);
    EXPECT_FALSE(popup->isVisible());
    for (const char* entry : {"Btn_Edit", "Btn_Del", "Btn_Insert"}) {
        EXPECT_EQ(rig.Control(entry)->parentWidget(), popup) << entry;
    }
    EXPECT_EQ(rig.Text("Btn_Edit"), CaptionOf(1, "Str435"));
    EXPECT_EQ(rig.Text("Btn_Del"), CaptionOf(1, "Str408"));
    EXPECT_EQ(rig.Text("Btn_Insert"), CaptionOf(1, "Str409"));

    const QPoint at = RowPoint(1) + QPoint(7, 0);
    RightClickAt(at);
    EXPECT_EQ(Selected(), 1);
    ASSERT_TRUE(popup->isVisible());
    EXPECT_EQ(popup->pos(),
              popup->parentWidget()->mapFromGlobal(list->viewport()->mapToGlobal(at)));
    for (const char* entry : {"Btn_Edit", "Btn_Del", "Btn_Insert"}) {
        QWidget* button = rig.Control(entry);
        EXPECT_TRUE(button->isVisible());
        // The whole caption fits its row.
        EXPECT_GE(button->width(), button->fontMetrics().horizontalAdvance(rig.Text(entry)))
            << entry;
        EXPECT_TRUE(popup->rect().contains(button->geometry())) << entry;
    }

    // A left click on the list closes it.
    QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, RowPoint(0));
    EXPECT_FALSE(popup->isVisible());
    EXPECT_EQ(Selected(), 0);

    // Below the last item: nothing selected, nothing opens.
    RightClickAt(QPoint(20, list->viewport()->height() - 3));
    EXPECT_EQ(Selected(), -1);
    EXPECT_FALSE(popup->isVisible());

    // Without a macro nothing opens either.
    page->editor().Show(nullptr, -1);
    RightClickAt(QPoint(20, 5));
    EXPECT_FALSE(popup->isVisible());
}

TEST_F(MacroEditorTest, EditOpensTheDialogOfTheLineAndCommitsItsResult) {
    const Bytes tokens{0xA1, 0xFE, 0x0C, 0x21, 0xFB, 0x05, 0xFA, 0x05};
    struct Case {
        int row;
        const char* dialog;
        std::function<void(QLineEdit*)> input;
        const char* shown;
        Bytes stored;
    };
    const Case cases[] = {
        {1,
         "TForm6",
         [](QLineEdit* f) { QTest::keyClicks(f, "500"); },
         "500 ms",
         {0xA1, 0xFE, 0x3E, 0x21, 0xFB, 0x05, 0xFA, 0x05}},
        {0,
         "TForm5",
         [](QLineEdit* f) { QTest::keyClick(f, Qt::Key_Z); },
         "Z",
         {0x82, 0x1D, 0xFE, 0x0C, 0x21, 0xFB, 0x05, 0xFA, 0x05}},
        {2,
         "TForm5",
         [](QLineEdit* f) { QTest::keyClick(f, Qt::Key_Z); },
         "Z",
         {0xA1, 0xFE, 0x0C, 0x02, 0x1D, 0xFB, 0x05, 0xFA, 0x05}},
        {3,
         "TForm7",
         [](QLineEdit* f) { QTest::keyClicks(f, "-20"); },
         "X-Axis  -20",
         {0xA1, 0xFE, 0x0C, 0x21, 0xFB, 0xEC, 0xFA, 0x05}},
        {4,
         "TForm7",
         [](QLineEdit* f) { QTest::keyClicks(f, "100"); },
         "Y-Axis  100",
         {0xA1, 0xFE, 0x0C, 0x21, 0xFB, 0x05, 0xFA, 0x64}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.dialog + std::string(" row ") + std::to_string(c.row));
        ShowMacro(0, tokens);
        Choose(c.row, "Btn_Edit");
        EditorDialogFrame* dialog = Dialog();
        ASSERT_NE(dialog, nullptr);
        EXPECT_EQ(dialog->objectName(), c.dialog);
        dialog->field()->selectAll();
        c.input(dialog->field());
        ClickInDialog("IB_Confirm");
        EXPECT_EQ(Dialog(), nullptr);
        EXPECT_EQ(list->item(c.row)->text(), c.shown);
        EXPECT_EQ(Selected(), c.row);
        EXPECT_EQ(Stored(0), Content(c.stored));
    }

    // Closing the dialog, or confirming an empty key, changes nothing.
    ShowMacro(0, tokens);
    Choose(0, "Btn_Edit");
    QTest::keyClick(Dialog()->field(), Qt::Key_Q);
    ClickInDialog("IB_Close");
    Choose(0, "Btn_Edit");
    QTest::keyClick(Dialog()->field(), Qt::Key_Q);
    ClickInDialog("IB_Cancel");
    ClickInDialog("IB_Confirm");
    EXPECT_EQ(Dialog(), nullptr);
    EXPECT_EQ(Stored(0), Content(tokens));

    // The item is fixed when the dialog opens: selecting another one meanwhile changes nothing.
    Choose(1, "Btn_Edit");
    RightClick(3);
    QTest::keyClicks(Dialog()->field(), "8");
    ClickInDialog("IB_Confirm");
    EXPECT_EQ(Items().at(1), "8 ms");
    EXPECT_EQ(Items().at(3), "X-Axis  5");

    // When the events changed meanwhile the result is dropped: the item may be another event.
    Choose(1, "Btn_Edit");
    Choose(0, "Btn_Del");
    const Bytes after_delete = Stored(0);
    QTest::keyClicks(Dialog()->field(), "16");
    ClickInDialog("IB_Confirm");
    EXPECT_EQ(Stored(0), after_delete);
}

TEST_F(MacroEditorTest, DeleteTakesThePairAndSelectsTheItemBefore) {
    struct Case {
        const char* what;
        Bytes tokens;
        int row;
        QStringList left;
        int selected;
        Bytes stored;
    };
    const Case cases[] = {
        {"press with its release", kPressWaitRelease, 0, {"96 ms"}, 0, {0xFE, 0x0C}},
        {"release with its press", kPressWaitRelease, 2, {"96 ms"}, 0, {0xFE, 0x0C}},
        {"release without press", {0xFE, 0x0C, 0x02, 0x04}, 1, {"96 ms"}, -1, {0xFE, 0x0C}},
        {"a move",
         {0xFE, 0x0C, 0xFB, 0x05, 0xFA, 0x05},
         2,
         {"96 ms", "X-Axis  5"},
         1,
         {0xFE, 0x0C, 0xFB, 0x05}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        ShowMacro(0, c.tokens);
        Choose(c.row, "Btn_Del");
        EXPECT_EQ(Items(), c.left);
        EXPECT_EQ(Selected(), c.selected);
        EXPECT_EQ(Stored(0), Content(c.stored));
    }
    // The last event gone: the empty content, all zero.
    Choose(0, "Btn_Del");
    Choose(0, "Btn_Del");
    EXPECT_EQ(list->count(), 0);
    EXPECT_EQ(Stored(0), Bytes(224, 0));
    EXPECT_EQ(Stored(1), Bytes(224, 0));  // the other macro untouched
}

TEST_F(MacroEditorTest, TheInsertBoxShowsTheFieldsOfEachChoice) {
    ShowMacro(0, kPressWaitRelease);
    EXPECT_TRUE(rig.Control("Btn_Start")->isEnabled());
    EXPECT_TRUE(rig.Control("Btn_InsertStart")->isEnabled());
    // Shown disabled, not in the text colour of the enabled captions.
    EXPECT_NE(rig.Control("Btn_Start")->palette().color(QPalette::Disabled, QPalette::WindowText),
              rig.Control("Btn_New")->palette().color(QPalette::Active, QPalette::WindowText));
    EXPECT_TRUE(rig.Control("Gb_Delay")->isVisible());
    EXPECT_FALSE(rig.Control("Gb_Insert")->isVisible());

    Choose(1, "Btn_Insert");
    EXPECT_TRUE(page->editor().insert_open());
    EXPECT_TRUE(rig.Control("Gb_Insert")->isVisible());
    EXPECT_TRUE(rig.Control("Img_InsertBase")->isVisible());
    EXPECT_FALSE(rig.Control("Gb_Delay")->isVisible());
    // (The list of the mouse's macros, LB_MacroName, is disabled too once the window has it.)
    for (const char* off : {"Btn_Start", "Btn_New", "Btn_Delete"}) {
        EXPECT_FALSE(rig.Control(off)->isEnabled()) << off;
        EXPECT_EQ(rig.Control(off)->palette().color(QPalette::Disabled, QPalette::WindowText),
                  QColor(120, 120, 128))
            << off;
    }
    auto* combo = qobject_cast<QComboBox*>(rig.Control("CB_Insert"));
    ASSERT_EQ(combo->count(), 8);
    EXPECT_EQ(combo->currentIndex(), 0);
    const char* keys[] = {"Str410", "Str411", "Str412", "Str413",
                          "Str440", "Str441", "Str442", "Str443"};
    auto* model = qobject_cast<QStandardItemModel*>(combo->model());
    for (int item = 0; item < 8; ++item) {
        EXPECT_EQ(combo->itemText(item), CaptionOf(1, keys[item]));
        EXPECT_TRUE(model->item(item)->isEnabled()) << item;
    }

    struct Case {
        int item;
        const char* shown;
        const char* background;
    };
    const Case cases[] = {
        {0, "Edt_InsertDelay", "InsertDelayBase"}, {1, "Edt_InsertDelay", "InsertDelayBase"},
        {4, "edt_XAxisValue", "InsertDelayBase"},  {5, "edt_XAxisValue", "InsertDelayBase"},
        {6, "edt_YAxisValue", "InsertDelayBase"},  {7, "edt_YAxisValue", "InsertDelayBase"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.item);
        ChooseInList("CB_Insert", c.item);
        for (const char* field : {"Edt_InsertDelay", "edt_XAxisValue", "edt_YAxisValue"}) {
            EXPECT_EQ(rig.Control(field)->isVisible(), std::string(field) == c.shown) << field;
        }
        EXPECT_FALSE(rig.Control("edt_Repeat")->isVisible());
        EXPECT_FALSE(rig.Control("Btn_InsertStart")->isVisible());
        EXPECT_EQ(rig.Picture("Img_InsertBase"), c.background);
        EXPECT_EQ(rig.Text("Btn_OK"), CaptionOf(1, "Str420"));
    }

    // Readable: the captions whole, clear of their fields and in the page's text colour; the
    // list wide enough for its choices; the options under the box's picture make way for it.
    for (const auto& [label, field] :
         {std::pair{"lbl_Delay", "Edt_InsertDelay"}, std::pair{"lbl_XAxisValue", "edt_XAxisValue"},
          std::pair{"lbl_YAxisValue", "edt_YAxisValue"}}) {
        auto* caption = qobject_cast<QLabel*>(rig.Control(label));
        EXPECT_GE(caption->width(), caption->fontMetrics().horizontalAdvance(caption->text()))
            << label;
        EXPECT_LE(caption->geometry().right(), rig.Control(field)->x()) << label;
        EXPECT_EQ(caption->palette().color(QPalette::WindowText), QColor(230, 230, 230)) << label;
    }
    auto* unit = qobject_cast<QLabel*>(rig.Control("lbl_s_A"));
    EXPECT_GE(unit->width(), unit->fontMetrics().horizontalAdvance(unit->text()));
    EXPECT_GE(unit->x(), rig.Control("Edt_InsertDelay")->geometry().right());
    EXPECT_GE(combo->width(), combo->fontMetrics().horizontalAdvance(combo->itemText(0)) + 20);
    EXPECT_LE(combo->geometry().right(), rig.Control("Gb_Insert")->width());
    for (const char* option :
         {"IB_ReleaseStop", "Img_ReleaseContiue", "IB_CircleAll", "Edt_Circle_Times"}) {
        EXPECT_FALSE(rig.Control(option)->isVisible()) << option;
    }

    // The fields correct what is typed; empty or a lone "-" stay while typed (a number begins
    // so), and take the rule's value once the field is left.
    const struct {
        int item;
        const char* field;
        const char* typed;
        const char* shown;
        const char* left;
    } fields[] = {
        {0, "Edt_InsertDelay", "3000", "2040", "2040"},
        {0, "Edt_InsertDelay", "", "", "0"},
        {0, "Edt_InsertDelay", "12a", "12", "12"},
        {4, "edt_XAxisValue", "300", "127", "127"},
        {4, "edt_XAxisValue", "-200", "-128", "-128"},
        {6, "edt_YAxisValue", "-", "-", "0"},
        {6, "edt_YAxisValue", "", "", "0"},
        {4, "edt_XAxisValue", "-20", "-20", "-20"},
    };
    for (const auto& f : fields) {
        ChooseInList("CB_Insert", f.item);
        Type(f.field, f.typed);
        EXPECT_EQ(Text(f.field), f.shown) << f.field << " " << f.typed;
        QTest::keyClick(rig.Control(f.field), Qt::Key_Return);  // leaves what was typed
        EXPECT_EQ(Text(f.field), f.left) << f.field << " " << f.typed;
    }
    rig.Click("Btn_Cancel");
    EXPECT_FALSE(rig.Control("Gb_Insert")->isVisible());
    EXPECT_TRUE(rig.Control("Gb_Delay")->isVisible());
    for (const char* on : {"Btn_New", "Btn_Delete", "Btn_Start"}) {
        EXPECT_TRUE(rig.Control(on)->isEnabled()) << on;
    }
    for (const char* option :
         {"IB_ReleaseStop", "Img_ReleaseContiue", "IB_CircleAll", "Edt_Circle_Times"}) {
        EXPECT_TRUE(rig.Control(option)->isVisible()) << option;
    }
}

TEST_F(MacroEditorTest, InsertPutsTheEventBeforeOrAfterTheSelectedOneAndSavesIt) {
    struct Case {
        const char* what;
        int row;
        int item;
        const char* field;
        const char* typed;
        int selected;
        QStringList shown;
        Bytes stored;
    };
    const Case cases[] = {
        {"50 ms before the first",
         0,
         0,
         "Edt_InsertDelay",
         "50",
         0,
         {"50 ms", "A", "96 ms", "A"},
         {0xFE, 0x06, 0x82, 0x04, 0xFE, 0x0C, 0x02, 0x04}},
        {"2040 ms after the last",
         2,
         1,
         "Edt_InsertDelay",
         "2040",
         3,
         {"A", "96 ms", "A", "2040 ms"},
         {0x82, 0x04, 0xFE, 0x0C, 0x02, 0x04, 0xFE, 0xFF}},
        {"X -5 after",
         1,
         5,
         "edt_XAxisValue",
         "-5",
         2,
         {"A", "96 ms", "X-Axis  -5", "A"},
         {0x82, 0x04, 0xFE, 0x0C, 0xFB, 0xFB, 0x02, 0x04}},
        {"X 0 before",
         1,
         4,
         "edt_XAxisValue",
         "0",
         1,
         {"A", "X-Axis  0", "96 ms", "A"},
         {0x82, 0x04, 0xFB, 0x00, 0xFE, 0x0C, 0x02, 0x04}},
        {"Y -128 before",
         2,
         6,
         "edt_YAxisValue",
         "-128",
         2,
         {"A", "96 ms", "Y-Axis  -128", "A"},
         {0x82, 0x04, 0xFE, 0x0C, 0xFA, 0x80, 0x02, 0x04}},
        {"Y 127 after",
         0,
         7,
         "edt_YAxisValue",
         "127",
         1,
         {"A", "Y-Axis  127", "96 ms", "A"},
         {0x82, 0x04, 0xFA, 0x7F, 0xFE, 0x0C, 0x02, 0x04}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        ShowMacro(0, kPressWaitRelease);
        OpenInsert(c.row, c.item);
        Type(c.field, c.typed);
        rig.Click("Btn_OK");
        EXPECT_FALSE(page->editor().insert_open());
        EXPECT_TRUE(rig.Control("Gb_Delay")->isVisible());
        EXPECT_EQ(Items(), c.shown);
        EXPECT_EQ(Selected(), c.selected);
        EXPECT_EQ(Stored(0), Content(c.stored));
    }

    // What the axis field lets through but is no number is never taken: the box says why and
    // waits.
    ShowMacro(0, kPressWaitRelease);
    for (const char* typed : {"5-3", "-", "1-", ""}) {
        rig.messages.Clear();
        OpenInsert(0, 4);
        Type("edt_XAxisValue", typed);
        rig.Click("Btn_OK");
        EXPECT_TRUE(page->editor().insert_open()) << typed;
        EXPECT_TRUE(Said("Str919")) << typed;
        EXPECT_EQ(Stored(0), Content(kPressWaitRelease));
        rig.Click("Btn_Cancel");
    }

    // With events but none selected, OK inserts nothing.
    OpenInsert(0, 0);
    RightClickAt(QPoint(20, list->viewport()->height() - 3));
    rig.Click("Btn_OK");
    EXPECT_FALSE(page->editor().insert_open());
    EXPECT_EQ(Stored(0), Content(kPressWaitRelease));
}

TEST_F(MacroEditorTest, AMacroWithoutEventsTakesItsFirstEventFromInsert) {
    ShowMacro(1, {});
    ASSERT_EQ(list->count(), 0);
    RightClickAt(QPoint(20, 5));
    ASSERT_TRUE(PopupOpen());
    rig.Click("Btn_Edit");  // nothing to edit
    EXPECT_EQ(Dialog(), nullptr);
    RightClickAt(QPoint(20, 5));
    rig.Click("Btn_Insert");
    ASSERT_TRUE(page->editor().insert_open());
    EXPECT_EQ(Text("Edt_InsertDelay"), "50");
    rig.Click("Btn_OK");
    EXPECT_EQ(Items(), QStringList{"50 ms"});
    EXPECT_EQ(Selected(), 0);
    EXPECT_EQ(Stored(1), Content({0xFE, 0x06}));
}

TEST_F(MacroEditorTest, CancelShowsTheStoredMacroWithTheTopItemAndSelectionOfTheOpening) {
    Bytes tokens;
    for (int i = 0; i < 40; ++i) {
        tokens.insert(tokens.end(), {0xFB, static_cast<uint8_t>(i)});
    }
    ShowMacro(0, tokens);
    list->scrollToItem(list->item(10), QAbstractItemView::PositionAtTop);
    RightClick(12);
    rig.Click("Btn_Insert");
    ASSERT_TRUE(page->editor().insert_open());
    // The list stays usable while the box is open.
    list->scrollToItem(list->item(30), QAbstractItemView::PositionAtTop);
    QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, RowPoint(32));
    ASSERT_EQ(Selected(), 32);

    const Bytes before = FileBytes();
    rig.Click("Btn_Cancel");
    EXPECT_FALSE(page->editor().insert_open());
    EXPECT_EQ(list->count(), 40);
    EXPECT_EQ(Selected(), 12);
    EXPECT_EQ(list->indexAt(QPoint(5, 2)).row(), 10);
    EXPECT_EQ(FileBytes(), before);
}

TEST_F(MacroEditorTest, ReleaseAndRepeatOptionsSaveAtOnce) {
    ShowMacro(0, kPressWaitRelease);
    EXPECT_EQ(rig.Picture("Img_ReleaseContiue"), "RdS_E");
    rig.Click("IB_ReleaseStop");
    EXPECT_EQ(rig.Picture("Img_ReleaseStop"), "RdS_E");
    EXPECT_EQ(rig.Picture("Img_ReleaseContiue"), "RdS_D");
    EXPECT_EQ(Stored(0), Content(kPressWaitRelease, 0x01));
    rig.Click("Img_ReleaseContiue");  // the picture acts as its caption
    EXPECT_EQ(rig.Picture("Img_ReleaseContiue"), "RdS_E");
    EXPECT_EQ(Stored(0), Content(kPressWaitRelease, 0x00));

    // Repeat: a toggle each, the count field enabled only with the count; each choice is
    // stored at once, so that it is not lost when no event changes afterwards.
    const Bytes once = Content(kPressWaitRelease, 0x00);
    EXPECT_FALSE(rig.Control("Edt_Circle_Times")->isEnabled());
    const Bytes eight_times = Content({0xFD, 0x07, 0x82, 0x04, 0xFE, 0x0C, 0x02, 0x04, 0xFC});
    const Bytes endless = Content({0xFD, 0xFF, 0x82, 0x04, 0xFE, 0x0C, 0x02, 0x04, 0xFC});
    struct Step {
        const char* click;
        const char* times;
        const char* all;
        bool count_enabled;
        const Bytes& stored;
    };
    const Step steps[] = {
        {"IB_CircleTimes", "RdS_E", "RdS_D", true, eight_times},
        {"IB_CircleAll", "RdS_D", "RdS_E", false, endless},
        {"Img_CircleAll", "RdS_D", "RdS_D", false, once},
        {"Img_CircleTimes", "RdS_E", "RdS_D", true, eight_times},
    };
    for (const Step& s : steps) {
        SCOPED_TRACE(s.click);
        rig.Click(s.click);
        EXPECT_EQ(rig.Picture("Img_CircleTimes"), s.times);
        EXPECT_EQ(rig.Picture("Img_CircleAll"), s.all);
        EXPECT_EQ(rig.Control("Edt_Circle_Times")->isEnabled(), s.count_enabled);
        EXPECT_EQ(Stored(0), s.stored);
    }
    for (const auto& [typed, shown] :
         {std::pair{"0", "1"}, std::pair{"300", "255"}, std::pair{"", "1"}, std::pair{"3", "3"}}) {
        Type("Edt_Circle_Times", typed);
        EXPECT_EQ(Text("Edt_Circle_Times"), shown) << typed;
    }
    // The count typed last is stored: three passes, shown again when the macro is.
    EXPECT_EQ(Stored(0), Content({0xFD, 0x02, 0x82, 0x04, 0xFE, 0x0C, 0x02, 0x04, 0xFC}));
    page->editor().Show(library, 1);
    page->editor().Show(library, 0);
    EXPECT_EQ(rig.Picture("Img_CircleTimes"), "RdS_E");
    EXPECT_EQ(Text("Edt_Circle_Times"), "3");
    // An event commit keeps them.
    Choose(1, "Btn_Del");
    EXPECT_EQ(Stored(0), Content({0xFD, 0x02, 0x82, 0x04, 0x02, 0x04, 0xFC}));
}

TEST_F(MacroEditorTest, AMacroBeyondItsRoomIsRefusedWithTheMessageAndStaysAsStored) {
    // 109 moves and a button press: 219 token bytes; room for one more wait of two.
    Bytes tokens;
    for (int i = 0; i < 109; ++i) {
        tokens.insert(tokens.end(), {0xFB, 0x01});
    }
    tokens.push_back(0xA1);
    ShowMacro(0, tokens);
    OpenInsert(109, 1);
    rig.Click("Btn_OK");
    ASSERT_EQ(list->count(), 111);
    const Bytes full = Stored(0);
    EXPECT_EQ(full[1], 222);
    EXPECT_TRUE(rig.messages.messages().empty());

    OpenInsert(110, 5);
    rig.Click("Btn_OK");
    EXPECT_TRUE(Said("Str103"));
    EXPECT_EQ(Stored(0), full);
    // The stored macro shown again: the 50 ms wait as stored, 48 ms.
    EXPECT_EQ(list->count(), 111);
    EXPECT_EQ(list->item(110)->text(), "48 ms");

    // The repeat wrapper would not fit either: refused as it is chosen, the option as stored.
    rig.messages.Clear();
    rig.Click("IB_CircleAll");
    EXPECT_TRUE(Said("Str103"));
    EXPECT_EQ(Stored(0), full);
    EXPECT_EQ(rig.Picture("Img_CircleAll"), "RdS_D");
    EXPECT_EQ(list->item(110)->text(), "48 ms");
}

TEST_F(MacroEditorTest, AFailedSaveNamesTheFileAndTheStoredMacroStays) {
    ShowMacro(0, kPressWaitRelease);
    const Bytes before = FileBytes();
    rlimit old{};
    ::getrlimit(RLIMIT_FSIZE, &old);
    const auto old_handler = std::signal(SIGXFSZ, SIG_IGN);
    rlimit tight = old;
    tight.rlim_cur = 1000;  // Macro.bin is 25600 bytes
    ::setrlimit(RLIMIT_FSIZE, &tight);
    Choose(1, "Btn_Del");
    ::setrlimit(RLIMIT_FSIZE, &old);
    std::signal(SIGXFSZ, old_handler);

    ASSERT_EQ(rig.messages.messages().size(), 1u);
    EXPECT_TRUE(
        rig.messages.messages().front().contains(QString::fromStdString(library->File().string())));
    EXPECT_EQ(FileBytes(), before);
    EXPECT_EQ(Items(), (QStringList{"A", "96 ms", "A"}));
}

TEST_F(MacroEditorTest, TheInsertBoxRecordCaptionShowsWholeInEveryLanguage) {
    // Both captions of the insert box's record button, the one shown while recording too, fit
    // its label, and the label stays clear of the OK button beside it.
    for (int language = 1; language <= 3; ++language) {
        ASSERT_TRUE(rig.window->SwitchLanguage(language).ok);
        auto* label = qobject_cast<QLabel*>(rig.Control("Btn_InsertStart"));
        ASSERT_NE(label, nullptr);
        const QRect ok = rig.Control("Img_OK")->geometry();
        for (const char* key : {"Str400", "Str401"}) {
            const QString text = QString::fromStdString(rig.window->captions().Caption(key));
            const int width = label->fontMetrics().horizontalAdvance(text);
            EXPECT_LE(width, label->contentsRect().width()) << language << " " << key;
            EXPECT_LE(label->geometry().right(), ok.left()) << language;
            EXPECT_GE(label->x(), 0) << language;
            EXPECT_EQ(label->geometry().center().x(),
                      rig.Control("Img_InsertStart")->geometry().center().x());
        }
    }
}

}  // namespace
}  // namespace velq::ui::testing
