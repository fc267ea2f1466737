#include "macros/ui/macro_editor.h"

#include <QAbstractItemView>
#include <QComboBox>
#include <QEvent>
#include <QFrame>
#include <QImage>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMouseEvent>
#include <QPainter>
#include <QPainterPath>
#include <QPolygonF>
#include <QScrollBar>
#include <QStandardItemModel>
#include <QStyledItemDelegate>
#include <QValidator>

#include <algorithm>
#include <array>
#include <optional>
#include <string_view>

#include "buttons/number_fields.h"
#include "buttons/ui/field_filter.h"
#include "buttons/ui/key_dialog.h"
#include "buttons/ui/number_dialogs.h"
#include "macros/macro_library.h"
#include "macros/ui/macro_page.h"
#include "shell/ui/main_window.h"

namespace velq::ui {

namespace {

// Where the event text starts in a list item, right of the kind's picture.
constexpr int kTextLeft = 45;
constexpr int kIconSize = 20;
constexpr int kFallbackItemHeight = 20;
// The smallest width of the pop-up; it grows to its longest caption.
constexpr int kPopupMinWidth = 120;

// The line kind of an item, kept with the item for drawing.
constexpr int kKindRole = Qt::UserRole;

QColor LayoutColour(uint32_t value) {
    // The layout's colours: R + 256 G + 65536 B.
    return QColor(static_cast<int>(value & 0xFF), static_cast<int>(value >> 8 & 0xFF),
                  static_cast<int>(value >> 16 & 0xFF));
}

// An arrow from `from` to `to` with a filled head.
void DrawArrow(QPainter& p, QPointF from, QPointF to, const QColor& colour) {
    p.setPen(QPen(colour, 2.2, Qt::SolidLine, Qt::RoundCap));
    const QPointF along = to - from;
    const qreal length = std::hypot(along.x(), along.y());
    const QPointF unit = along / length;
    const QPointF normal(-unit.y(), unit.x());
    p.drawLine(from, to - unit * 4);
    p.setPen(Qt::NoPen);
    p.setBrush(colour);
    p.drawPolygon(QPolygonF{to, to - unit * 6 + normal * 4, to - unit * 6 - normal * 4});
}

// A key cap with an arrow into it (press) or out of it (release).
void DrawKey(QPainter& p, bool press) {
    p.setPen(QPen(QColor(190, 200, 215), 1.4));
    p.setBrush(QColor(70, 78, 92));
    p.drawRoundedRect(QRectF(2.5, 6.5, 15, 11), 3, 3);
    const QColor colour = press ? QColor(110, 220, 120) : QColor(255, 160, 60);
    if (press) {
        DrawArrow(p, QPointF(10, 0.5), QPointF(10, 14), colour);
    } else {
        DrawArrow(p, QPointF(10, 15), QPointF(10, 1), colour);
    }
}

void DrawClock(QPainter& p) {
    p.setPen(QPen(QColor(255, 200, 70), 1.8));
    p.setBrush(QColor(60, 50, 20));
    p.drawEllipse(QRectF(2, 2, 16, 16));
    p.setPen(QPen(QColor(255, 230, 150), 1.8, Qt::SolidLine, Qt::RoundCap));
    p.drawLine(QPointF(10, 10), QPointF(10, 5));
    p.drawLine(QPointF(10, 10), QPointF(14, 12));
}

// The pictures of the seven line kinds: wait, press, release, move right, left, down, up.
// Images, not pixmaps, so that they may outlive the application object.
const QImage& KindIcon(int kind) {
    static const std::array<QImage, 7> icons = [] {
        std::array<QImage, 7> made;
        const QColor x_colour(90, 200, 255);
        const QColor y_colour(220, 130, 255);
        for (int k = 0; k < 7; ++k) {
            QImage image(kIconSize, kIconSize, QImage::Format_ARGB32_Premultiplied);
            image.fill(Qt::transparent);
            QPainter p(&image);
            p.setRenderHint(QPainter::Antialiasing);
            switch (k) {
                case 0:
                    DrawClock(p);
                    break;
                case 1:
                case 2:
                    DrawKey(p, k == 1);
                    break;
                case 3:
                    DrawArrow(p, QPointF(2, 10), QPointF(18, 10), x_colour);
                    break;
                case 4:
                    DrawArrow(p, QPointF(18, 10), QPointF(2, 10), x_colour);
                    break;
                case 5:
                    DrawArrow(p, QPointF(10, 2), QPointF(10, 18), y_colour);
                    break;
                default:
                    DrawArrow(p, QPointF(10, 18), QPointF(10, 2), y_colour);
                    break;
            }
            made[static_cast<size_t>(k)] = image;
        }
        return made;
    }();
    return icons.at(static_cast<size_t>(std::clamp(kind, 0, 6)));
}

// Draws the event items: background (the layout's selection colour for the selected one), the
// kind's picture as a square of the item's height at the left edge, the text at 45 pixels.
class EventItemDelegate final : public QStyledItemDelegate {
public:
    EventItemDelegate(MainWindow& window, QObject* parent)
        : QStyledItemDelegate(parent), window_(window) {}

