#pragma once

#include <QColor>
#include <QObject>
#include <QPalette>
#include <QPoint>
#include <QString>

#include <atomic>
#include <cstdint>
#include <deque>
#include <functional>
#include <memory>
#include <mutex>
#include <set>
#include <string>
#include <utility>
#include <vector>

#include "capture/input_capture.h"

#include "macros/macro_decode.h"
#include "macros/macro_edits.h"
#include "macros/macro_encode.h"
#include "macros/macro_lines.h"
#include "macros/macro_recorder.h"

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
// release and repeat options, and the recorder's controls (the record button, the delay group
// and the insert box's recording). Every change to the events and options is committed at once
// into the library entry, which saves its file; a macro that would not fit its room is refused
// and the stored one shown again.
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

    // Where recordings take their keys and buttons from; by default the session's global
    // capture (X11) or the window's own (Wayland).
    using CaptureSource = std::function<std::unique_ptr<InputCapture>()>;
    void SetCaptureSource(CaptureSource source) { capture_source_ = std::move(source); }
    // A recording or insert recording runs.
    bool recording() const { return recorder_.recording(); }
    const MacroRecorder& recorder() const { return recorder_; }
    // The delay modes chosen for recording and for the insert box's recording.
    DelayMode record_delay_mode() const { return record_mode_; }
    DelayMode insert_delay_mode() const { return insert_mode_; }
    // Ends a running recording as its button would (the window closes, the page is left).
    void StopAnyRecording();

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
    // The selected macro is in the library as changed: the page says so to the slot copies.
    void StoredInLibrary();
    void ShowOptions();

    void RightPressed(const QPoint& at);
    void RightReleased(const QPoint& global);
    void LayOutPopup();

    void EditSelected();
    void DeleteSelected();
    void SetRelease(ReleaseOption release);
    void SetRepeat(RepeatOption repeat);
    // The options changed by the user: stored in the library entry at once.
    void StoreOptions(const MacroOptions& changed);
    void RepeatCountEdited(const QString& text);

    void OpenInsertBox();
    void ApplyInsertItem(int item);
    void Insert();
    void CancelInsert();
    void CloseInsertBox();
    void ArrangeInsertBox();
    void ShowDisabledCaptions();

    // Recording (macro_recording.cpp).
    void BuiltRecording();
    void ShowDelayOptions();
    void IndentInsertOptionCaptions();
    void ChooseRecordDelay(DelayMode mode);
    void ChooseInsertDelay(DelayMode mode);
    void RecordClicked();
    void InsertRecordClicked();
    // Starts the capture, events to the window thread; false (and said) when it cannot run.
    bool StartCapture();
    // Stops the capture and takes what it left; nothing is taken afterwards.
    void StopCapture();
    void StartRecording();
    void StopRecording();
    void StartInsertRecording();
    void StopInsertRecording();
    void SetRecordingControls(bool recording);
    void SetInsertRecordingControls(bool recording);
    // On the window thread: the events the capture took, in order.
    void TakeCaptured();
    // Stops the capture, then the recorder, and tells the window the recording ended.
    void EndRecording();
    // True while the pointer lies on one of the buttons whose left clicks are not recorded.
    bool PointerOnRecordButton() const;
    void TakeEvent(const CapturedEvent& event, bool over_record_buttons);
    // The field's text as a wait for fixed delays (0..2040).
    int FieldDelay(const char* field) const;
    // A number field of the insert box whose text is not a number yet: said, and focused.
    void SayNotANumber(QLineEdit* field);
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

    // The recorder and its capture. The capture's thread hands each event over in `captured_`
    // and wakes the window thread once; the recorder runs on the window thread alone.
    MacroRecorder recorder_;
    CaptureSource capture_source_;
    std::unique_ptr<InputCapture> capture_;
    std::mutex captured_mutex_;
    std::deque<std::pair<CapturedEvent, bool>> captured_;
    bool take_posted_ = false;
    // The pointer is over a button whose left click starts or stops a recording; read by the
    // capture's thread as each event is taken.
    std::atomic<bool> over_record_buttons_{false};
    std::set<QObject*> hovered_record_buttons_;
    bool stopping_ = false;
    bool wayland_note_shown_ = false;
    DelayMode record_mode_ = DelayMode::kRealDelays;
    DelayMode insert_mode_ = DelayMode::kRealDelays;
    // The fields' text colour of the layout, and the repeat count's palette while a recording
    // greys it.
    QColor field_text_;
    QPalette count_palette_;
    // Whether the controls a recording disables were enabled when it started.
    std::vector<std::pair<QWidget*, bool>> disabled_by_recording_;
};

}  // namespace velq::ui
