// What the user does in each editor dialog, by keys and clicks on its controls, and what the
// dialog hands over.
#include <QApplication>
#include <QKeyEvent>
#include <QLineEdit>
#include <QPointer>
#include <QTest>

#include <gtest/gtest.h>

#include <optional>
#include <string>
#include <vector>

#include "buttons/ui/dialog_keys.h"
#include "buttons/ui/key_combination_dialog.h"
#include "buttons/ui/key_dialog.h"
#include "buttons/ui/macro_name_dialog.h"
#include "buttons/ui/number_dialogs.h"
#include "gui_test_rig.h"

namespace velq::ui::testing {
namespace {

void Click(QWidget* dialog, const char* name) {
    auto* control = dialog->findChild<QWidget*>(QString::fromLatin1(name));
    ASSERT_NE(control, nullptr) << name;
    QTest::mouseClick(control, Qt::LeftButton, {}, control->rect().center());
}

void RunDeferredDeletes() {
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
}

class EditorDialogInputTest : public ::testing::Test {
protected:
    void SetUp() override { rig.Start(); }
    void TearDown() override {
        for (EditorDialogFrame* dialog : rig.window->findChildren<EditorDialogFrame*>()) {
            dialog->close();
        }
        RunDeferredDeletes();
    }

    // Confirms and tells whether the dialog closed.
    bool ConfirmCloses(QPointer<EditorDialogFrame> dialog) {
        Click(dialog, "IB_Confirm");
        RunDeferredDeletes();
        return dialog.isNull();
    }

    WindowRig rig;
};

// ---- Key combination -------------------------------------------------------------------------

class KeyCombinationDialogTest : public EditorDialogInputTest {
protected:
    void SetUp() override {
        EditorDialogInputTest::SetUp();
        const DialogOpening opened = OpenKeyCombinationDialog(
            *rig.window, [this](const KeyCombinationResult& result) { results.push_back(result); });
        ASSERT_TRUE(opened) << opened.error.toStdString();
        dialog = opened.dialog;
    }

    void Key(Qt::Key key, Qt::KeyboardModifiers modifiers = {}) {
        QTest::keyClick(dialog->field(), key, modifiers);
    }
    QString Field() const { return dialog->field()->text(); }

