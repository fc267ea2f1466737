#pragma once

#include <QString>

#include <functional>

#include "buttons/ui/editor_dialog.h"

namespace velq::ui {

// A macro name holds at most 16 UTF-16 code units, as many as the field takes.
inline constexpr int kMacroNameLength = 16;

using MacroNameDone = std::function<void(const QString& name)>;

// `TForm3`, the macro-name dialog: the name of a new macro or the new name of one, typed into
// `Edt_MacroName` (any text up to 16 characters; the macro library checks it).
class TForm3 final : public EditorDialogFrame {
    Q_OBJECT

public:
    TForm3(MainWindow& window, MacroNameDone done);

protected:
    void Confirm() override;
    void Clear() override;

private:
    MacroNameDone done_;
};

// Opens a fresh macro-name dialog over `window`; `done` gets a confirmed name that is not empty.
DialogOpening OpenMacroNameDialog(MainWindow& window, MacroNameDone done);

}  // namespace velq::ui
