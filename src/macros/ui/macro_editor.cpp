#include "macros/ui/macro_editor.h"

#include "macros/macro_library.h"
#include "shell/ui/main_window.h"

namespace velq::ui {

MacroEditor::MacroEditor(MainWindow& window) : window_(window) {}

void MacroEditor::Built() {}

void MacroEditor::Show(MacroLibrary* library, int index) {
    library_ = library;
    index_ = library != nullptr ? index : -1;
}

void MacroEditor::HidePopups() {}

bool MacroEditor::LabelClicked(const QString& /*name*/) {
    return false;
}

void MacroEditor::Arrange() {}

}  // namespace velq::ui