    void paint(QPainter* painter, const QStyleOptionViewItem& option,
               const QModelIndex& index) const override {
        const QRect r = option.rect;
        const bool selected = option.state.testFlag(QStyle::State_Selected);
        painter->save();
        painter->fillRect(r, selected ? LayoutColour(window_.style().macro_highlight_color)
                                      : option.palette.color(QPalette::Base));
        const int kind = index.data(kKindRole).toInt();
        painter->setRenderHint(QPainter::SmoothPixmapTransform);
        painter->drawImage(QRect(r.left(), r.top(), r.height(), r.height()), KindIcon(kind));
        painter->setFont(option.font);
        painter->setPen(option.palette.color(QPalette::Text));
        painter->drawText(r.adjusted(kTextLeft, 0, 0, 0), Qt::AlignLeft | Qt::AlignVCenter,
                          index.data(Qt::DisplayRole).toString());
        painter->restore();
    }

    QSize sizeHint(const QStyleOptionViewItem& option,
                   const QModelIndex& /*index*/) const override {
        const int height = window_.style().macro_name_height;
        return QSize(option.rect.width(), height > 0 ? height : kFallbackItemHeight);
    }

private:
    MainWindow& window_;
};

using Correction = std::string (*)(std::string_view);

// A number field that filters its keys and corrects its text on every change. While it is typed
// into it may be empty or a lone "-" (the start of any number); once left, those take the rule's
// value too ("0").
void MakeNumberField(QLineEdit* field, bool (*accepts)(std::string_view), Correction correct,
                     std::string_view initial) {
    if (field == nullptr) {
        return;
    }
    field->setValidator(new FieldFilter(accepts, field));
    field->setText(QString::fromUtf8(initial.data(), static_cast<qsizetype>(initial.size())));
    QObject::connect(field, &QLineEdit::textChanged, field, [field, correct](const QString& text) {
        if (text.isEmpty() || text == QStringLiteral("-")) {
            return;
        }
        const QString corrected = QString::fromStdString(correct(text.toStdString()));
        if (corrected != text) {
            field->setText(corrected);
        }
    });
    QObject::connect(field, &QLineEdit::editingFinished, field, [field, correct] {
        const QString text = field->text();
        const QString corrected = text == QStringLiteral("-")
                                      ? QStringLiteral("0")
                                      : QString::fromStdString(correct(text.toStdString()));
        if (corrected != text) {
            field->setText(corrected);
        }
    });
}

// The insert box: what each choice of its list shows.
constexpr std::array<const char*, 3> kDelayFields{"lbl_Delay", "Edt_InsertDelay", "lbl_s_A"};
constexpr std::array<const char*, 10> kRecordFields{"IB_InsertRecDelay",   "IB_InsertDelayTime",
                                                    "IB_InsertNoDelay",    "LED_InsertRecDelay",
                                                    "LED_InsertDelayTime", "LED_InsertNoDelay",
                                                    "Img_InsertStart",     "Btn_InsertStart",
                                                    "Edt_InsertDelay",     "lbl_s_A"};
constexpr std::array<const char*, 2> kXFields{"lbl_XAxisValue", "edt_XAxisValue"};
constexpr std::array<const char*, 2> kYFields{"lbl_YAxisValue", "edt_YAxisValue"};
// Every field the box may show; the repeat field never shows in it.
constexpr std::array<const char*, 16> kInsertFields{
    "lbl_Delay",          "Edt_InsertDelay",     "lbl_s_A",
    "IB_InsertRecDelay",  "IB_InsertDelayTime",  "IB_InsertNoDelay",
    "LED_InsertRecDelay", "LED_InsertDelayTime", "LED_InsertNoDelay",
    "Img_InsertStart",    "Btn_InsertStart",     "lbl_XAxisValue",
    "edt_XAxisValue",     "lbl_YAxisValue",      "edt_YAxisValue",
    "lbl_Repeat"};

template <size_t N>
bool Contains(const std::array<const char*, N>& names, const char* name) {
    return std::any_of(names.begin(), names.end(),
                       [name](const char* n) { return std::string_view(n) == name; });
}

bool IsShownFor(InsertWhat what, const char* name) {
    switch (what) {
        case InsertWhat::kDelay:
            return Contains(kDelayFields, name);
        case InsertWhat::kRecording:
            return Contains(kRecordFields, name);
        case InsertWhat::kMoveX:
            return Contains(kXFields, name);
        case InsertWhat::kMoveY:
            return Contains(kYFields, name);
    }
    return false;
}

// The captions on button pictures that the editor disables: greyed while they are.
constexpr std::array<const char*, 4> kDisabledCaptions{"Btn_Start", "Btn_InsertStart", "Btn_New",
                                                       "Btn_Delete"};

const QColor kDisabledText(120, 120, 128);

// The release and repeat options lie where the insert box's picture reaches: they make way for
// it while it is open.
constexpr std::array<const char*, 9> kOptionControls{
    "Img_ReleaseStop", "Img_ReleaseContiue", "Img_CircleTimes",
    "Img_CircleAll",   "IB_ReleaseStop",     "IB_ReleaseContiue",
    "IB_CircleTimes",  "IB_CircleAll",       "Edt_Circle_Times"};

// The captions beside the insert box's fields: the field's name left of it, its unit right.
struct FieldCaption {
    const char* label;
    const char* field;
    bool left;
};
constexpr std::array<FieldCaption, 4> kFieldCaptions{{
    {"lbl_Delay", "Edt_InsertDelay", true},
    {"lbl_s_A", "Edt_InsertDelay", false},
    {"lbl_XAxisValue", "edt_XAxisValue", true},
    {"lbl_YAxisValue", "edt_YAxisValue", true},
}};
// Room kept between a caption and its field, and inside the box's right edge.
constexpr int kCaptionGap = 4;
constexpr int kBoxMargin = 8;

}  // namespace

MacroEditor::MacroEditor(MacroPage& page) : page_(page) {}

MacroEditor::~MacroEditor() {
    // The capture's thread calls into the editor: it ends first.
    if (capture_ != nullptr) {
        capture_->Stop();
    }
}

MainWindow& MacroEditor::window() const {
    return page_.window();
}

QWidget* MacroEditor::Control(const char* name) const {
    return page_.Control(QString::fromLatin1(name));
}

bool MacroEditor::HasMacro() const {
    return library_ != nullptr && index_ >= 0 &&
           static_cast<std::size_t>(index_) < library_->Count();
}

int MacroEditor::SelectedItem() const {
    if (list_ == nullptr) {
        return -1;
    }
    QListWidgetItem* item = list_->currentItem();
    return item != nullptr && item->isSelected() ? list_->row(item) : -1;
}

void MacroEditor::Built() {
    list_ = qobject_cast<QListWidget*>(Control("LB_macro"));
    if (list_ != nullptr) {
        list_->setItemDelegate(new EventItemDelegate(window(), list_));
        list_->setSelectionMode(QAbstractItemView::SingleSelection);
        list_->setEditTriggers(QAbstractItemView::NoEditTriggers);
        list_->setUniformItemSizes(true);
        list_->setContextMenuPolicy(Qt::NoContextMenu);
        // The texts are short: the list scrolls up and down only.
        list_->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
        list_->viewport()->installEventFilter(this);

        // The pop-up of the event list, on the page above the list.
        popup_ = new QFrame(list_->parentWidget());
        popup_->setObjectName(QStringLiteral("Pnl_DevContent"));
        popup_->setFrameShape(QFrame::Box);
        popup_->setFrameShadow(QFrame::Plain);
        popup_->setAutoFillBackground(true);
        popup_->hide();
        page_.Adopt(popup_);
        for (const char* name : {"Btn_Edit", "Btn_Del", "Btn_Insert"}) {
            if (QWidget* button = Control(name)) {
                button->setParent(popup_);
                button->show();
            }
        }
    }

    if (auto* combo = qobject_cast<QComboBox*>(Control("CB_Insert"))) {
        while (combo->count() < kInsertChoiceCount) {
            combo->addItem(QString());
        }
        connect(combo, &QComboBox::currentIndexChanged, this,
                [this](int item) { ApplyInsertItem(item); });
    }
    auto* delay = qobject_cast<QLineEdit*>(Control("Edt_InsertDelay"));
    MakeNumberField(delay, DelayFieldAccepts, CorrectDelayText, kInsertDelayDefault);
    if (delay != nullptr) {
        delay->setMaxLength(kInsertDelayMaxLength);
    }
    for (const char* axis : {"edt_XAxisValue", "edt_YAxisValue"}) {
        MakeNumberField(qobject_cast<QLineEdit*>(Control(axis)), ValueFieldAccepts,
                        CorrectValueText, kInsertAxisDefault);
    }
    if (auto* count = qobject_cast<QLineEdit*>(Control("Edt_Circle_Times"))) {
        count->setValidator(new FieldFilter(DelayFieldAccepts, count));
        count->setText(QString::fromLatin1(kRepeatCountDefault.data()));
        connect(count, &QLineEdit::textChanged, this,
                [this](const QString& text) { RepeatCountEdited(text); });
    }
    for (const char* picture :
         {"Img_ReleaseStop", "Img_ReleaseContiue", "Img_CircleTimes", "Img_CircleAll"}) {
        // "Img_ReleaseStop" -> "IB_ReleaseStop"
        page_.ClickThrough(QString::fromLatin1(picture),
                           QStringLiteral("IB_") + QString::fromLatin1(picture).mid(4));
    }
    BuiltRecording();
    ShowDisabledCaptions();
    ShowOptions();
    ShowLines(-1);
    ApplyInsertItem(0);
}

void MacroEditor::Arrange() {
    // A layout sets the captions' colours for every state, and the captions anew: disabled
    // buttons show they are, and the OK caption follows the box's choice again.
    ShowDisabledCaptions();
    if (auto* combo = qobject_cast<QComboBox*>(Control("CB_Insert"))) {
        ApplyInsertItem(combo->currentIndex());
    }
    // The layout's captions say "record": a running recording says "stop" again.
    if (recorder_.recording()) {
        const char* button =
            recorder_.kind() == RecordingKind::kRecord ? "Btn_Start" : "Btn_InsertStart";
        if (auto* label = qobject_cast<QLabel*>(Control(button))) {
            label->setText(QString::fromStdString(window().captions().Caption("Str401")));
        }
    }
    ShowDelayOptions();
    ArrangeInsertBox();
    LayOutPopup();
    if (list_ != nullptr) {
        // The scroll bar in the list's dark colours rather than the desktop's light ones.
        const QColor back = LayoutColour(window().style().macro_list_back_color);
        const QColor handle = LayoutColour(window().style().macro_back_color).lighter(220);
        QPalette palette = list_->verticalScrollBar()->palette();
        for (const QPalette::ColorRole role : {QPalette::Window, QPalette::Base}) {
            palette.setColor(role, back);
        }
        for (const QPalette::ColorRole role :
             {QPalette::Button, QPalette::Light, QPalette::Midlight, QPalette::Mid}) {
            palette.setColor(role, handle);
        }
        palette.setColor(QPalette::Dark, back.lighter(150));
        palette.setColor(QPalette::Shadow, back);
        list_->verticalScrollBar()->setPalette(palette);
        list_->doItemsLayout();
    }
}

void MacroEditor::ArrangeInsertBox() {
    QWidget* box = Control("Gb_Insert");
    if (box == nullptr) {
        return;
    }
    // The list as wide as its longest choice (the layout gives it no width), within the box.
    if (auto* combo = qobject_cast<QComboBox*>(Control("CB_Insert"))) {
        const QFontMetrics metrics(combo->font());
        int longest = 0;
        for (int item = 0; item < combo->count(); ++item) {
            longest = std::max(longest, metrics.horizontalAdvance(combo->itemText(item)));
        }
        const int wanted = longest + combo->sizeHint().height() + 16;  // and the arrow
        combo->resize(std::min(wanted, box->width() - combo->x() - kBoxMargin),
                      combo->sizeHint().height());
        combo->view()->setMinimumWidth(wanted);
    }
    // The field captions in the page's text colour, whole, and clear of their fields.
    const QColor text = LayoutColour(window().style().macro_font_color);
    for (const FieldCaption& caption : kFieldCaptions) {
        auto* label = qobject_cast<QLabel*>(Control(caption.label));
        const QWidget* field = Control(caption.field);
        if (label == nullptr || field == nullptr) {
            continue;
        }
        QPalette palette = label->palette();
        palette.setColor(QPalette::WindowText, text);
        palette.setColor(QPalette::Disabled, QPalette::WindowText, kDisabledText);
        label->setPalette(palette);
        label->adjustSize();
        const int y = field->y() + (field->height() - label->height()) / 2;
        if (caption.left) {
            label->move(std::min(label->x(), field->x() - kCaptionGap - label->width()), y);
        } else {
            label->move(field->x() + field->width() + kCaptionGap, y);
        }
    }
}

void MacroEditor::ShowDisabledCaptions() {
    for (const char* name : kDisabledCaptions) {
        if (QWidget* button = Control(name)) {
            QPalette palette = button->palette();
            palette.setColor(QPalette::Disabled, QPalette::WindowText, kDisabledText);
            button->setPalette(palette);
        }
    }
}

void MacroEditor::Show(MacroLibrary* library, int index) {
    HidePopups();
    if (insert_open_) {
        // The box belongs to the macro it was opened on.
        CloseInsertBox();
    }
    library_ = library;
    index_ = library != nullptr ? index : -1;
    ++generation_;
    if (HasMacro()) {
        const ShownMacro shown =
            ShowMacroContent(library_->Content(static_cast<std::size_t>(index_)), options_);
        options_ = shown.options;
        lines_ = shown.decoded.lines;
        delay_mode_ = shown.decoded.delay_mode;
        fixed_delay_ms_ = shown.decoded.fixed_delay_ms;
        if (EventCount(lines_) > 0) {
            // The delay group shows how the macro was recorded, as its waits tell.
            record_mode_ = delay_mode_;
            if (delay_mode_ == DelayMode::kFixedDelay) {
                if (auto* delay = qobject_cast<QLineEdit*>(Control("Edt_Delay"))) {
                    delay->setText(QString::number(fixed_delay_ms_));
                }
            }
        }
    } else {
        index_ = -1;
        lines_.clear();
    }
    ShowOptions();
    ShowDelayOptions();
    ShowLines(-1);
}

void MacroEditor::ShowLines(int select) {
    if (list_ == nullptr) {
        return;
    }
    list_->clear();
    for (std::size_t line = 1; line < lines_.size(); ++line) {
        auto* item = new QListWidgetItem(QString::fromStdString(EventDisplayText(lines_[line])));
        item->setData(kKindRole, EventKind(lines_[line]));
        list_->addItem(item);
    }
    if (select >= 0 && select < list_->count()) {
        list_->setCurrentRow(select);
        list_->scrollToItem(list_->item(select));
    } else {
        list_->setCurrentRow(-1);
        list_->clearSelection();
    }
}

void MacroEditor::ReloadLines(int select) {
    ++generation_;
    if (HasMacro()) {
        lines_ = ShowMacroContent(library_->Content(static_cast<std::size_t>(index_)), options_)
                     .decoded.lines;
    } else {
        lines_.clear();
    }
    ShowLines(select);
}

void MacroEditor::Commit(const EventChange& change) {
    if (!HasMacro()) {
        return;
    }
    const int before = SelectedItem();
    const MacroCommit commit =
        CommitMacroLines(*library_, static_cast<std::size_t>(index_), change.lines, options_);
    if (!commit.encoded) {
        if (!commit.encoded.caption_key.empty()) {
            window().ShowMessageKey(commit.encoded.caption_key);
        }
        ReloadLines(before);
        return;
    }
    if (!commit.saved) {
        window().ShowMessage(QString::fromStdString(commit.saved.error));
        ReloadLines(before);
        return;
    }
    ++generation_;
    lines_ = change.lines;
    ShowLines(change.select);
    StoredInLibrary();
}

void MacroEditor::SelectPlayToEnd() {
    options_.release = ReleaseOption::kPlayToEnd;
    ShowOptions();
}

void MacroEditor::ShowOptions() {
    const auto show = [this](const char* picture, bool selected) {
        static_cast<void>(
            page_.SetPicture(QString::fromLatin1(picture),
                             selected ? QStringLiteral("RdS_E") : QStringLiteral("RdS_D")));
    };
    show("Img_ReleaseStop", options_.release == ReleaseOption::kStopOnRelease);
    show("Img_ReleaseContiue", options_.release == ReleaseOption::kPlayToEnd);
    show("Img_CircleTimes", options_.repeat == RepeatOption::kTimes);
    show("Img_CircleAll", options_.repeat == RepeatOption::kEndless);
    if (auto* count = qobject_cast<QLineEdit*>(Control("Edt_Circle_Times"))) {
        const QString text = QString::number(options_.repeat_count);
        if (FieldNumber(count->text().toStdString()) != options_.repeat_count) {
            count->setText(text);
        }
        count->setEnabled(RepeatCountEnabled(options_.repeat));
    }
}

void MacroEditor::RepeatCountEdited(const QString& text) {
    auto* count = qobject_cast<QLineEdit*>(Control("Edt_Circle_Times"));
    const QString corrected = QString::fromStdString(CorrectRepeatCountText(text.toStdString()));
    if (count != nullptr && corrected != text) {
        count->setText(corrected);  // comes back here with the corrected text
        return;
    }
    if (const std::optional<int> number = FieldNumber(corrected.toStdString());
        number && *number != options_.repeat_count) {
        MacroOptions changed = options_;
        changed.repeat_count = *number;
        StoreOptions(changed);
    }
}

void MacroEditor::SetRepeat(RepeatOption repeat) {
    MacroOptions changed = options_;
    changed.repeat = repeat;
    StoreOptions(changed);
}

void MacroEditor::StoreOptions(const MacroOptions& changed) {
    const bool stored_differs =
        changed.repeat != options_.repeat ||
        (changed.repeat == RepeatOption::kTimes && changed.repeat_count != options_.repeat_count);
    options_ = changed;
    if (HasMacro() && stored_differs && !recorder_.recording()) {
        // The option is the user's choice at once: it goes into the library entry with the
        // events as they are, and reaches the mouse with the next Apply of a button that plays
        // the macro.
        const MacroCommit commit =
            CommitMacroLines(*library_, static_cast<std::size_t>(index_), lines_, options_);
        if (!commit.ok()) {
            // Too long with the repeat around it, or not saved: the stored options stay.
            if (!commit.encoded.ok() && !commit.encoded.caption_key.empty()) {
                window().ShowMessageKey(commit.encoded.caption_key);
            } else if (!commit.saved) {
                window().ShowMessage(QString::fromStdString(commit.saved.error));
            }
            options_ =
                ShowMacroContent(library_->Content(static_cast<std::size_t>(index_)), options_)
                    .options;
        } else {
            StoredInLibrary();
        }
    }
    ShowOptions();
}

void MacroEditor::HidePopups() {
    if (popup_ != nullptr) {
        popup_->hide();
    }
}

bool MacroEditor::eventFilter(QObject* watched, QEvent* event) {
    if (list_ == nullptr || watched != list_->viewport()) {
        return false;
    }
    const QEvent::Type type = event->type();
    if (type != QEvent::MouseButtonPress && type != QEvent::MouseButtonDblClick &&
        type != QEvent::MouseButtonRelease) {
        return false;
    }
    const auto* mouse = static_cast<QMouseEvent*>(event);
    if (mouse->button() == Qt::LeftButton) {
        // A click on the list closes the pop-up; the list selects as usual.
        if (type != QEvent::MouseButtonRelease) {
            HidePopups();
        }
        return false;
    }
    if (mouse->button() != Qt::RightButton) {
        return false;
    }
    if (type == QEvent::MouseButtonRelease) {
        RightReleased(mouse->globalPosition().toPoint());
    } else {
        RightPressed(mouse->position().toPoint());
    }
    return true;
}

void MacroEditor::RightPressed(const QPoint& at) {
    HidePopups();
    const QModelIndex index = list_->indexAt(at);
    if (index.isValid()) {
        list_->setCurrentRow(index.row());
    } else {
        // Below the last item: nothing is selected.
        list_->setCurrentRow(-1);
        list_->clearSelection();
    }
}

void MacroEditor::RightReleased(const QPoint& global) {
    // A macro without events offers the pop-up too: its Insert adds the first event.
    if (popup_ == nullptr || !HasMacro() || (SelectedItem() < 0 && list_->count() > 0)) {
        return;
    }
    LayOutPopup();
    QWidget* page = popup_->parentWidget();
    QPoint at = page->mapFromGlobal(global);
    // Kept whole on the page.
    at.setX(std::clamp(at.x(), 0, std::max(0, page->width() - popup_->width())));
    at.setY(std::clamp(at.y(), 0, std::max(0, page->height() - popup_->height())));
    popup_->move(at);
    popup_->show();
    popup_->raise();
}

void MacroEditor::LayOutPopup() {
    if (popup_ == nullptr) {
        return;
    }
    const std::array<const char*, 3> names{"Btn_Edit", "Btn_Del", "Btn_Insert"};
    int width = kPopupMinWidth;
    int height = std::max(window().style().macro_name_height, kFallbackItemHeight);
    for (const char* name : names) {
        if (auto* button = qobject_cast<QLabel*>(Control(name))) {
            const QFontMetrics metrics(button->font());
            width = std::max(width, metrics.horizontalAdvance(button->text()) + 16);
            height = std::max(height, metrics.height() + 4);
        }
    }
    int row = 0;
    for (const char* name : names) {
        if (QWidget* button = Control(name)) {
            button->setGeometry(1, 1 + row * height, width - 2, height);
            ++row;
        }
    }
    QPalette palette = popup_->palette();
    palette.setColor(QPalette::Window, LayoutColour(window().style().macro_back_color));
    palette.setColor(QPalette::WindowText, LayoutColour(window().style().macro_font_color));
    popup_->setPalette(palette);
    popup_->resize(width, 2 + row * height);
}

bool MacroEditor::LabelClicked(const QString& name) {
    using Action = void (MacroEditor::*)();
    static constexpr std::pair<const char*, Action> kActions[] = {
        {"Btn_Edit", &MacroEditor::EditSelected},    {"Btn_Del", &MacroEditor::DeleteSelected},
        {"Btn_Insert", &MacroEditor::OpenInsertBox}, {"Btn_OK", &MacroEditor::Insert},
        {"Btn_Cancel", &MacroEditor::CancelInsert},
    };
    for (const auto& [control, action] : kActions) {
        if (name == QLatin1String(control)) {
            (this->*action)();
            return true;
        }
    }
    static constexpr std::pair<const char*, DelayMode> kDelayCaptions[] = {
        {"IB_RecDelay", DelayMode::kRealDelays},
        {"IB_DelayTime", DelayMode::kFixedDelay},
        {"IB_NoDelay", DelayMode::kNoDelay},
    };
    for (const auto& [caption, mode] : kDelayCaptions) {
        if (name == QLatin1String(caption)) {
            ChooseRecordDelay(mode);
            return true;
        }
        // "IB_RecDelay" -> "IB_InsertRecDelay"
        if (name == QStringLiteral("IB_Insert") + QLatin1String(caption).mid(3)) {
            ChooseInsertDelay(mode);
            return true;
        }
    }
    if (name == QStringLiteral("Btn_Start")) {
        RecordClicked();
    } else if (name == QStringLiteral("Btn_InsertStart")) {
        InsertRecordClicked();
    } else if (name == QStringLiteral("IB_ReleaseStop")) {
        SetRelease(ReleaseOption::kStopOnRelease);
    } else if (name == QStringLiteral("IB_ReleaseContiue")) {
        SetRelease(ReleaseOption::kPlayToEnd);
    } else if (name == QStringLiteral("IB_CircleTimes")) {
        SetRepeat(ToggleRepeatTimes(options_.repeat));
    } else if (name == QStringLiteral("IB_CircleAll")) {
        SetRepeat(ToggleRepeatEndless(options_.repeat));
    } else {
        return false;
    }
    return true;
}

void MacroEditor::EditSelected() {
    HidePopups();
    const int item = SelectedItem();
    if (!HasMacro() || item < 0) {
        return;
    }
    const std::optional<EventEditKind> kind =
        EditKindOfLine(lines_[static_cast<std::size_t>(item) + 1]);
    if (!kind) {
        return;
    }
    // The item is fixed now; the result replaces it unless the list changed meanwhile.
    const uint64_t generation = generation_;
    const auto replace = [this, item, generation](const std::string& line) {
        if (generation != generation_) {
            return;
        }
        if (const std::optional<EventChange> change = ReplaceEvent(lines_, item, line)) {
            Commit(*change);
        }
    };
    DialogOpening opened;
    switch (*kind) {
        case EventEditKind::kDelay:
            opened = OpenDelayDialog(window(), [replace](const NumberResult& result) {
                if (!result.text.empty()) {
                    replace(DelayEventLine(result.value));
                }
            });
            break;
        case EventEditKind::kPress:
        case EventEditKind::kRelease: {
            const EditKind key_kind =
                *kind == EventEditKind::kPress ? EditKind::kPress : EditKind::kRelease;
            opened = OpenKeyDialog(window(), key_kind,
                                   [replace, key_kind](const KeyEntryResult& result) {
                                       if (!result.name.empty()) {
                                           replace(KeyEventLine(key_kind, result.tail));
                                       }
                                   });
            break;
        }
        case EventEditKind::kMoveX:
        case EventEditKind::kMoveY: {
            const EventEditKind axis = *kind;
            opened = OpenValueDialog(window(), [replace, axis](const NumberResult& result) {
                if (!result.text.empty()) {
                    replace(MoveEventLine(axis, result.value));
                }
            });
            break;
        }
    }
    if (!opened) {
        window().ShowMessage(opened.error);
    }
}

void MacroEditor::DeleteSelected() {
    HidePopups();
    const int item = SelectedItem();
    if (!HasMacro() || item < 0) {
        return;
    }
    if (const std::optional<EventChange> change = DeleteEvent(lines_, item)) {
        Commit(*change);
    }
}

void MacroEditor::SetRelease(ReleaseOption release) {
    options_.release = release;
    ShowOptions();
    if (!HasMacro()) {
        return;
    }
    const LibraryResult saved =
        SetReleaseOption(*library_, static_cast<std::size_t>(index_), release);
    if (!saved) {
        window().ShowMessage(QString::fromStdString(saved.error));
        return;
    }
    StoredInLibrary();
}

void MacroEditor::StoredInLibrary() {
    if (HasMacro()) {
        page_.Stored(index_, library_->NameField(static_cast<std::size_t>(index_)));
    }
}

void MacroEditor::OpenInsertBox() {
    HidePopups();
    if (!HasMacro() || insert_open_ || list_ == nullptr) {
        return;
    }
    insert_open_ = true;
    const QModelIndex top = list_->indexAt(QPoint(1, 1));
    insert_top_ = top.isValid() ? top.row() : 0;
    insert_selected_ = SelectedItem();
    const auto disable = [this](const char* name, bool* was_enabled) {
        if (QWidget* control = Control(name)) {
            if (was_enabled != nullptr) {
                *was_enabled = control->isEnabled();
            }
            control->setEnabled(false);
        }
    };
    // The box's recording starts with measured waits.
    insert_mode_ = DelayMode::kRealDelays;
    disable("LB_MacroName", &names_enabled_);
    disable("Btn_Start", nullptr);
    disable("Btn_New", &new_enabled_);
    disable("Btn_Delete", &delete_enabled_);
    ShowBoxes();
    if (auto* combo = qobject_cast<QComboBox*>(Control("CB_Insert"))) {
        combo->setCurrentIndex(0);
    }
    ApplyInsertItem(0);
}

void MacroEditor::ApplyInsertItem(int item) {
    if (item < 0 || item >= kInsertChoiceCount) {
        return;
    }
    const InsertWhat what = InsertChoiceOf(item).what;
    const bool recording = what == InsertWhat::kRecording;
    for (const char* name : kInsertFields) {
        if (QWidget* field = Control(name)) {
            field->setVisible(IsShownFor(what, name));
        }
    }
    if (QWidget* repeat = Control("edt_Repeat")) {
        repeat->hide();
    }
    // While keys are recorded the delay field only shows the recorder's delay, greyed.
    if (auto* delay = qobject_cast<QLineEdit*>(Control("Edt_InsertDelay"))) {
        delay->setReadOnly(recording);
        delay->setEnabled(!recording);
    }
    if (QWidget* unit = Control("lbl_s_A")) {
        unit->setEnabled(!recording);
    }
    if (recording) {
        // The delay field shows the recording's fixed delay, typed into only in that mode.
        ShowDelayOptions();
        IndentInsertOptionCaptions();
    }
    if (insert_open_) {
        static_cast<void>(page_.SetPicture(
            QStringLiteral("Img_InsertBase"),
            recording ? QStringLiteral("InsertKeyBase") : QStringLiteral("InsertDelayBase")));
    }
    if (auto* ok = qobject_cast<QLabel*>(Control("Btn_OK"))) {
        ok->setText(
            QString::fromStdString(window().captions().Caption(recording ? "Str421" : "Str420")));
    }
}

void MacroEditor::Insert() {
    if (!insert_open_) {
        return;
    }
    auto* combo = qobject_cast<QComboBox*>(Control("CB_Insert"));
    const InsertChoice choice = InsertChoiceOf(combo != nullptr ? combo->currentIndex() : 0);
    if (choice.what == InsertWhat::kRecording) {
        // The lines of an insert recording are in the list already: they are committed now.
        const EventChange change{lines_, SelectedItem()};
        CloseInsertBox();
        recorder_.ClearStopped();
        Commit(change);
        return;
    }
    const char* field_name = choice.what == InsertWhat::kDelay   ? "Edt_InsertDelay"
                             : choice.what == InsertWhat::kMoveX ? "edt_XAxisValue"
                                                                 : "edt_YAxisValue";
    auto* field = qobject_cast<QLineEdit*>(Control(field_name));
    const std::optional<std::string> line =
        field != nullptr ? InsertedLine(choice.what, field->text().toStdString()) : std::nullopt;
    if (!line) {
        // Empty, a lone "-" or "5-3": no number yet; the box says so and stays for the user
        // to put it right.
        SayNotANumber(field);
        return;
    }
    const std::optional<EventChange> change =
        InsertEvent(lines_, SelectedItem(), choice.place, *line);
    CloseInsertBox();
    if (change) {
        Commit(*change);
    }
}

void MacroEditor::CancelInsert() {
    if (!insert_open_) {
        return;
    }
    CloseInsertBox();
    recorder_.ClearStopped();
    ReloadLines(insert_selected_);
    if (list_ != nullptr && insert_top_ < list_->count()) {
        list_->doItemsLayout();
        list_->scrollToItem(list_->item(insert_top_), QAbstractItemView::PositionAtTop);
    }
}

void MacroEditor::CloseInsertBox() {
    insert_open_ = false;
    const auto enable = [this](const char* name, bool enabled) {
        if (QWidget* control = Control(name)) {
            control->setEnabled(enabled);
        }
    };
    // As they were when the box opened: a full library keeps its new-macro button disabled.
    enable("LB_MacroName", names_enabled_);
    enable("Btn_Start", true);
    enable("Btn_New", new_enabled_);
    enable("Btn_Delete", delete_enabled_);
    ShowBoxes();
}

void MacroEditor::ShowBoxes() {
    if (QWidget* delay = Control("Gb_Delay")) {
        delay->setVisible(!insert_open_);
    }
    if (QWidget* insert = Control("Gb_Insert")) {
        insert->setVisible(insert_open_);
    }
    if (QWidget* base = Control("Img_InsertBase")) {
        base->setVisible(insert_open_);
    }
    for (const char* name : kOptionControls) {
        if (QWidget* option = Control(name)) {
            option->setVisible(!insert_open_);
        }
    }
}

void MacroEditor::LanguageSwitching() {
    // The language buttons' action hides the delay box and keeps the insert list's choice.
    const auto* insert_list = qobject_cast<QComboBox*>(Control("CB_Insert"));
    insert_item_ = insert_list != nullptr ? insert_list->currentIndex() : -1;
    QWidget* delay_group = Control("Gb_Delay");
    delay_visible_ = delay_group != nullptr && !delay_group->isHidden();
    if (delay_group != nullptr) {
        delay_group->hide();
    }
}

void MacroEditor::LanguageSwitched(bool applied) {
    if (!applied) {
        // Nothing else changed: put back what the action hid.
        if (QWidget* delay_group = Control("Gb_Delay")) {
            delay_group->setVisible(delay_visible_);
        }
        return;
    }
    if (auto* insert_list = qobject_cast<QComboBox*>(Control("CB_Insert"));
        insert_list != nullptr && insert_item_ >= 0) {
        insert_list->setCurrentIndex(insert_item_);
        ApplyInsertItem(insert_item_);
    }
    if (window().current_page() == Page::kMacro && !window().no_device_page()) {
        ShowBoxes();
    }
}

}  // namespace velq::ui
