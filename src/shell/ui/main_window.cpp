#include "shell/ui/main_window.h"
#include "shell/ui/main_window_detail.h"

#include <QApplication>
#include <QButtonGroup>
#include <QComboBox>
#include <QFrame>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QRadioButton>
#include <QScreen>
#include <QTimer>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <utility>
#include <vector>

#include "shell/caption_targets.h"
#include "shell/engineer_terms.h"
#include "shell/language_font.h"
#include "shell/ui/combo_popup.h"
#include "shell/ui/message_presenter.h"
#include "shell/ui/picture_source.h"
#include "shell/ui/skin_group.h"
#include "shell/ui/skin_label.h"
#include "shell/ui/skin_slider.h"

namespace velq::ui {
namespace {

constexpr int kEngineeringWidth = 1000;
constexpr int kEngineeringHeight = 600;
// The menus' row pitch. The main menu's last row (the fire macro entry) lies below the panel
// height of the pages without guns (165) and inside that of the gaming page with guns (195).
constexpr int kMenuRowHeight = 23;
constexpr int kLabelRunIntervalMs = 200;
const QRgb kColourKey = qRgb(128, 0, 0);

}  // namespace

// Shared with the other files of the window.
namespace detail {

QString ToQString(std::string_view text) {
    return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
}

QColor ColourOf(uint32_t value) {
    return QColor(static_cast<int>(value & 0xFF), static_cast<int>((value >> 8) & 0xFF),
                  static_cast<int>((value >> 16) & 0xFF));
}

// The faces for a caption table's `FontName` in the script of its language.
static QStringList FamiliesFor(int language, std::string_view font_name) {
    QStringList families;
    for (const std::string& family : FontFamiliesFor(font_name, CaptionScriptOf(language))) {
        families << QString::fromStdString(family);
    }
    return families;
}

QFont CaptionFont(QFont base, int language, std::string_view font_name) {
    // The style strategy stays the base font's: captions are shaped (kerned) as any text.
    base.setFamilies(FamiliesFor(language, font_name));
    return base;
}

// Controls that exist before any layout names them: state radios, the key-mode list, the
// status line, the covers and the pictures whose state the navigation changes.
std::vector<QString> FixedControlNames() {
    std::vector<QString> names{"lbl_Content", "cb_KeyMode", "rb_1",     "rb_2",     "rb_4",
                               "rb_5",        "rb_6",       "rb_7",     "rb_Lang1", "rb_Lang2",
                               "rb_Lang3",    "Pnl_Main",   "Gb_Delay", "Gb_Insert"};
    for (int copy = 1; copy <= 5; ++copy) {
        names.push_back(QStringLiteral("Img_Base_%1").arg(copy));
    }
    static constexpr std::array<const char*, 20> kFrameStems{
        "Confirm_", "Apply_",    "Read_",  "Confirm1_", "Confirm2_", "Confirm3_", "Save_",
        "Load_",    "Exit_",     "Mini_",  "Main_",     "Second_",   "Adv_",      "Breath_",
        "Macro_",   "Engineer_", "Lang1_", "Lang2_",    "Lang3_",    "Web_"};
    for (int copy = 1; copy <= 4; ++copy) {
        names.push_back(QStringLiteral("Disable_All_%1").arg(copy));
        for (const char* stem : kFrameStems) {
            names.push_back(QStringLiteral("Img_%1%2").arg(stem).arg(copy));
            names.push_back(QStringLiteral("Btn_%1%2").arg(stem).arg(copy));
        }
    }
    // The fire page keeps the window's own buttons.
    for (const char* stem : {"Exit_", "Mini_"}) {
        names.push_back(QStringLiteral("Img_") + QString::fromLatin1(stem) + QLatin1Char('5'));
        names.push_back(QStringLiteral("Btn_") + QString::fromLatin1(stem) + QLatin1Char('5'));
    }
    for (const char* name : {"Img_P1", "Img_P2", "Img_P3", "Img_P4", "Img_P5"}) {
        names.emplace_back(name);
    }
    // The engineering view of the DPI levels, which Apply reads.
    for (int level = 1; level <= 7; ++level) {
        names.push_back(QStringLiteral("cb_CPI%1").arg(level));
    }
    return names;
}

}  // namespace detail

using detail::CaptionFont;
using detail::FixedControlNames;
using detail::ToQString;

MainWindow::MainWindow(WindowServices services, QWidget* parent)
    : QWidget(parent, Qt::Window | Qt::FramelessWindowHint), services_(std::move(services)) {
    setObjectName(QStringLiteral("FormMain"));
    // Every pixel of the window is painted by a page: its background picture covers it whole,
    // and the factory page fills itself. Without this the window would first fill its own
    // background through the outline, one rectangle per run of the outline on every row.
    setAttribute(Qt::WA_OpaquePaintEvent, true);
    setWindowTitle(QString::fromUtf8(kMainWindowCaption));
    if (services_.parts) {
        std::vector<std::unique_ptr<WindowPart>> parts = services_.parts(*this);
        for (std::unique_ptr<WindowPart>& part : parts) {
            const auto index = static_cast<size_t>(part->index());
            parts_.at(index) = std::move(part);
        }
    }
    for (size_t i = 0; i < parts_.size(); ++i) {
        if (parts_[i] == nullptr) {
            parts_[i] = std::make_unique<WindowPart>(
                *this, static_cast<int>(i),
                i == kMenuPart ? parts_[kOfficePart]->container() : nullptr);
        }
    }
    parts_[kOfficePart]->MarkBuilt();  // start-up builds it with the window's own controls
    for (size_t i = 0; i < pages_.size(); ++i) {
        QWidget* page = parts_[i]->container();
        pages_[i] = page;
        page->installEventFilter(this);  // its pictures are decoded when it is first shown
        controls_.insert(page->objectName(), page);
    }
    page_radios_ = new QButtonGroup(this);
    language_radios_ = new QButtonGroup(this);
    label_run_ = new QTimer(this);
    label_run_->setInterval(kLabelRunIntervalMs);
    connect(label_run_, &QTimer::timeout, this, &MainWindow::RollTick);
}

MainWindow::~MainWindow() = default;

QWidget* MainWindow::EnsureControl(const QString& name) {
    if (QWidget* existing = controls_.value(name, nullptr)) {
        return existing;
    }
    std::optional<ControlSpec> entry = ClassifyControl(name.toStdString());
    if (!entry) {
        // Keep the window usable, but remember the name: the kind table must learn it.
        unknown_controls_.push_back(name);
        entry = ControlSpec{ControlKind::kLabel, ControlPlace::kPage1, {}, true, 0};
    }
    return CreateControl(name, *entry);
}

QWidget* MainWindow::CreateControl(const QString& name, const ControlSpec& entry) {
    QWidget* parent = ParentFor(name, entry);
    QWidget* widget = nullptr;
    switch (entry.kind) {
        case ControlKind::kPicture: {
            auto* label = new QLabel(parent);
            label->setScaledContents(false);
            widget = label;
            break;
        }
        case ControlKind::kButton:
        case ControlKind::kLabel:
        case ControlKind::kMenuEntry:
        case ControlKind::kMenuMarker: {
            auto* label = new SkinLabel(parent);
            label->setAlignment(entry.kind == ControlKind::kButton
                                    ? Qt::AlignCenter
                                    : (entry.kind == ControlKind::kMenuMarker
                                           ? Qt::AlignRight | Qt::AlignVCenter
                                           : Qt::AlignLeft | Qt::AlignVCenter));
            label->setTextFormat(Qt::PlainText);
            if (entry.kind == ControlKind::kMenuMarker) {
                label->setText(QStringLiteral(">>  "));
                label->setAttribute(Qt::WA_TransparentForMouseEvents, true);
            }
            widget = label;
            break;
        }
        case ControlKind::kCover: {
            auto* cover = new QLabel(parent);
            cover->setGeometry(0, 0, 800, 600);
            // A shown cover takes the clicks meant for the page underneath.
            cover->setAttribute(Qt::WA_NoSystemBackground, true);
            widget = cover;
            break;
        }
        case ControlKind::kSwatch: {
            auto* swatch = new QLabel(parent);
            swatch->setAutoFillBackground(true);
            widget = swatch;
            break;
        }
        case ControlKind::kEdit: {
            auto* edit = new QLineEdit(parent);
            edit->setAlignment(Qt::AlignCenter);
            edit->resize(40, 20);
            widget = edit;
            break;
        }
        case ControlKind::kList:
            widget = new QListWidget(parent);
            break;
        case ControlKind::kCombo: {
            auto* combo = new QComboBox(parent);
            PopupFollowsCombo(*combo);
            widget = combo;
            break;
        }
        case ControlKind::kRadio: {
            auto* radio = new QRadioButton(parent);
            radio->setAutoExclusive(false);
            widget = radio;
            break;
        }
        case ControlKind::kSlider:
            widget = new SkinSlider(parent);
            break;
        case ControlKind::kGroup: {
            auto* group = new SkinGroup(parent);
            group->resize(220, 170);
            widget = group;
            break;
        }
        case ControlKind::kPanel: {
            auto* panel = new QFrame(parent);
            panel->setFrameShape(QFrame::Box);
            panel->setFrameShadow(QFrame::Plain);
            panel->setAutoFillBackground(true);
            widget = panel;
            break;
        }
    }
    widget->setObjectName(name);
    controls_.insert(name, widget);
    if (const int part = PartIndexOf(name); part >= 0) {
        parts_[static_cast<size_t>(part)]->Register(widget);
    }
    WireControl(name, widget, entry);
    if (!entry.picture.empty()) {
        static_cast<void>(SetPicture(name, ToQString(entry.picture)));
    }
    if (entry.kind == ControlKind::kMenuEntry || entry.kind == ControlKind::kMenuMarker) {
        const int row = MenuRowOf(name.toStdString());
        widget->setGeometry(1, 1 + std::max(row, 0) * kMenuRowHeight, 120, kMenuRowHeight);
    }
    if (entry.hidden) {
        HideControl(widget);
    } else {
        ShowControl(widget);
    }
    return widget;
}

void MainWindow::WireControl(const QString& name, QWidget* widget, const ControlSpec& entry) {
    if (auto* label = qobject_cast<SkinLabel*>(widget)) {
        connect(label, &SkinLabel::clicked, this, [this, name] { OnLabelClicked(name); });
        connect(label, &SkinLabel::entered, this, [this, name] { OnLabelEntered(name); });
        connect(label, &SkinLabel::left, this, [this, name] { OnLabelLeft(name); });
        connect(label, &SkinLabel::pressed, this, [this, name] { OnLabelPressed(name); });
    }
    if (entry.kind == ControlKind::kPicture && name.startsWith(QStringLiteral("Img_Base_"))) {
        widget->installEventFilter(this);
    }
    if (entry.kind == ControlKind::kCover) {
        widget->installEventFilter(this);
    }
    if (auto* radio = qobject_cast<QRadioButton*>(widget)) {
        (name.startsWith(QStringLiteral("rb_Lang")) ? language_radios_ : page_radios_)
            ->addButton(radio);
    }
    if (name == QStringLiteral("cb_KeyMode")) {
        static_cast<QComboBox*>(widget)->addItems({QStringLiteral("0"), QStringLiteral("1")});
    }
}

bool MainWindow::SetPicture(const QString& control, const QString& picture) {
    if (services_.pictures == nullptr) {
        return false;
    }
    if (OnUnbuiltPart(control)) {
        // A control of a part not built yet takes the picture when its part is built.
        if (services_.pictures->PictureDimensions(picture.toStdString()).isEmpty()) {
            return false;
        }
        parts_[static_cast<size_t>(PartIndexOf(control))]->KeepPicture(control, picture);
        return true;
    }
    auto* label = qobject_cast<QLabel*>(EnsureControl(control));
    if (label == nullptr) {
        return false;
    }
    if (shown_pictures_.value(label) == picture) {
        return true;
    }
    // A picture on a page nobody sees yet is decoded when its page is first shown: start-up
    // then decodes only what the first page shows. Its size is known from the file's header.
    const QWidget* page = ContainerOf(label);
    // (Pictures of languages 2 and 3 may borrow language 1's artwork, decided on decoding.)
    const bool borrowing_picture = picture.size() > 3 && picture.startsWith(QLatin1Char('L')) &&
                                   picture.at(2) == QLatin1Char('_') &&
                                   picture.at(1) != QLatin1Char('1');
    if (page != nullptr && page->isHidden() && !pixmaps_.contains(picture) && !borrowing_picture) {
        const QSize size = services_.pictures->PictureDimensions(picture.toStdString());
        if (size.isEmpty()) {
            return false;
        }
        label->resize(size);
        pending_pictures_.insert(label, picture);
        shown_pictures_.insert(label, picture);
        return true;
    }
    const QPixmap pixmap = SkinPixmap(picture);
    if (pixmap.isNull()) {
        return false;
    }
    pending_pictures_.remove(label);
    label->setPixmap(pixmap);
    label->resize(pixmap.size());
    shown_pictures_.insert(label, picture);
    return true;
}

QWidget* MainWindow::ContainerOf(QWidget* widget) const {
    for (QWidget* w = widget; w != nullptr && w != this; w = w->parentWidget()) {
        if (std::find(pages_.begin(), pages_.end(), w) != pages_.end()) {
            return w;
        }
    }
    return nullptr;
}

void MainWindow::ShowPendingPictures(const QWidget* page) {
    for (auto it = pending_pictures_.begin(); it != pending_pictures_.end();) {
        if (ContainerOf(it.key()) != page) {
            ++it;
            continue;
        }
        const QPixmap pixmap = SkinPixmap(it.value());
        if (!pixmap.isNull()) {
            it.key()->setPixmap(pixmap);
        }
        it = pending_pictures_.erase(it);
    }
}

QPixmap MainWindow::SkinPixmap(const QString& picture) {
    // Many controls share a picture and every language switch sets them again: decode once.
    if (const auto found = pixmaps_.constFind(picture); found != pixmaps_.cend()) {
        return *found;
    }
    if (services_.pictures == nullptr) {
        return {};
    }
    QImage image = services_.pictures->Picture(picture.toStdString());
    if (image.isNull()) {
        return {};
    }
    // The skin carries artwork for language 1 only; the other languages' pictures are tiny
    // stand-ins that would leave the window blank, so they borrow language 1's artwork.
    if (picture.size() > 3 && picture.startsWith(QLatin1Char('L')) &&
        picture.at(2) == QLatin1Char('_') && picture.at(1) != QLatin1Char('1')) {
        const QImage artwork = services_.pictures->Picture(("L1" + picture.mid(2)).toStdString());
        if (!artwork.isNull() &&
            artwork.width() * artwork.height() > image.width() * image.height()) {
            image = artwork;
        }
    }
    // Handed over, not copied, and kept in its own format: without the flag Qt would widen an
    // opaque picture's three bytes a pixel to four.
    QPixmap pixmap = QPixmap::fromImage(std::move(image), Qt::NoFormatConversion);
    pixmaps_.insert(picture, pixmap);
    return pixmap;
}

void MainWindow::SetPictureOnCopies(const QString& stem, const QString& picture) {
    for (int copy = 1; copy <= 4; ++copy) {
        static_cast<void>(SetPicture(QStringLiteral("Img_%1%2").arg(stem).arg(copy), picture));
    }
}

void MainWindow::ShowControl(QWidget* widget) {
    if (showing_later_) {
        if (std::find(showing_later_->begin(), showing_later_->end(), widget) ==
            showing_later_->end()) {
            showing_later_->push_back(widget);
        }
        return;
    }
    widget->show();
}

void MainWindow::HideControl(QWidget* widget) {
    if (showing_later_) {
        std::erase(*showing_later_, widget);
    }
    widget->hide();
}

void MainWindow::ShowWaitingControls() {
    // Showing a control measures its caption font; until now the font database may still
    // have been read on its worker thread.
    if (!showing_later_) {
        return;
    }
    const std::vector<QWidget*> controls = std::move(*showing_later_);
    showing_later_.reset();
    for (QWidget* widget : controls) {
        widget->show();
    }
}

void MainWindow::CreatePartControls(int part) {
    for (const QString& name : FixedControlNames()) {
        if (PartIndexOf(name) == part) {
            EnsureControl(name);
        }
    }
    for (const CaptionTarget& target : kCaptionTargets) {
        const QString name = ToQString(target.control);
        if (PartIndexOf(name) == part) {
            EnsureControl(name);
        }
    }
}

ShellResult MainWindow::Start() {
    ShellResult started = StartWindow();
    showing_later_.reset();  // a start that stopped shows nothing
    start_steps_.reset();
    if (started) {
        parts_[kOfficePart]->Built();  // the first page's own set-up, now that every part exists
        // The window's shape: every pixel of the background in the colour key is see-through.
        shape_ = ShapeOf(SkinPixmap(QStringLiteral("L1_BackGround")).toImage());
        ApplyWindowShape();
    }
    return started;
}

ShellResult MainWindow::StartWindow() {
    if (services_.pictures == nullptr || !services_.org || !services_.layout ||
        !services_.captions) {
        return {false, QStringLiteral("The window was started without its resources")};
    }
    // The window's size comes from the background's header: the picture itself is decoded when
    // the layout places it.
    background_size_ = services_.pictures->PictureDimensions("L1_BackGround");
    if (background_size_.isEmpty()) {
        return {false, QStringLiteral("Missing picture resource \"L1_BackGround\"")};
    }
    for (size_t i = 0; i < 5; ++i) {
        pages_[i]->setGeometry(QRect(QPoint(0, 0), background_size_));
    }
    pages_[5]->setGeometry(0, 0, kEngineeringWidth, kEngineeringHeight);
    setFixedSize(background_size_);
    if (const QScreen* screen = QApplication::primaryScreen()) {
        move(screen->availableGeometry().center() - rect().center());
    }
    LayoutResult<OrgSettings> org = services_.org();
    if (!org) {
        return {false, QString::fromStdString(org.error.message)};
    }
    org_ = std::move(*org.value);
    const LayoutContext start_context = ContextOf(kFirstLanguageNumber);
    if (ShellResult tables = LoadCaptionTables(); !tables) {
        return tables;
    }
    // The controls are created in language 1's caption font: applying the captions later finds
    // it set and does not go through every control again.
    setFont(CaptionFont(font(), language_, captions().Caption("FontName")));
    // The first controls are shown together once created, laid out and captioned.
    showing_later_.emplace();
    CreatePartControls(-1);
    CreatePartControls(kOfficePart);
    static_cast<QRadioButton*>(Control(QStringLiteral("rb_1")))->setChecked(true);
    static_cast<QRadioButton*>(Control(QStringLiteral("rb_Lang1")))->setChecked(true);
    if (ShellResult planned = TakeStartLayout(start_context, services_.layout(start_context));
        !planned) {
        return planned;
    }
    started_ = true;
    // The status line runs along the bottom left, clear of the frame buttons.
    Control(QStringLiteral("lbl_Content"))
        ->setGeometry(30, background_size_.height() - 46, 480, 20);
    if (services_.messages != nullptr) {
        services_.messages->SetFontFamilies(font().families());
    }
    if (ShellResult first = ApplyLayout(1); !first) {
        return first;
    }
    ShowNoDevicePage();
    CoverPages(true);
    ShowWaitingControls();
    // Every start runs the first language button's action as well.
    return SwitchLanguage(1);
}

ShellResult MainWindow::LoadCaptionTables() {
    for (int language = 1; language <= 3; ++language) {
        CaptionTableResult table = services_.captions(language);
        if (!table) {
            return {false, QString::fromStdString(table.error)};
        }
        tables_[static_cast<size_t>(language - 1)] = std::move(table.table);
    }
    return {};
}

void MainWindow::Restack() {
    // Back to front: the background, the page picture, the other pictures, then everything
    // else as created; menus and covers on top.
    for (auto it = controls_.cbegin(); it != controls_.cend(); ++it) {
        if (qobject_cast<QLabel*>(it.value()) != nullptr &&
            it.value()->metaObject() == &QLabel::staticMetaObject &&
            it.key().startsWith(QStringLiteral("Img_"))) {
            it.value()->lower();
        }
    }
    for (int n = 1; n <= 5; ++n) {
        if (!parts_[static_cast<size_t>(n - 1)]->built()) {
            continue;
        }
        if (QWidget* picture = Control(QStringLiteral("Img_P%1").arg(n))) {
            picture->lower();
        }
        if (QWidget* base = Control(QStringLiteral("Img_Base_%1").arg(n))) {
            base->lower();
        }
    }
    for (auto it = controls_.cbegin(); it != controls_.cend(); ++it) {
        if (it.key().startsWith(QStringLiteral("Pnl_")) || it.key() == QStringLiteral("LB_Name") ||
            it.key() == QStringLiteral("LB_Script")) {
            it.value()->raise();
        }
    }
    for (int copy = 1; copy <= 4; ++copy) {
        if (!parts_[static_cast<size_t>(copy - 1)]->built()) {
            continue;
        }
        if (QWidget* cover = Control(QStringLiteral("Disable_All_%1").arg(copy))) {
            cover->raise();
        }
    }
    if (QWidget* status = Control(QStringLiteral("lbl_Content"))) {
        status->raise();
    }
}

void MainWindow::ApplyWindowShape() {
    if (page_ == Page::kEngineering || shape_.isEmpty()) {
        clearMask();
    } else {
        setMask(shape_);
    }
}

QRegion ShapeOf(const QImage& picture) {
    // Compared as 32-bit ARGB values with straight alpha, whatever format the picture was
    // decoded into (premultiplied pictures are read as they are and their translucent pixels
    // taken back to straight colours). The runs come row by row, left to right: the banded
    // order QRegion takes in one call. A row with the same runs as the row above widens the
    // band above instead of starting one: the outline is then a few dozen rectangles rather
    // than one per row, and clipping every paint of the window to it costs that much less.
    // An opaque picture of three bytes a pixel (as the skin's background is decoded) is read
    // row by row, so that finding its outline does not make a 32-bit copy of the whole picture.
    const bool premultiplied = picture.format() == QImage::Format_ARGB32_Premultiplied;
    const bool three_bytes = picture.format() == QImage::Format_RGB888;
    const QImage image = picture.format() == QImage::Format_ARGB32 ||
                                 picture.format() == QImage::Format_RGB32 || premultiplied ||
                                 three_bytes
                             ? picture
                             : picture.convertToFormat(QImage::Format_ARGB32);
    const QRgb key = kColourKey;
    const auto is_key = [premultiplied, key](QRgb pixel) {
        if (premultiplied && qAlpha(pixel) != 255) {
            pixel = qUnpremultiply(pixel);
        }
        return (pixel | 0xFF000000u) == key;
    };
    const int width = image.width();
    const int height = image.height();
    std::vector<QRect> rects;
    size_t band = 0;                        // where the band of the row above starts in `rects`
    std::vector<std::pair<int, int>> runs;  // this row's runs: first and last column
    std::vector<QRgb> widened(three_bytes ? static_cast<size_t>(width) : 0);
    for (int y = 0; y < height; ++y) {
        const auto* row = reinterpret_cast<const QRgb*>(image.constScanLine(y));
        if (three_bytes) {
            const uchar* bytes = image.constScanLine(y);
            for (int x = 0; x < width; ++x, bytes += 3) {
                widened[static_cast<size_t>(x)] = qRgb(bytes[0], bytes[1], bytes[2]);
            }
            row = widened.data();
        }
        runs.clear();
        int x = 0;
        while (x < width) {
            while (x < width && is_key(row[x])) {
                ++x;
            }
            const int start = x;
            while (x < width && !is_key(row[x])) {
                ++x;
            }
            if (x > start) {
                runs.emplace_back(start, x - 1);
            }
        }
        const bool same_as_above =
            y > 0 && !runs.empty() && rects.size() - band == runs.size() &&
            rects[band].bottom() == y - 1 &&
            std::equal(runs.begin(), runs.end(), rects.begin() + static_cast<ptrdiff_t>(band),
                       [](const std::pair<int, int>& run, const QRect& rect) {
                           return run.first == rect.left() && run.second == rect.right();
                       });
        if (same_as_above) {
            for (size_t i = band; i < rects.size(); ++i) {
                rects[i].setBottom(y);
            }
            continue;
        }
        band = rects.size();
        for (const auto& [first, last] : runs) {
            rects.emplace_back(QPoint(first, y), QPoint(last, y));
        }
    }
    QRegion region;
    region.setRects(rects.data(), static_cast<int>(rects.size()));
    return region;
}

void MainWindow::ShowConfig(const MouseConfig& config) {
    config_ = config;
    config_shown_ = true;
    for (const auto& part : parts_) {
        if (part->built()) {
            part->ShowConfig(config_);
        }
    }
}

void MainWindow::CollectConfig(MouseConfig& config) {
    for (const auto& part : parts_) {
        if (part->built()) {
            part->CollectConfig(config);
        }
    }
    config_ = config;
}

void MainWindow::MouseRead() {
    for (const auto& part : parts_) {
        if (part->built()) {
            part->MouseRead();
        }
    }
}

void MainWindow::Applying() {
    for (const auto& part : parts_) {
        if (part->built()) {
            part->Applying();
        }
    }
}

void MainWindow::SetFunctionNamer(FunctionNamer namer) {
    function_namer_ = std::move(namer);
}

void MainWindow::ChangeConfig(const std::function<void(MouseConfig&)>& change) {
    if (!config_shown_) {
        return;  // the pages show no configuration yet
    }
    CollectConfig(config_);
    if (change) {
        change(config_);
    }
    ShowConfig(config_);
}

}  // namespace velq::ui
