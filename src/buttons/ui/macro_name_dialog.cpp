#include "buttons/ui/macro_name_dialog.h"

#include <QLineEdit>

namespace velq::ui {

TForm3::TForm3(MainWindow& window, MacroNameDone done)
    : EditorDialogFrame(window, EditorDialog::kMacroName), done_(std::move(done)) {
    field()->setMaxLength(kMacroNameLength);
}

void TForm3::Confirm() {
    const QString name = field()->text();
    Finish();
    if (!name.isEmpty() && done_) {
        done_(name);
    }
}

void TForm3::Clear() {
    field()->clear();
}

DialogOpening OpenMacroNameDialog(MainWindow& window, MacroNameDone done) {
    return ShowEditorDialog(std::make_unique<TForm3>(window, std::move(done)));
}

}  // namespace velq::ui
