#pragma once

#include <array>
#include <functional>
#include <string>

#include "buttons/key_combination.h"
#include "buttons/ui/editor_dialog.h"

namespace velq::ui {

// What the key-combination dialog hands over on Confirm: the field's text ("Ctrl+Shift+A"),
// the KeyboardKey code "02" + modifier mask + usage, and the confirmed marker.
struct KeyCombinationResult {
    std::string text;
    std::string code;
    bool confirmed = false;
};

using KeyCombinationDone = std::function<void(const KeyCombinationResult&)>;

// `TForm2`, the key-combination dialog: the modifier boxes `CB_Ctrl`, `CB_Shift`, `CB_Alt`,
// `CB_Win` and the read-only field `Edt_Assembly` that shows them with the key pressed in it.
class TForm2 final : public EditorDialogFrame {
    Q_OBJECT

public:
    TForm2(MainWindow& window, KeyCombinationDone done);

    const KeyCombination& combination() const { return combination_; }

protected:
    void Confirm() override;
    void Clear() override;
    bool ReadsKeys() const override { return true; }
    void KeyPressed(const QKeyEvent& event) override;
    void LaidOut() override;

private:
    void ShowField();

    KeyCombination combination_;
    std::array<PictureCheckBox*, kComboModifiers.size()> boxes_{};
    KeyCombinationDone done_;
};

// Opens a fresh key-combination dialog over `window`. `done` gets the result of a confirmed
// combination that shows something (a Confirm with the field empty hands over nothing, as the
// receiver would ignore it); Close hands over nothing either.
DialogOpening OpenKeyCombinationDialog(MainWindow& window, KeyCombinationDone done);

}  // namespace velq::ui
