// The recorder's share of the event editor: the record buttons, the delay options of the delay
// group and of the insert box, and the capture's events taken into the lines on the window
// thread.

#include <QComboBox>
#include <QCursor>
#include <QEvent>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMetaObject>

#include <array>
#include <cstdlib>

#include "buttons/linux_keys.h"
#include "buttons/number_fields.h"
#include "buttons/ui/field_filter.h"
#include "capture/ui/in_window_capture.h"
#include "capture/x11_raw_capture.h"
#include "macros/macro_library.h"
#include "macros/macro_token.h"
#include "macros/ui/macro_editor.h"
#include "macros/ui/macro_page.h"
#include "shell/ui/main_window.h"

namespace velq::ui {

namespace {

// The options of the delay group and of the insert box, in the order of DelayMode.
struct DelayOption {
    DelayMode mode;
    const char* caption;
    const char* picture;
    const char* insert_caption;
    const char* insert_picture;
};
constexpr std::array<DelayOption, 3> kDelayOptions{{
    {DelayMode::kRealDelays, "IB_RecDelay", "LED_RecDelay", "IB_InsertRecDelay",
     "LED_InsertRecDelay"},
    {DelayMode::kFixedDelay, "IB_DelayTime", "LED_DelayTime", "IB_InsertDelayTime",
     "LED_InsertDelayTime"},
    {DelayMode::kNoDelay, "IB_NoDelay", "LED_NoDelay", "IB_InsertNoDelay", "LED_InsertNoDelay"},
}};

// A field that only shows the delay: grey text.
const QColor kReadOnlyText(0x72, 0x71, 0x71);
const QColor kGreyText(120, 120, 128);

// The buttons whose left click starts or stops a recording; the capture leaves those clicks out.
constexpr std::array<const char*, 8> kRecordButtons{
    "Btn_Start",  "Img_Start",  "Btn_New",         "Img_New",
    "Btn_Delete", "Img_Delete", "Btn_InsertStart", "Img_InsertStart"};

// What a recording disables, restored as it was when it ends.
constexpr std::array<const char*, 6> kRecordingDisables{
    "LB_PCMacroName", "LB_MacroName", "LB_macro", "Btn_New", "Img_New", "Btn_Delete"};
// What an insert recording disables besides its delay options.
constexpr std::array<const char*, 5> kInsertRecordingDisables{"Btn_OK", "Img_OK", "Btn_Cancel",
                                                              "Img_Cancel", "CB_Insert"};

uint8_t ButtonBit(CapturedButton button) {
    switch (button) {
        case CapturedButton::kLeft:
            return kMacroButtonLeft;
        case CapturedButton::kRight:
            return kMacroButtonRight;
        case CapturedButton::kMiddle:
            return kMacroButtonMiddle;
        case CapturedButton::kForward:
            return kMacroButtonForward;
        case CapturedButton::kBackward:
            return kMacroButtonBackward;
    }
    return 0;
}

void SetTextColour(QWidget* widget, const QColor& colour) {
    if (widget == nullptr) {
        return;
    }
    QPalette palette = widget->palette();
    palette.setColor(QPalette::Text, colour);
    palette.setColor(QPalette::WindowText, colour);
    widget->setPalette(palette);
}

std::unique_ptr<InputCapture> SessionCapture() {
    if (ChooseCapture([](const char* name) { return std::getenv(name); }) ==
        CaptureKind::kInWindow) {
        return std::make_unique<InWindowCapture>();
    }
    return std::make_unique<X11RawCapture>();
}

// Watches the record buttons for the pointer.
class HoverWatch final : public QObject {
public:
    HoverWatch(std::set<QObject*>& hovered, std::atomic<bool>& over, QObject* parent)
        : QObject(parent), hovered_(hovered), over_(over) {}

protected:
    bool eventFilter(QObject* watched, QEvent* event) override {
        if (event->type() == QEvent::Enter) {
            hovered_.insert(watched);
        } else if (event->type() == QEvent::Leave || event->type() == QEvent::Hide) {
            hovered_.erase(watched);
        } else {
            return false;
        }
        over_.store(!hovered_.empty());
        return false;
    }

private:
    std::set<QObject*>& hovered_;
    std::atomic<bool>& over_;
};

}  // namespace

void MacroEditor::BuiltRecording() {
    if (!capture_source_) {
        capture_source_ = SessionCapture;
    }
    auto* delay = qobject_cast<QLineEdit*>(Control("Edt_Delay"));
    if (delay != nullptr) {
        // The text colour the layout gives the fields, for the field while it is typed into.
        field_text_ = delay->palette().color(QPalette::Active, QPalette::Text);
        delay->setValidator(new FieldFilter(DelayFieldAccepts, delay));
        delay->setMaxLength(kInsertDelayMaxLength);
        delay->setText(QString::number(kRecordDelayDefault));
        // Empty while typed; the rule's value once left.
        connect(delay, &QLineEdit::textChanged, delay, [delay](const QString& text) {
            if (text.isEmpty()) {
                return;
            }
            const QString corrected = QString::fromStdString(CorrectDelayText(text.toStdString()));
            if (corrected != text) {
                delay->setText(corrected);
            }
        });
        connect(delay, &QLineEdit::editingFinished, delay, [delay] {
            delay->setText(QString::fromStdString(CorrectDelayText(delay->text().toStdString())));
        });
    }
    for (const DelayOption& option : kDelayOptions) {
        page_.ClickThrough(QString::fromLatin1(option.picture),
                           QString::fromLatin1(option.caption));
        page_.ClickThrough(QString::fromLatin1(option.insert_picture),
                           QString::fromLatin1(option.insert_caption));
    }
    page_.ClickThrough(QStringLiteral("Img_Start"), QStringLiteral("Btn_Start"));
    page_.ClickThrough(QStringLiteral("Img_InsertStart"), QStringLiteral("Btn_InsertStart"));
    auto* watch = new HoverWatch(hovered_record_buttons_, over_record_buttons_, this);
    for (const char* name : kRecordButtons) {
        if (QWidget* button = Control(name)) {
            button->installEventFilter(watch);
        }
    }
    ShowDelayOptions();
}

int MacroEditor::FieldDelay(const char* field) const {
    const auto* edit = qobject_cast<QLineEdit*>(Control(field));
    const std::optional<int> value =
        edit != nullptr ? FieldNumber(CorrectDelayText(edit->text().toStdString())) : std::nullopt;
    return value.value_or(0);
}

void MacroEditor::ShowDelayOptions() {
    for (const DelayOption& option : kDelayOptions) {
        const auto picture = [this](const char* name, bool selected) {
            static_cast<void>(
                page_.SetPicture(QString::fromLatin1(name),
                                 selected ? QStringLiteral("RdS_E") : QStringLiteral("RdS_D")));
        };
        picture(option.picture, option.mode == record_mode_);
        picture(option.insert_picture, option.mode == insert_mode_);
    }
    // The fixed delay's field is typed into only while that mode is chosen.
    if (auto* delay = qobject_cast<QLineEdit*>(Control("Edt_Delay"))) {
        const bool fixed = record_mode_ == DelayMode::kFixedDelay;
        delay->setReadOnly(!fixed || recorder_.recording());
        SetTextColour(delay, fixed && !recorder_.recording() ? field_text_ : kReadOnlyText);
    }
    auto* combo = qobject_cast<QComboBox*>(Control("CB_Insert"));
    const bool recording_item =
        combo != nullptr &&
        InsertChoiceOf(std::max(0, combo->currentIndex())).what == InsertWhat::kRecording;
    if (recording_item) {
        const bool fixed = insert_mode_ == DelayMode::kFixedDelay && !recorder_.recording();
        if (auto* delay = qobject_cast<QLineEdit*>(Control("Edt_InsertDelay"))) {
            delay->setReadOnly(!fixed);
            delay->setEnabled(fixed);
        }
        if (QWidget* unit = Control("lbl_s_A")) {
            unit->setEnabled(fixed);
        }
    }
}

void MacroEditor::IndentInsertOptionCaptions() {
    // The window indents an option's caption past its picture when the layout is applied; the
    // insert box's recording options are hidden then, so the box does it as it shows them.
    for (const DelayOption& option : kDelayOptions) {
        auto* caption = qobject_cast<QLabel*>(Control(option.insert_caption));
        const QWidget* picture = Control(option.insert_picture);
        if (caption == nullptr || picture == nullptr) {
            continue;
        }
        const QRect box = picture->geometry();
        if (box.intersects(caption->geometry()) && box.left() - caption->x() <= 8) {
            caption->setIndent(box.right() + 1 - caption->x() + 4);
        }
    }
}

void MacroEditor::ChooseRecordDelay(DelayMode mode) {
    if (recorder_.recording()) {
        return;
    }
    record_mode_ = mode;
    ShowDelayOptions();
}

void MacroEditor::ChooseInsertDelay(DelayMode mode) {
    if (recorder_.recording()) {
        return;
    }
    insert_mode_ = mode;
    ShowDelayOptions();
}

bool MacroEditor::StartCapture() {
    if (!capture_source_) {
        return false;
    }
    capture_ = capture_source_();
    if (capture_ == nullptr) {
        return false;
    }
    {
        const std::lock_guard lock(captured_mutex_);
        captured_.clear();
        take_posted_ = false;
    }
    std::string error;
    const bool started = capture_->Start(
        [this](const CapturedEvent& event) {
            const bool over = event.kind == CapturedEvent::Kind::kButton &&
                              event.button == CapturedButton::kLeft && over_record_buttons_.load();
            bool post = false;
            {
                const std::lock_guard lock(captured_mutex_);
                captured_.emplace_back(event, over);
                post = !take_posted_;
                take_posted_ = true;
            }
            if (post) {
                QMetaObject::invokeMethod(
                    this, [this] { TakeCaptured(); }, Qt::QueuedConnection);
            }
        },
        error);
    if (!started) {
        capture_.reset();
        window().ShowMessage(QString::fromStdString(error));
        return false;
    }
    if (!capture_->Global() && !wayland_note_shown_) {
        // Once: the session shows the program only what happens over its own window.
        wayland_note_shown_ = true;
        window().ShowMessageKey("Str918");
    }
    return true;
}

void MacroEditor::StopCapture() {
    if (capture_ != nullptr) {
        // Returns once the capture's thread has handed over its last event.
        capture_->Stop();
    }
    TakeCaptured();
    capture_.reset();
}

void MacroEditor::TakeCaptured() {
    std::deque<std::pair<CapturedEvent, bool>> taken;
    {
        const std::lock_guard lock(captured_mutex_);
        taken.swap(captured_);
        take_posted_ = false;
    }
    for (const auto& [event, over] : taken) {
        // The hover flag follows the window's enter and leave events, which a pointer moved
        // and clicked at once (a tablet, a remote desktop, a script) can outrun: a left click
        // counts as over a record button too when the pointer is on one as its event is taken.
        const bool left = event.kind == CapturedEvent::Kind::kButton &&
                          event.button == CapturedButton::kLeft;
        TakeEvent(event, over || (left && PointerOnRecordButton()));
    }
}

bool MacroEditor::PointerOnRecordButton() const {
    const QPoint pointer = QCursor::pos();
    for (const char* name : kRecordButtons) {
        const QWidget* button = Control(name);
        if (button != nullptr && button->isVisible() &&
            button->rect().contains(button->mapFromGlobal(pointer))) {
            return true;
        }
    }
    return false;
}

void MacroEditor::TakeEvent(const CapturedEvent& event, bool over_record_buttons) {
    if (!recorder_.recording()) {
        return;
    }
    RecorderInput input;
    input.press = event.press;
    input.time_ms = event.time_ms;
    if (event.kind == CapturedEvent::Kind::kKey) {
        input.kind = RecorderInput::Kind::kKey;
        input.usage = UsageOfLinuxKey(event.key_code);
        input.repeat = event.repeat;
    } else {
        input.kind = RecorderInput::Kind::kButton;
        input.button = ButtonBit(event.button);
        input.over_record_buttons = over_record_buttons;
    }
    const RecorderStep step = recorder_.Take(input, lines_);
    if (list_ != nullptr && !step.added.empty()) {
        for (const std::size_t line : step.added) {
            auto* item =
                new QListWidgetItem(QString::fromStdString(EventDisplayText(lines_[line])));
            item->setData(Qt::UserRole, EventKind(lines_[line]));
            list_->insertItem(static_cast<int>(line) - 1, item);
        }
        ++generation_;
        if (step.select >= 0 && step.select < list_->count()) {
            list_->setCurrentRow(step.select);
            list_->scrollToItem(list_->item(step.select));
        }
    }
    if (step.stop && !stopping_) {
        // The key release that found the recording full ends it.
        if (recorder_.kind() == RecordingKind::kInsert) {
            StopInsertRecording();
        } else {
            StopRecording();
        }
    }
}

void MacroEditor::RecordClicked() {
    if (recorder_.recording()) {
        if (recorder_.kind() == RecordingKind::kRecord) {
            StopRecording();
        }
        return;
    }
    StartRecording();
}

void MacroEditor::InsertRecordClicked() {
    if (recorder_.recording()) {
        if (recorder_.kind() == RecordingKind::kInsert) {
            StopInsertRecording();
        }
        return;
    }
    // A recording refused a key for room: the box takes no other until it is confirmed.
    if (!recorder_.stopped()) {
        StartInsertRecording();
    }
}

void MacroEditor::StartRecording() {
    window().HideAllMenu();
    if (!HasMacro() || insert_open_) {
        return;
    }
    if (!StartCapture()) {
        return;
    }
    RecordingSetup setup;
    setup.kind = RecordingKind::kRecord;
    setup.capacity = RecordCapacity(ContentForm::kDevice, RecordingKind::kRecord);
    setup.delay_mode = record_mode_;
    setup.fixed_delay_ms = FieldDelay("Edt_Delay");
    setup.header_line = DelayModeLine(record_mode_, setup.fixed_delay_ms);
    recorder_.Start(setup, lines_);
    ++generation_;
    ShowLines(-1);
    SetRecordingControls(true);
    emit page_.recordingChanged(true);
}

void MacroEditor::EndRecording() {
    // The capture's thread ends first, so that no event comes after the recorder stopped.
    stopping_ = true;
    StopCapture();
    stopping_ = false;
    recorder_.Stop();
    emit page_.recordingChanged(false);
}

void MacroEditor::StopRecording() {
    if (!recorder_.recording() || recorder_.kind() != RecordingKind::kRecord) {
        return;
    }
    EndRecording();
    SetRecordingControls(false);
    Commit(EventChange{lines_, SelectedItem()});
    static_cast<void>(page_.SetPicture(QStringLiteral("Img_Start"), QStringLiteral("MacroS_03")));
}

void MacroEditor::SetRecordingControls(bool recording) {
    if (auto* start = qobject_cast<QLabel*>(Control("Btn_Start"))) {
        start->setText(
            QString::fromStdString(window().captions().Caption(recording ? "Str401" : "Str400")));
    }
    if (QWidget* group = Control("Gb_Delay")) {
        group->setEnabled(!recording);
    }
    if (QWidget* count = Control("Edt_Circle_Times")) {
        // Grey while recording, then the palette it had.
        if (recording) {
            count_palette_ = count->palette();
            SetTextColour(count, kGreyText);
        } else {
            count->setPalette(count_palette_);
        }
    }
    if (recording) {
        if (list_ != nullptr) {
            list_->setFocus();
        }
        disabled_by_recording_.clear();
        for (const char* name : kRecordingDisables) {
            if (QWidget* control = Control(name)) {
                disabled_by_recording_.emplace_back(control, control->isEnabled());
                control->setEnabled(false);
            }
        }
        static_cast<void>(
            page_.SetPicture(QStringLiteral("Img_Start"), QStringLiteral("MacroS_04")));
    } else {
        for (const auto& [control, enabled] : disabled_by_recording_) {
            control->setEnabled(enabled);
        }
        disabled_by_recording_.clear();
    }
    ShowDelayOptions();
}

void MacroEditor::StartInsertRecording() {
    if (!HasMacro() || !insert_open_) {
        return;
    }
    auto* combo = qobject_cast<QComboBox*>(Control("CB_Insert"));
    const InsertChoice choice = InsertChoiceOf(combo != nullptr ? combo->currentIndex() : 0);
    if (choice.what != InsertWhat::kRecording) {
        return;
    }
    const int item = SelectedItem();
    const int capacity = RecordCapacity(ContentForm::kDevice, RecordingKind::kInsert);
    const int stored = static_cast<int>(
        StoredLength(library_->Content(static_cast<std::size_t>(index_)), ContentForm::kDevice));
    // A line to insert at (any on a macro without events), and room left.
    if ((item < 0 && EventCount(lines_) > 0) || stored >= capacity) {
        return;
    }
    if (!StartCapture()) {
        return;
    }
    RecordingSetup setup;
    setup.kind = RecordingKind::kInsert;
    setup.capacity = capacity;
    setup.delay_mode = insert_mode_;
    setup.fixed_delay_ms = FieldDelay("Edt_InsertDelay");
    setup.header_line = DelayModeLine(record_mode_, FieldDelay("Edt_Delay"));
    setup.byte_count = stored;
    setup.insert_item = item;
    setup.place = choice.place;
    recorder_.Start(setup, lines_);
    SetInsertRecordingControls(true);
    emit page_.recordingChanged(true);
}

void MacroEditor::StopInsertRecording() {
    if (!recorder_.recording() || recorder_.kind() != RecordingKind::kInsert) {
        return;
    }
    EndRecording();
    SetInsertRecordingControls(false);
}

void MacroEditor::SetInsertRecordingControls(bool recording) {
    if (auto* start = qobject_cast<QLabel*>(Control("Btn_InsertStart"))) {
        start->setText(
            QString::fromStdString(window().captions().Caption(recording ? "Str401" : "Str400")));
    }
    for (const DelayOption& option : kDelayOptions) {
        for (const char* name : {option.insert_caption, option.insert_picture}) {
            if (QWidget* control = Control(name)) {
                control->setEnabled(!recording);
            }
        }
    }
    for (const char* name : kInsertRecordingDisables) {
        if (QWidget* control = Control(name)) {
            control->setEnabled(!recording);
        }
    }
    ShowDelayOptions();
}

void MacroEditor::StopAnyRecording() {
    StopInsertRecording();
    StopRecording();
}

void MacroEditor::SayNotANumber(QLineEdit* field) {
    window().ShowMessageKey("Str919");
    if (field != nullptr) {
        field->setFocus();
        field->selectAll();
    }
}

}  // namespace velq::ui
