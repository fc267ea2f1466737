#pragma once

#include <functional>
#include <string>

#include "buttons/key_entry.h"
#include "buttons/ui/editor_dialog.h"

namespace velq::ui {

// What the key dialog hands over on Confirm: the key's name and the tail of the edited line
// (name + " CODE:" + "82" or "02" + usage).
struct KeyEntryResult {
    std::string name;
    std::string tail;
};

using KeyEntryDone = std::function<void(const KeyEntryResult&)>;

// `TForm5`, the key dialog of a press or release line: the read-only field `Edt_EditKey` shows
// the last key pressed in it.
class TForm5 final : public EditorDialogFrame {
    Q_OBJECT

public:
    TForm5(MainWindow& window, EditKind kind, KeyEntryDone done);

    const KeyEntry& entry() const { return entry_; }

protected:
    void Confirm() override;
    void Clear() override;
    bool ReadsKeys() const override { return true; }
    void KeyPressed(const QKeyEvent& event) override;

private:
    KeyEntry entry_;
    KeyEntryDone done_;
};

// Opens a fresh key dialog over `window` for a line of `kind`; `done` gets the key when one is
// shown on Confirm (after Clear there is none).
DialogOpening OpenKeyDialog(MainWindow& window, EditKind kind, KeyEntryDone done);

}  // namespace velq::ui
