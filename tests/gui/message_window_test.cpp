// The message window itself: how a message's joined captions are laid out on screen.
#include <QApplication>
#include <QDialog>
#include <QLabel>
#include <QPushButton>
#include <QTimer>

#include <gtest/gtest.h>

#include "gui_test_rig.h"
#include "shell/ui/message_presenter.h"

namespace velq::ui::testing {
namespace {

struct ShownCase {
    const char* name;
    const char* given;  // the text the window is handed
    const char* shown;  // what its label shows
};

const ShownCase kShownCases[] = {
    {"ParagraphBreak", "first\r\rsecond", "first\n\nsecond"},
    {"LineBreak", "first\rsecond", "first\nsecond"},
    {"WindowsLineEnd", "first\r\nsecond", "first\nsecond"},
    {"ParagraphThenDetailLine", "first\r\rsecond\nfile.bin: damaged",
     "first\n\nsecond\nfile.bin: damaged"},
    {"ParagraphOfWindowsLines", "first\r\n\r\nsecond", "first\n\nsecond"},
    {"TrailingReturn", "first\r", "first\n"},
    {"MarkupStaysText", "<b>first</b>\r\r&amp;", "<b>first</b>\n\n&amp;"},
};

QLabel* MessageLabel(QDialog& dialog) {
    return dialog.findChild<QLabel*>(QStringLiteral("lbl_Message"));
}

TEST(MessageWindowTest, ShowsCarriageReturnsAsLineAndParagraphBreaks) {
    EnsureApplication();
    QtMessagePresenter presenter;
    for (const ShownCase& c : kShownCases) {
        SCOPED_TRACE(c.name);
        std::unique_ptr<QDialog> dialog = presenter.BuildDialog(QString::fromUtf8(c.given));
        QLabel* label = MessageLabel(*dialog);
        ASSERT_NE(label, nullptr);
        EXPECT_EQ(label->text(), QString::fromUtf8(c.shown));
        EXPECT_EQ(label->textFormat(), Qt::PlainText);
    }
}

// On screen a paragraph break is one empty line more than a line break, which is one line more
// than the text on a single line.
TEST(MessageWindowTest, AParagraphBreakLeavesABlankLine) {
    EnsureApplication();
    QtMessagePresenter presenter;
    const auto height_of = [&presenter](const char* text) {
        std::unique_ptr<QDialog> dialog = presenter.BuildDialog(QString::fromUtf8(text));
        QLabel* label = MessageLabel(*dialog);
        return label->heightForWidth(label->minimumWidth());
    };
    std::unique_ptr<QDialog> dialog = presenter.BuildDialog(QStringLiteral("x"));
    const int line = MessageLabel(*dialog)->fontMetrics().lineSpacing();
    const int one = height_of("first second");
    const int two = height_of("first\rsecond");
    const int paragraphs = height_of("first\r\rsecond");
    EXPECT_NEAR(two - one, line, 1);
    EXPECT_NEAR(paragraphs - two, line, 1);
}

// The no-device message as the device flows send it (two captions joined by "\r\r") in the
// real modal window: two paragraphs with an empty line between them; OK closes it.
TEST(MessageWindowTest, NoDeviceMessageShowsTwoParagraphsInTheModalWindow) {
    EnsureApplication();
    QtMessagePresenter presenter;
    const QString first = CaptionOf(1, "Str100");
    const QString second = CaptionOf(1, "Str101");
    ASSERT_FALSE(first.isEmpty());
    ASSERT_FALSE(second.isEmpty());
    QString shown;
    bool closed_by_ok = false;
    QTimer::singleShot(0, [&] {
        auto* dialog = qobject_cast<QDialog*>(QApplication::activeModalWidget());
        if (dialog == nullptr) {
            return;
        }
        if (QLabel* label = MessageLabel(*dialog)) {
            shown = label->text();
        }
        if (auto* ok = dialog->findChild<QPushButton*>(QStringLiteral("Btn_MessageOK"))) {
            closed_by_ok = true;
            ok->click();
        }
    });
    // A window left open would hold the test here; the fallback closes it.
    QTimer fallback;
    fallback.setSingleShot(true);
    QObject::connect(&fallback, &QTimer::timeout, [] {
        if (QWidget* modal = QApplication::activeModalWidget()) {
            modal->close();
        }
    });
    fallback.start(5000);
    presenter.Show(first + QStringLiteral("\r\r") + second);
    EXPECT_TRUE(closed_by_ok);
    EXPECT_EQ(shown, first + QStringLiteral("\n\n") + second);
    const QStringList lines = shown.split(QLatin1Char('\n'));
    ASSERT_EQ(lines.size(), 3);
    EXPECT_TRUE(lines[1].isEmpty());
}

}  // namespace
}  // namespace velq::ui::testing
