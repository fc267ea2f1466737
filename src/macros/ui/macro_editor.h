#pragma once

#include <QObject>
#include <QPoint>
#include <QString>

#include <cstdint>
#include <string>

#include "macros/macro_decode.h"
#include "macros/macro_edits.h"
#include "macros/macro_encode.h"
#include "macros/macro_lines.h"

class QFrame;
class QLineEdit;
class QListWidget;
class QWidget;

namespace velq {
class MacroLibrary;
}

namespace velq::ui {

class MacroPage;
class MainWindow;

// The right half of the macro page: the event list of the selected library macro (`LB_macro`),
// its pop-up (`Pnl_DevContent`: edit, delete, insert), the edit dialogs, the insert box and the
// release and repeat options. Every change to the events is committed at once into the
// library entry, which saves its file; a macro that would not fit its room is refused and the
// stored one shown again.
class MacroEditor final : public QObject {
    Q_OBJECT

public:
    explicit MacroEditor(MacroPage& page);
    ~MacroEditor() override;

    // The page's controls exist: connect them, make the pop-up panel.
    void Built();
    // The macro to edit: entry `index` of `library`, or none (null or -1): the list empties.
    // An open insert box closes (its changes are not committed).
    void Show(MacroLibrary* library, int index);
    // Closes the editor's pop-up.
    void HidePopups();
    // The release option that plays the macro to its end, shown and kept for the next commit;
    // nothing is stored by it.
    void SelectPlayToEnd();
    // A click on one of the editor's caption labels; false when it is not one.
    bool LabelClicked(const QString& name);
    // After every layout and captions.
    void Arrange();
    // The page opened: the delay box shows, or the insert box while it is open.
    void ShowBoxes();
    // The language buttons' action, around the layout (see WindowPart).
    void LanguageSwitching();
    void LanguageSwitched(bool applied);

    // What the editor holds now.
    const MacroLines& lines() const { return lines_; }
    const MacroOptions& options() const { return options_; }
    int entry() const { return index_; }
    bool insert_open() const { return insert_open_; }
    // How the shown macro was recorded, as its waits tell (the delay box shows it).
    DelayMode delay_mode() const { return delay_mode_; }
    int fixed_delay_ms() const { return fixed_delay_ms_; }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    MainWindow& window() const;
    QWidget* Control(const char* name) const;
    bool HasMacro() const;
    // The selected item of `LB_macro`, -1 when none.
    int SelectedItem() const;

    // The list shows `lines_`, item `select` selected (-1: none).
    void ShowLines(int select);
    // The stored macro's events again, the options as they are.
    void ReloadLines(int select);
    // Encodes and saves changed events; on refusal or a failed save the stored macro stays and
    // is shown again.
    void Commit(const EventChange& change);
    void ShowOptions();

    void RightPressed(const QPoint& at);
    void RightReleased(const QPoint& global);
    void LayOutPopup();

    void EditSelected();
    void DeleteSelected();
    void SetRelease(ReleaseOption release);
    void RepeatCountEdited(const QString& text);

    void OpenInsertBox();
    void ApplyInsertItem(int item);
    void Insert();
    void CancelInsert();
    void CloseInsertBox();
    void ArrangeInsertBox();
    void ShowDisabledCaptions();

    MacroPage& page_;
    MacroLibrary* library_ = nullptr;
    int index_ = -1;
    MacroLines lines_;
    MacroOptions options_;
    DelayMode delay_mode_ = DelayMode::kNoDelay;
    int fixed_delay_ms_ = 0;
    // Counts the changes of what the list shows: an edit dialog's result is dropped when the
    // list changed while the dialog was open (its item may stand for another event by then).
    uint64_t generation_ = 0;

    QListWidget* list_ = nullptr;
    QFrame* popup_ = nullptr;

    bool insert_open_ = false;
    // The list's top item and selection when the box opened, restored by Cancel.
    int insert_top_ = 0;
    int insert_selected_ = -1;
    // Whether the controls the box disables were enabled when it opened.
    bool names_enabled_ = true;
    bool new_enabled_ = true;
    bool delete_enabled_ = true;
    // Kept across a language switch.
    int insert_item_ = -1;
    bool delay_visible_ = false;
};

}  // namespace velq::ui
