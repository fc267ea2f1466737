#include "buttons/ui/editor_dialog.h"

#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPainter>

#include <array>
#include <string_view>

#include "shell/caption_targets.h"
#include "shell/ui/main_window.h"
#include "shell/ui/widget_step.h"

namespace velq::ui {
namespace {

// The names each dialog goes by, and how far below the window's centre it opens.
struct DialogNames {
    EditorDialog kind;
    std::string_view dialog;
    std::string_view field;
    int drop;
};

constexpr std::array<DialogNames, kEditorDialogs.size()> kDialogNames{{
    {EditorDialog::kKeyCombination, "TForm2", "Edt_Assembly", 40},
    {EditorDialog::kMacroName, "TForm3", "Edt_MacroName", 0},
    {EditorDialog::kKey, "TForm5", "Edt_EditKey", 0},
    {EditorDialog::kDelay, "TForm6", "Edt_EditTime", 0},
    {EditorDialog::kValue, "TForm7", "Edt_EditTime", 0},
}};

const DialogNames& NamesOf(EditorDialog kind) {
    return kDialogNames[static_cast<size_t>(kind)];
}

const DialogCaptionKeys& CaptionKeysOf(EditorDialog kind) {
    for (const DialogCaptionKeys& keys : kDialogCaptionKeys) {
        if (keys.dialog == NamesOf(kind).dialog) {
            return keys;
        }
    }
    return kDialogCaptionKeys.front();
}

QString ToQString(std::string_view text) {
    return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
}

// The input field stands on the dark well of the dialog's picture: a dark field keeps the
// layout's input colour readable.
const QColor kFieldBackground(0x1F, 0x24, 0x2B);

}  // namespace

EditorDialogFrame::EditorDialogFrame(MainWindow& window, EditorDialog kind)
    : QWidget(&window, Qt::Dialog | Qt::FramelessWindowHint | Qt::WindowStaysOnTopHint),
      window_(window),
      kind_(kind) {
    const DialogNames& names = NamesOf(kind);
    setObjectName(ToQString(names.dialog));
    setAttribute(Qt::WA_DeleteOnClose, true);
    // The dialog's captions are in the window's caption font.
    setAttribute(Qt::WA_WindowPropagation, true);
    setWindowModality(Qt::NonModal);

    title_ = new QLabel(this);
    title_->setObjectName(ToQString(CaptionKeysOf(kind).title_label));
    title_->setTextFormat(Qt::PlainText);

    field_ = new QLineEdit(this);
    field_->setObjectName(ToQString(names.field));
    field_->setAlignment(Qt::AlignCenter);
    field_->setContextMenuPolicy(Qt::NoContextMenu);
    QPalette palette = field_->palette();
    palette.setColor(QPalette::Base, kFieldBackground);
    field_->setPalette(palette);
    field_->installEventFilter(this);

    confirm_ = new PictureButton(this);
    confirm_->setObjectName(QStringLiteral("IB_Confirm"));
    clear_ = new PictureButton(this);
    clear_->setObjectName(QStringLiteral("IB_Cancel"));
    close_ = new PictureButton(this);
    close_->setObjectName(QStringLiteral("IB_Close"));
    connect(confirm_, &QAbstractButton::clicked, this, [this] { Confirm(); });
    connect(clear_, &QAbstractButton::clicked, this, [this] {
        Clear();
        field_->setFocus();
    });
    connect(close_, &QAbstractButton::clicked, this, &QWidget::close);
}

NamedPicture EditorDialogFrame::Picture(const char* name) {
    NamedPicture picture{QString::fromLatin1(name), window_.SkinPixmap(QString::fromLatin1(name))};
    if (picture.pixmap.isNull() && missing_picture_.isEmpty()) {
        missing_picture_ = picture.name;
    }
    return picture;
}

void EditorDialogFrame::Finish() {
    close();
}

QString EditorDialogFrame::Prepare() {
    const NamedPicture background = Picture("Msg");
    confirm_->SetPictures(Picture("BtnS_01"), Picture("BtnS_02"), Picture("BtnS_03"));
    clear_->SetPictures(Picture("BtnS_01"), Picture("BtnS_02"), Picture("BtnS_03"));
    close_->SetPictures(Picture("ExitS_01"), Picture("ExitS_02"), Picture("ExitS_03"));
    if (!missing_picture_.isEmpty()) {
        return QStringLiteral("Missing picture resource \"%1\" for %2")
            .arg(missing_picture_, objectName());
    }
    background_ = background.pixmap;
    setFixedSize(background_.size());
    // Every pixel of the picture in the colour key is see-through: the window takes its outline.
    shape_ = ShapeOf(background_.toImage());
    setMask(shape_);

    for (const LayoutOp& op : window_.DialogSteps(kind_)) {
        const QString name = QString::fromStdString(op.control);
        QWidget* control = findChild<QWidget*>(name);
        if (control == nullptr) {
            return QStringLiteral("The layout places %1, which %2 does not have")
                .arg(name, objectName());
        }
        if (!RunWidgetStep(*control, op)) {
            return QStringLiteral("%2 cannot run the layout step \"%1\"")
                .arg(QString::fromStdString(DescribeLayoutOp(op)), objectName());
        }
    }

    const CaptionTable& captions = window_.captions();
    const DialogCaptionKeys& keys = CaptionKeysOf(kind_);
    title_->setText(ToQString(captions.Caption(keys.title_key)));
    setWindowTitle(title_->text());
    confirm_->setText(ToQString(captions.Caption(keys.confirm_key)));
    clear_->setText(ToQString(captions.Caption(keys.clear_key)));
    title_->adjustSize();
    field_->resize(field_->width(), field_->sizeHint().height());
    LaidOut();
    return {};
}

void EditorDialogFrame::CentreOverWindow() {
    const QRect owner = window_.frameGeometry();
    move(owner.x() + (owner.width() - width()) / 2,
         owner.y() + (owner.height() - height()) / 2 + NamesOf(kind_).drop);
}

void EditorDialogFrame::paintEvent(QPaintEvent* /*event*/) {
    QPainter painter(this);
    painter.drawPixmap(0, 0, background_);
}

bool EditorDialogFrame::event(QEvent* event) {
    if (event->type() == QEvent::Show) {
        // The native window exists from the first show on: a mask set before may never have
        // reached the window system.
        const bool handled = QWidget::event(event);
        setMask(shape_);
        return handled;
    }
    return QWidget::event(event);
}

bool EditorDialogFrame::eventFilter(QObject* watched, QEvent* event) {
    if (watched == field_ && ReadsKeys()) {
        if (event->type() == QEvent::ShortcutOverride) {
            // Keys that are shortcuts elsewhere are keys to capture here.
            event->accept();
            return true;
        }
        if (event->type() == QEvent::KeyPress) {
            KeyPressed(static_cast<const QKeyEvent&>(*event));
            return true;
        }
    }
    return QWidget::eventFilter(watched, event);
}

DialogOpening ShowEditorDialog(std::unique_ptr<EditorDialogFrame> dialog) {
    if (QString error = dialog->Prepare(); !error.isEmpty()) {
        return {nullptr, error};
    }
    MainWindow& window = dialog->window_;
    for (EditorDialogFrame* open :
         window.findChildren<EditorDialogFrame*>(Qt::FindDirectChildrenOnly)) {
        if (open != dialog.get()) {
            open->close();
        }
    }
    dialog->CentreOverWindow();
    EditorDialogFrame* shown = dialog.release();
    shown->show();
    shown->activateWindow();
    shown->field_->setFocus();
    return {shown, {}};
}

}  // namespace velq::ui
