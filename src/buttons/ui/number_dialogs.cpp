#include "buttons/ui/number_dialogs.h"

#include <QLineEdit>
#include <QValidator>

#include <optional>

#include "buttons/number_fields.h"
#include "buttons/ui/field_filter.h"

namespace velq::ui {
namespace {}  // namespace

NumberDialog::NumberDialog(MainWindow& window, EditorDialog kind, Accepts accepts, Correct correct,
                           NumberDone done)
    : EditorDialogFrame(window, kind), correct_(correct), done_(std::move(done)) {
    field()->setValidator(new FieldFilter(accepts, field()));
    connect(field(), &QLineEdit::textChanged, this, [this](const QString& text) {
        const QString corrected = QString::fromStdString(correct_(text.toStdString()));
        if (corrected != text) {
            field()->setText(corrected);
        }
    });
}

void NumberDialog::Confirm() {
    const std::string text = field()->text().toStdString();
    const std::optional<int> value = FieldNumber(text);
    if (!value) {
        // Not a number yet: the dialog stays for the user to put it right.
        field()->setFocus();
        field()->selectAll();
        return;
    }
    Finish();
    if (done_) {
        done_(NumberResult{text, *value});
    }
}

void NumberDialog::Clear() {
    // Emptied, the field takes the rule's text for empty at once ("0").
    field()->clear();
}

TForm6::TForm6(MainWindow& window, NumberDone done)
    : NumberDialog(window, EditorDialog::kDelay, DelayFieldAccepts, CorrectDelayText,
                   std::move(done)) {}

TForm7::TForm7(MainWindow& window, NumberDone done)
    : NumberDialog(window, EditorDialog::kValue, ValueFieldAccepts, CorrectValueText,
                   std::move(done)) {}

DialogOpening OpenDelayDialog(MainWindow& window, NumberDone done) {
    return ShowEditorDialog(std::make_unique<TForm6>(window, std::move(done)));
}

DialogOpening OpenValueDialog(MainWindow& window, NumberDone done) {
    return ShowEditorDialog(std::make_unique<TForm7>(window, std::move(done)));
}

}  // namespace velq::ui
