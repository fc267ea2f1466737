#include "buttons/ui/key_dialog.h"

#include <QLineEdit>

#include "buttons/ui/dialog_keys.h"

namespace velq::ui {

TForm5::TForm5(MainWindow& window, EditKind kind, KeyEntryDone done)
    : EditorDialogFrame(window, EditorDialog::kKey), entry_(kind), done_(std::move(done)) {
    field()->setReadOnly(true);
}

void TForm5::KeyPressed(const QKeyEvent& event) {
    entry_.PressKey(DialogVirtualKey(event));
    field()->setText(QString::fromStdString(entry_.field()));
}

void TForm5::Confirm() {
    const KeyEntryResult result{entry_.field(), entry_.tail()};
    Finish();
    if (!result.name.empty() && done_) {
        done_(result);
    }
}

void TForm5::Clear() {
    entry_.Clear();
    field()->clear();
}

DialogOpening OpenKeyDialog(MainWindow& window, EditKind kind, KeyEntryDone done) {
    return ShowEditorDialog(std::make_unique<TForm5>(window, kind, std::move(done)));
}

}  // namespace velq::ui
