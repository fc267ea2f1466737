#pragma once

#include <functional>
#include <string>
#include <string_view>

#include "buttons/ui/editor_dialog.h"

namespace velq::ui {

// What the delay and value dialogs hand over on Confirm: the field's text and the number it
// holds.
struct NumberResult {
    std::string text;
    int value = 0;
};

using NumberDone = std::function<void(const NumberResult&)>;

// The delay and value dialogs: one number typed into `Edt_EditTime`. A key filter keeps other
// characters out of the field, and every change of its text is corrected at once by the
// dialog's rule. Confirm takes the field only while it holds a number: a text such as "1-" or
// a lone "-" keeps the dialog open for the user to put right.
class NumberDialog : public EditorDialogFrame {
    Q_OBJECT

protected:
    using Accepts = bool (*)(std::string_view text);
    using Correct = std::string (*)(std::string_view text);

    NumberDialog(MainWindow& window, EditorDialog kind, Accepts accepts, Correct correct,
                 NumberDone done);

    void Confirm() override;
    void Clear() override;

private:
    Correct correct_;
    NumberDone done_;
};

// `TForm6`, the delay dialog: digits only, held to 0..2040 (empty gives 0).
class TForm6 final : public NumberDialog {
    Q_OBJECT

public:
    TForm6(MainWindow& window, NumberDone done);
};

// `TForm7`, the value dialog of an X or Y move: digits and "-", held to -128..127 (empty gives
// 0, a lone "-" stays while a negative number is typed).
class TForm7 final : public NumberDialog {
    Q_OBJECT

public:
    TForm7(MainWindow& window, NumberDone done);
};

// Open a fresh delay or value dialog over `window`; `done` gets the confirmed number.
DialogOpening OpenDelayDialog(MainWindow& window, NumberDone done);
DialogOpening OpenValueDialog(MainWindow& window, NumberDone done);

}  // namespace velq::ui