    QPointer<EditorDialogFrame> dialog;
    std::vector<KeyCombinationResult> results;
};

TEST_F(KeyCombinationDialogTest, BoxesThenKeysAndTheCodeConfirmed) {
    Click(dialog, "CB_Ctrl");
    Click(dialog, "CB_Alt");
    EXPECT_EQ(Field(), "Ctrl+Alt");
    Key(Qt::Key_A);
    EXPECT_EQ(Field(), "Ctrl+Alt+A");
    Key(Qt::Key_B);
    EXPECT_EQ(Field(), "Ctrl+Alt+B");
    EXPECT_EQ(dialog->focusWidget(), dialog->field());
    ASSERT_TRUE(ConfirmCloses(dialog));
    ASSERT_EQ(results.size(), 1u);
    EXPECT_EQ(results[0].text, "Ctrl+Alt+B");
    EXPECT_EQ(results[0].code, "020505");
    EXPECT_TRUE(results[0].confirmed);
}

TEST_F(KeyCombinationDialogTest, ModifierKeysAreSwallowedAndTakeTheKeyAway) {
    Key(Qt::Key_Shift, Qt::ShiftModifier);
    EXPECT_EQ(Field(), "");
    Click(dialog, "CB_Ctrl");
    Key(Qt::Key_A);
    ASSERT_EQ(Field(), "Ctrl+A");
    Key(Qt::Key_Shift, Qt::ShiftModifier);
    EXPECT_EQ(Field(), "Ctrl");
    // A key typed with a modifier held is no key of the combination: the boxes say which.
    Key(Qt::Key_A);
    Key(Qt::Key_C, Qt::ControlModifier);
    EXPECT_EQ(Field(), "Ctrl");
    Key(Qt::Key_Meta);  // the Windows key
    EXPECT_EQ(Field(), "Ctrl");
}

TEST_F(KeyCombinationDialogTest, WinAloneAndWinWithD) {
    Click(dialog, "CB_Win");
    EXPECT_EQ(Field(), "Win");
    ASSERT_TRUE(ConfirmCloses(dialog));
    ASSERT_EQ(results.size(), 1u);
    EXPECT_EQ(results[0].code, "020800");

    const DialogOpening again = OpenKeyCombinationDialog(
        *rig.window, [this](const KeyCombinationResult& result) { results.push_back(result); });
    ASSERT_TRUE(again);
    dialog = again.dialog;
    Click(dialog, "CB_Win");
    Key(Qt::Key_D);
    ASSERT_TRUE(ConfirmCloses(dialog));
    ASSERT_EQ(results.size(), 2u);
    EXPECT_EQ(results[1].text, "Win+D");
    EXPECT_EQ(results[1].code, "020807");
}

TEST_F(KeyCombinationDialogTest, ClearingABoxTakesOnlyItsName) {
    Click(dialog, "CB_Ctrl");
    Click(dialog, "CB_Alt");
    Key(Qt::Key_A);
    Click(dialog, "CB_Ctrl");
    EXPECT_EQ(Field(), "Alt+A");
    EXPECT_EQ(dialog->focusWidget(), dialog->field());
}

// Keys that move the focus or would end a dialog elsewhere are keys like any other here.
TEST_F(KeyCombinationDialogTest, TabEnterAndEscAreKeysOfTheCombination) {
    Click(dialog, "CB_Shift");
    for (const auto& [key, shown] :
         {std::pair{Qt::Key_Tab, "Shift+Tab"}, std::pair{Qt::Key_Return, "Shift+Enter"},
          std::pair{Qt::Key_Escape, "Shift+Esc"}, std::pair{Qt::Key_F12, "Shift+F12"},
          std::pair{Qt::Key_BracketLeft, "Shift+OEM_4"}}) {
        Key(key);
        EXPECT_EQ(Field(), shown);
        EXPECT_TRUE(dialog->isVisible()) << shown;
        EXPECT_EQ(dialog->focusWidget(), dialog->field()) << shown;
    }
}

TEST_F(KeyCombinationDialogTest, ClearEmptiesEverythingAndAnEmptyConfirmHandsOverNothing) {
    Click(dialog, "CB_Ctrl");
    Click(dialog, "CB_Shift");
    Key(Qt::Key_A);
    Click(dialog, "IB_Cancel");
    EXPECT_EQ(Field(), "");
    for (const char* box : {"CB_Ctrl", "CB_Shift", "CB_Alt", "CB_Win"}) {
        EXPECT_FALSE(dialog->findChild<PictureCheckBox*>(box)->isChecked()) << box;
    }
    Key(Qt::Key_Z);
    EXPECT_EQ(Field(), "Z");  // a key after Clear stands alone
    Click(dialog, "IB_Cancel");
    ASSERT_TRUE(ConfirmCloses(dialog));
    EXPECT_TRUE(results.empty());
}

// ---- Key -------------------------------------------------------------------------------------

TEST_F(EditorDialogInputTest, KeyDialogNamesTheLastKeyAndItsLineTail) {
    struct Case {
        EditKind kind;
        std::vector<std::pair<Qt::Key, Qt::KeyboardModifiers>> keys;
        std::optional<KeyEntryResult> handed;
    };
    const std::vector<Case> cases = {
        {EditKind::kRelease, {{Qt::Key_Z, {}}}, KeyEntryResult{"Z", "Z CODE:021D"}},
        {EditKind::kPress, {{Qt::Key_Z, {}}}, KeyEntryResult{"Z", "Z CODE:821D"}},
        {EditKind::kPress,
         {{Qt::Key_A, {}}, {Qt::Key_Shift, Qt::ShiftModifier}},
         KeyEntryResult{"Shift", "Shift CODE:82E1"}},
        {EditKind::kRelease, {{Qt::Key_Tab, {}}}, KeyEntryResult{"Tab", "Tab CODE:022B"}},
        {EditKind::kPress,
         {{Qt::Key_1, Qt::KeypadModifier}},
         KeyEntryResult{"1 (numeric pad)", "1 (numeric pad) CODE:8259"}},
        {EditKind::kPress, {}, std::nullopt},
    };
    for (const Case& c : cases) {
        std::vector<KeyEntryResult> results;
        const DialogOpening opened = OpenKeyDialog(
            *rig.window, c.kind, [&results](const KeyEntryResult& r) { results.push_back(r); });
        ASSERT_TRUE(opened) << opened.error.toStdString();
        QPointer<EditorDialogFrame> dialog = opened.dialog;
        for (const auto& [key, modifiers] : c.keys) {
            QTest::keyClick(dialog->field(), key, modifiers);
        }
        const std::string shown = dialog->field()->text().toStdString();
        ASSERT_TRUE(ConfirmCloses(dialog));
        if (!c.handed) {
            EXPECT_TRUE(results.empty()) << results.front().tail;
            continue;
        }
        EXPECT_EQ(shown, c.handed->name);
        ASSERT_EQ(results.size(), 1u) << c.handed->tail;
        EXPECT_EQ(results[0].name, c.handed->name);
        EXPECT_EQ(results[0].tail, c.handed->tail);
    }
}

TEST_F(EditorDialogInputTest, KeyDialogAfterClearHandsOverNothing) {
    std::vector<KeyEntryResult> results;
    const DialogOpening opened =
        OpenKeyDialog(*rig.window, EditKind::kPress,
                      [&results](const KeyEntryResult& r) { results.push_back(r); });
    ASSERT_TRUE(opened);
    QTest::keyClick(opened.dialog->field(), Qt::Key_Q);
    Click(opened.dialog, "IB_Cancel");
    EXPECT_EQ(opened.dialog->field()->text(), "");
    ASSERT_TRUE(ConfirmCloses(opened.dialog));
    EXPECT_TRUE(results.empty());
}

// The platform's own keysym, where it gives one, and the Qt key otherwise lead to the same
// virtual key: a US keyboard gives the codes of the key tables either way.
TEST(DialogKeysTest, NativeKeysymsAndQtKeysGiveTheSameVirtualKey) {
    EnsureApplication();
    struct Case {
        int key;
        Qt::KeyboardModifiers modifiers;
        uint32_t native;  // what xcb reports
        int virtual_key;
    };
    const std::vector<Case> cases = {
        {Qt::Key_A, {}, 0x61, 0x41},
        {Qt::Key_A, Qt::ShiftModifier, 0x41, 0x41},
        {Qt::Key_Exclam, Qt::ShiftModifier, 0x21, 0x31},
        {Qt::Key_BracketLeft, {}, 0x5B, 0xDB},
        {Qt::Key_Shift, {}, 0xFFE1, 0x10},
        {Qt::Key_Shift, {}, 0xFFE2, 0x10},  // right Shift
        {Qt::Key_Control, {}, 0xFFE4, 0x11},
        {Qt::Key_AltGr, {}, 0xFE03, 0x12},
        {Qt::Key_Super_L, {}, 0xFFEB, 0x5B},
        {Qt::Key_Super_R, {}, 0xFFEC, 0x5C},
        {Qt::Key_1, Qt::KeypadModifier, 0xFFB1, 0x61},
        {Qt::Key_Asterisk, Qt::KeypadModifier, 0xFFAA, 0x6A},
        {Qt::Key_Enter, Qt::KeypadModifier, 0xFF8D, 0x0D},
        {Qt::Key_F5, {}, 0xFFC2, 0x74},
        {Qt::Key_Escape, {}, 0xFF1B, 0x1B},
        {Qt::Key_Print, {}, 0xFF61, 0x2C},
        {Qt::Key_Menu, {}, 0xFF67, 0x5D},
        {Qt::Key_VolumeUp, {}, 0x1008FF13, 0xAF},
        {Qt::Key_MediaTogglePlayPause, {}, 0x1008FF14, 0xB3},
        {Qt::Key_Eacute, {}, 0x00E9, 0},  // no key of the list
    };
    for (const Case& c : cases) {
        const QKeyEvent event(QEvent::KeyPress, c.key, c.modifiers, 0, c.native, 0);
        EXPECT_EQ(DialogVirtualKey(event, true), c.virtual_key) << std::hex << c.native;
        EXPECT_EQ(DialogVirtualKey(event, false), c.virtual_key) << std::hex << c.key;
    }
    if (QGuiApplication::platformName() == QStringLiteral("offscreen")) {
        EXPECT_FALSE(PlatformGivesKeysyms());  // nor would the native ones be read
    }
}

// ---- Macro name ------------------------------------------------------------------------------

// Typed as a keyboard of any layout would: each character as the text of a key press (QTest's
// own typing knows ASCII only).
void TypeText(QWidget* field, const QString& text) {
    for (const QChar c : text) {
        QKeyEvent press(QEvent::KeyPress, 0, Qt::NoModifier, QString(c));
        QApplication::sendEvent(field, &press);
    }
}

TEST_F(EditorDialogInputTest, MacroNameTakesSixteenCharactersOfAnyText) {
    std::vector<QString> names;
    const auto open = [&] {
        const DialogOpening opened = OpenMacroNameDialog(
            *rig.window, [&names](const QString& name) { names.push_back(name); });
        EXPECT_TRUE(opened);
        return QPointer<EditorDialogFrame>(opened.dialog);
    };
    QPointer<EditorDialogFrame> dialog = open();
    TypeText(dialog->field(), QStringLiteral("Açaí -12 jump & shoot!"));
    EXPECT_EQ(dialog->field()->text(), QStringLiteral("Açaí -12 jump & "));
    ASSERT_TRUE(ConfirmCloses(dialog));
    ASSERT_EQ(names.size(), 1u);
    EXPECT_EQ(names[0], QStringLiteral("Açaí -12 jump & "));

    dialog = open();
    QTest::keyClicks(dialog->field(), QStringLiteral("x"));
    Click(dialog, "IB_Cancel");
    EXPECT_EQ(dialog->field()->text(), "");
    ASSERT_TRUE(ConfirmCloses(dialog));
    EXPECT_EQ(names.size(), 1u);
}

// ---- Delay and value -------------------------------------------------------------------------

struct Typing {
    const char* typed;  // keys, "\b" for Backspace
    const char* shown;
    std::optional<int> confirmed;  // what Confirm hands over; none: the dialog stays open
};

void Type(QLineEdit* field, const char* typed) {
    for (const char* c = typed; *c != '\0'; ++c) {
        if (*c == '\b') {
            QTest::keyClick(field, Qt::Key_Backspace);
        } else {
            QTest::keyClicks(field, QString(QLatin1Char(*c)));
        }
    }
}

TEST_F(EditorDialogInputTest, NumberFieldsFilterCorrectAndConfirmOnlyNumbers) {
    struct Case {
        bool value_dialog;
        Typing typing;
    };
    const std::vector<Case> cases = {
        {false, {"3000", "2040", 2040}},
        {false, {"12\b\b", "0", 0}},
        {false, {"1a-5.", "15", 15}},
        {false, {"", "", std::nullopt}},  // nothing typed is no number yet
        {true, {"-200", "-128", -128}},
        {true, {"300", "127", 127}},
        {true, {"-", "-", std::nullopt}},
        {true, {"1-", "1-", std::nullopt}},
        {true, {"5-3", "5-3", std::nullopt}},
        {true, {"-7\b\b", "0", 0}},
        {true, {"+4x", "4", 4}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string(c.value_dialog ? "value " : "delay ") + c.typing.typed);
        std::vector<NumberResult> results;
        const auto done = [&results](const NumberResult& r) { results.push_back(r); };
        const DialogOpening opened = c.value_dialog ? OpenValueDialog(*rig.window, done)
                                                    : OpenDelayDialog(*rig.window, done);
        ASSERT_TRUE(opened) << opened.error.toStdString();
        QPointer<EditorDialogFrame> dialog = opened.dialog;
        Type(dialog->field(), c.typing.typed);
        EXPECT_EQ(dialog->field()->text(), c.typing.shown);
        const bool closed = ConfirmCloses(dialog);
        EXPECT_EQ(closed, c.typing.confirmed.has_value());
        if (c.typing.confirmed) {
            ASSERT_EQ(results.size(), 1u);
            EXPECT_EQ(results[0].text, c.typing.shown);
            EXPECT_EQ(results[0].value, *c.typing.confirmed);
        } else {
            EXPECT_TRUE(results.empty());
            dialog->close();
            RunDeferredDeletes();
        }
    }
}

// A value the dialog refused stays for the user to put right; the next Confirm takes it.
TEST_F(EditorDialogInputTest, ValueDialogStaysOpenUntilTheFieldHoldsANumber) {
    std::vector<NumberResult> results;
    const DialogOpening opened =
        OpenValueDialog(*rig.window, [&results](const NumberResult& r) { results.push_back(r); });
    ASSERT_TRUE(opened);
    QPointer<EditorDialogFrame> dialog = opened.dialog;
    Type(dialog->field(), "5-3");
    EXPECT_FALSE(ConfirmCloses(dialog));
    EXPECT_EQ(dialog->focusWidget(), dialog->field());
    EXPECT_EQ(dialog->field()->selectedText(), "5-3");  // typing replaces it
    Type(dialog->field(), "-53");
    ASSERT_TRUE(ConfirmCloses(dialog));
    ASSERT_EQ(results.size(), 1u);
    EXPECT_EQ(results[0].value, -53);
    // Pasted text goes through the same filter as typed text.
    const DialogOpening delay = OpenDelayDialog(*rig.window, {});
    ASSERT_TRUE(delay);
    delay.dialog->field()->insert(QStringLiteral("12ab"));
    EXPECT_EQ(delay.dialog->field()->text(), "");
    delay.dialog->field()->insert(QStringLiteral("4100"));
    EXPECT_EQ(delay.dialog->field()->text(), "2040");
}

}  // namespace
}  // namespace velq::ui::testing
