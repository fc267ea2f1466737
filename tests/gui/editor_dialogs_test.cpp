// The frame the five editor dialogs share, driven on the real window: picture, outline and place,
// captions and layout, the picture buttons, and a window that stays usable underneath.
#include <QApplication>
#include <QLabel>
#include <QLineEdit>
#include <QPointer>
#include <QTest>

#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <tuple>
#include <vector>

#include "buttons/ui/key_combination_dialog.h"
#include "buttons/ui/key_dialog.h"
#include "buttons/ui/macro_name_dialog.h"
#include "buttons/ui/number_dialogs.h"
#include "flows/ui/standard_pages.h"
#include "gui_test_rig.h"
#include "shell/layout_apply.h"

namespace velq::ui::testing {
namespace {

// What the callbacks were handed, one line per result.
using Results = std::vector<std::string>;

struct DialogCase {
    const char* dialog;
    const char* title_label;
    const char* title_key;
    const char* confirm_key;
    const char* clear_key;
    const char* field;
    QPoint title;  // where the shipped [org1] puts the title, the field and Confirm
    QPoint field_at;
    QPoint confirm;
    int drop;  // below the window's centre
    std::function<DialogOpening(MainWindow&, Results&)> open;
};

const std::vector<DialogCase>& DialogCases() {
    static const std::vector<DialogCase> cases = {
        {"TForm2",
         "lbl_Assembly",
         "Str500",
         "Str501",
         "Str502",
         "Edt_Assembly",
         {420, 220},
         {390, 270},
         {390, 380},
         40,
         [](MainWindow& window, Results& results) {
             return OpenKeyCombinationDialog(window, [&results](const KeyCombinationResult& r) {
                 results.push_back(r.text + " " + r.code + (r.confirmed ? " confirmed" : ""));
             });
         }},
        {"TForm3",
         "lbl_MacroName",
         "Str510",
         "Str511",
         "Str512",
         "Edt_MacroName",
         {420, 230},
         {390, 280},
         {390, 360},
         0,
         [](MainWindow& window, Results& results) {
             return OpenMacroNameDialog(window, [&results](const QString& name) {
                 results.push_back(name.toStdString());
             });
         }},
        {"TForm5",
         "lbl_EditKey",
         "Str520",
         "Str511",
         "Str512",
         "Edt_EditKey",
         {420, 230},
         {390, 280},
         {390, 360},
         0,
         [](MainWindow& window, Results& results) {
             return OpenKeyDialog(window, EditKind::kPress, [&results](const KeyEntryResult& r) {
                 results.push_back(r.name + " | " + r.tail);
             });
         }},
        {"TForm6",
         "lbl_EditTime",
         "Str521",
         "Str511",
         "Str512",
         "Edt_EditTime",
         {420, 230},
         {390, 280},
         {390, 360},
         0,
         [](MainWindow& window, Results& results) {
             return OpenDelayDialog(window, [&results](const NumberResult& r) {
                 results.push_back(r.text + " = " + std::to_string(r.value));
             });
         }},
        {"TForm7",
         "lbl_EditTime",
         "Str523",
         "Str511",
         "Str512",
         "Edt_EditTime",
         {420, 230},
         {390, 280},
         {390, 360},
         0,
         [](MainWindow& window, Results& results) {
             return OpenValueDialog(window, [&results](const NumberResult& r) {
                 results.push_back(r.text + " = " + std::to_string(r.value));
             });
         }},
    };
    return cases;
}

template <class T = QWidget>
T* Find(QWidget* dialog, const char* name) {
    return dialog->findChild<T*>(QString::fromLatin1(name));
}

void Click(QWidget* dialog, const char* name) {
    QWidget* control = Find(dialog, name);
    ASSERT_NE(control, nullptr) << name;
    QTest::mouseClick(control, Qt::LeftButton, {}, control->rect().center());
}

// A closed dialog is deleted once the event loop runs.
void RunDeferredDeletes() {
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
}

TEST(EditorDialogFrameTest, TakesTheOutlineAndSizeOfMsgAndStandsOverTheWindow) {
    WindowRig rig;
    rig.Start();
    rig.window->move(40, 30);
    const QImage msg = rig.pictures.Picture("Msg");
    for (const DialogCase& c : DialogCases()) {
        SCOPED_TRACE(c.dialog);
        Results results;
        const DialogOpening opened = c.open(*rig.window, results);
        ASSERT_TRUE(opened) << opened.error.toStdString();
        EditorDialogFrame* dialog = opened.dialog;
        EXPECT_EQ(dialog->objectName(), c.dialog);
        EXPECT_TRUE(dialog->isVisible());
        EXPECT_EQ(dialog->size(), msg.size());
        EXPECT_TRUE(dialog->mask().xored(ShapeOf(msg)).isEmpty());
        EXPECT_FALSE(dialog->mask().contains(QPoint(5, 5)));  // a corner in the colour key
        EXPECT_TRUE(dialog->windowFlags().testFlag(Qt::FramelessWindowHint));
        EXPECT_TRUE(dialog->windowFlags().testFlag(Qt::WindowStaysOnTopHint));
        EXPECT_TRUE(dialog->isWindow());
        EXPECT_EQ(dialog->parentWidget(), rig.window.get());

        const QRect window = rig.window->frameGeometry();
        EXPECT_EQ(dialog->geometry().center().x(), window.center().x());
        EXPECT_NEAR(dialog->geometry().center().y(), window.center().y() + c.drop, 1);

        auto* title = Find<QLabel>(dialog, c.title_label);
        auto* field = Find<QLineEdit>(dialog, c.field);
        ASSERT_NE(title, nullptr);
        ASSERT_NE(field, nullptr);
        EXPECT_EQ(title->text(), CaptionOf(1, c.title_key));
        EXPECT_EQ(Find<PictureButton>(dialog, "IB_Confirm")->text(), CaptionOf(1, c.confirm_key));
        EXPECT_EQ(Find<PictureButton>(dialog, "IB_Cancel")->text(), CaptionOf(1, c.clear_key));
        EXPECT_EQ(title->pos(), c.title);
        EXPECT_EQ(field->geometry(), QRect(c.field_at, QSize(220, field->sizeHint().height())));
        EXPECT_EQ(Find(dialog, "IB_Confirm")->pos(), c.confirm);
        EXPECT_EQ(Find(dialog, "IB_Close")->pos(), QPoint(960, 20));
        EXPECT_EQ(title->font().pointSize(), 12);
        EXPECT_EQ(field->palette().color(QPalette::Text), QColor(255, 176, 48));
        EXPECT_EQ(title->palette().color(QPalette::WindowText), QColor(230, 230, 230));
        // The whole title is shown: it was sized to its caption.
        EXPECT_GE(title->width(), title->fontMetrics().horizontalAdvance(title->text()));
        EXPECT_TRUE(field->alignment().testFlag(Qt::AlignHCenter));
        EXPECT_EQ(dialog->focusWidget(), field);
        dialog->close();
        RunDeferredDeletes();
    }
}

TEST(EditorDialogFrameTest, TheWindowStaysUsableWhileADialogIsOpen) {
    WindowRig rig;
    rig.Start();
    rig.Unblock();
    for (const DialogCase& c : DialogCases()) {
        SCOPED_TRACE(c.dialog);
        Results results;
        const DialogOpening opened = c.open(*rig.window, results);
        ASSERT_TRUE(opened) << opened.error.toStdString();
        EXPECT_FALSE(opened.dialog->isModal());
        EXPECT_EQ(QApplication::activeModalWidget(), nullptr);
        rig.Click("Btn_Adv_1");
        EXPECT_EQ(rig.window->current_page(), Page::kAdvanced);
        rig.Click("Btn_Main_2");
        EXPECT_EQ(rig.window->current_page(), Page::kOffice);
        EXPECT_TRUE(opened.dialog->isVisible());
        opened.dialog->close();
        RunDeferredDeletes();
    }
}

TEST(EditorDialogFrameTest, CloseHandsOverNothingAndClearKeepsTheDialogOpen) {
    WindowRig rig;
    rig.Start();
    for (const DialogCase& c : DialogCases()) {
        SCOPED_TRACE(c.dialog);
        Results results;
        const DialogOpening opened = c.open(*rig.window, results);
        ASSERT_TRUE(opened) << opened.error.toStdString();
        QPointer<EditorDialogFrame> dialog = opened.dialog;
        QLineEdit* field = dialog->field();
        QTest::keyClick(field, Qt::Key_7);
        EXPECT_FALSE(field->text().isEmpty());
        Click(dialog, "IB_Cancel");
        // Emptied; the number fields' rule then shows 0 at once.
        const bool number = std::string(c.field) == "Edt_EditTime";
        EXPECT_EQ(field->text(), number ? QStringLiteral("0") : QString());
        EXPECT_TRUE(dialog->isVisible());
        EXPECT_EQ(dialog->focusWidget(), field);
        QTest::keyClick(field, Qt::Key_7);
        Click(dialog, "IB_Close");
        RunDeferredDeletes();
        EXPECT_TRUE(dialog.isNull());
        EXPECT_EQ(results, Results{});
    }
}

TEST(EditorDialogFrameTest, ButtonsAndBoxesShowTheirSkinPictures) {
    WindowRig rig;
    rig.Start();
    const DialogOpening opened = OpenKeyCombinationDialog(*rig.window, {});
    ASSERT_TRUE(opened) << opened.error.toStdString();
    for (const auto& [name, normal, hover, pressed] :
         {std::tuple{"IB_Confirm", "BtnS_01", "BtnS_02", "BtnS_03"},
          std::tuple{"IB_Cancel", "BtnS_01", "BtnS_02", "BtnS_03"},
          std::tuple{"IB_Close", "ExitS_01", "ExitS_02", "ExitS_03"}}) {
        SCOPED_TRACE(name);
        auto* button = Find<PictureButton>(opened.dialog, name);
        ASSERT_NE(button, nullptr);
        EXPECT_EQ(button->ShownPicture(), normal);
        EXPECT_EQ(button->size(), rig.pictures.Picture(normal).size());
        const QPointF inside(2, 2);
        QEnterEvent enter(inside, inside, button->mapToGlobal(inside));
        QApplication::sendEvent(button, &enter);
        EXPECT_EQ(button->ShownPicture(), hover);
        QTest::mousePress(button, Qt::LeftButton, {}, QPoint(2, 2));
        EXPECT_EQ(button->ShownPicture(), pressed);
        button->setDown(false);
        QEvent leave(QEvent::Leave);
        QApplication::sendEvent(button, &leave);
        EXPECT_EQ(button->ShownPicture(), normal);
        EXPECT_EQ(button->focusPolicy(), Qt::NoFocus);
    }
    auto* ctrl = Find<PictureCheckBox>(opened.dialog, "CB_Ctrl");
    ASSERT_NE(ctrl, nullptr);
    EXPECT_EQ(ctrl->ShownPicture(), "CbS_D");
    Click(opened.dialog, "CB_Ctrl");
    EXPECT_EQ(ctrl->ShownPicture(), "CbS_E");
    EXPECT_EQ(ctrl->text(), "Ctrl");
    EXPECT_EQ(ctrl->pos(), QPoint(390, 320));
    opened.dialog->close();
    RunDeferredDeletes();
}

TEST(EditorDialogFrameTest, EachOpeningIsFreshAndClosesTheDialogOpenBefore) {
    WindowRig rig;
    rig.Start();
    Results results;
    const DialogOpening first = OpenKeyCombinationDialog(
        *rig.window, [&results](const KeyCombinationResult& r) { results.push_back(r.text); });
    ASSERT_TRUE(first);
    QPointer<EditorDialogFrame> earlier = first.dialog;
    Click(earlier, "CB_Ctrl");
    QTest::keyClick(earlier->field(), Qt::Key_A);
    ASSERT_EQ(earlier->field()->text(), "Ctrl+A");

    const DialogOpening second = OpenKeyCombinationDialog(
        *rig.window, [&results](const KeyCombinationResult& r) { results.push_back(r.text); });
    ASSERT_TRUE(second);
    RunDeferredDeletes();
    EXPECT_TRUE(earlier.isNull());
    EXPECT_EQ(second.dialog->field()->text(), "");
    EXPECT_FALSE(Find<PictureCheckBox>(second.dialog, "CB_Ctrl")->isChecked());

    const DialogOpening third = OpenDelayDialog(*rig.window, {});
    ASSERT_TRUE(third);
    RunDeferredDeletes();
    EXPECT_EQ(rig.window->findChildren<EditorDialogFrame*>().size(), 1);
    EXPECT_EQ(results, Results{});
    third.dialog->close();
    RunDeferredDeletes();
}

TEST(EditorDialogFrameTest, CaptionsAndLayoutFollowTheWindowsLanguage) {
    WindowRig rig;
    rig.Start();
    ASSERT_TRUE(rig.window->SwitchLanguage(2));
    for (const DialogCase& c : DialogCases()) {
        SCOPED_TRACE(c.dialog);
        Results results;
        const DialogOpening opened = c.open(*rig.window, results);
        ASSERT_TRUE(opened) << opened.error.toStdString();
        EXPECT_EQ(Find<QLabel>(opened.dialog, c.title_label)->text(), CaptionOf(2, c.title_key));
        EXPECT_EQ(Find<PictureButton>(opened.dialog, "IB_Confirm")->text(),
                  CaptionOf(2, c.confirm_key));
        opened.dialog->close();
        RunDeferredDeletes();
    }
}

// A layout moving the input field moves it in the dialogs that read its key only.
TEST(EditorDialogFrameTest, TheLayoutsDialogKeysPlaceTheControls) {
    const auto layout = [](const LayoutContext& context) {
        std::string text = LayoutTextWithout(context.language, "MNC_X");
        text.insert(text.find("MNC_Y"), "MNC_X=300\r\n");
        LayoutResult<ConfigSection> section =
            ParseConfigText(text, "org" + std::to_string(context.language));
        return section ? ApplyLayout(*section.value, context)
                       : LayoutResult<LayoutPlan>::Failure(section.error);
    };
    WindowRig rig({}, layout);
    rig.Start();
    for (const DialogCase& c : DialogCases()) {
        SCOPED_TRACE(c.dialog);
        Results results;
        const DialogOpening opened = c.open(*rig.window, results);
        ASSERT_TRUE(opened) << opened.error.toStdString();
        const int expected = std::string(c.dialog) == "TForm2" ? 390 : 300;
        EXPECT_EQ(opened.dialog->field()->x(), expected);
        opened.dialog->close();
        RunDeferredDeletes();
    }
}

// The skin without "Msg": no dialog opens, and the reason names the picture.
TEST(EditorDialogFrameTest, AMissingPictureStopsTheOpening) {
    class WithoutMsg final : public PictureSource {
    public:
        QImage Picture(std::string_view name) const override {
            return name == "Msg" ? QImage() : pictures.Picture(name);
        }
        PlaceholderPictures pictures;
    };
    EnsureApplication();
    WithoutMsg source;
    RecordingMessagePresenter messages;
    ScriptedFileDialogs files;
    MainWindow window(WithStandardPages(DefaultServices(source, source.pictures, messages, files)));
    ASSERT_TRUE(window.Start());
    for (const DialogCase& c : DialogCases()) {
        Results results;
        const DialogOpening opened = c.open(window, results);
        EXPECT_FALSE(opened) << c.dialog;
        EXPECT_EQ(opened.error,
                  QStringLiteral("Missing picture resource \"Msg\" for %1").arg(c.dialog));
    }
    RunDeferredDeletes();
    EXPECT_TRUE(window.findChildren<EditorDialogFrame*>().isEmpty());
}

}  // namespace
}  // namespace velq::ui::testing
