// Page tabs, language buttons, window chrome, hover pictures, the scrolling caption and the
// status line of the main window.
#include <QApplication>
#include <QComboBox>
#include <QEvent>
#include <QLabel>
#include <QMouseEvent>
#include <QRadioButton>
#include <QStatusTipEvent>
#include <QTimer>
#include <QWindow>

#include <algorithm>
#include <cstring>

#include "shell/ui/main_window.h"

#include <cstdlib>

#include "shell/engineer_terms.h"
#include "shell/ui/message_presenter.h"

namespace velq::ui {
namespace {

struct TabRow {
    const char* stem;  // "Main_": labels Btn_Main_1..4 over pictures Img_Main_1..4
    Page page;
    const char* radio;
    int container;  // gbPage number
    int picture;    // Img_P number and page picture number (L1_Back<n>)
};

constexpr std::array<TabRow, 6> kTabs{{
    {"Main_", Page::kOffice, "rb_1", 1, 1},
    {"Second_", Page::kGaming, "rb_2", 1, 1},
    {"Adv_", Page::kAdvanced, "rb_4", 2, 2},
    {"Breath_", Page::kLight, "rb_5", 3, 3},
    {"Macro_", Page::kMacro, "rb_6", 4, 4},
    {"Engineer_", Page::kEngineering, "rb_7", 6, 4},
}};

// The note on a cover: a box in the middle of the pages.
constexpr char kCoverNoteName[] = "CoverNote";
constexpr int kCoverNoteWidth = 480;
constexpr int kCoverNoteMargin = 12;

const TabRow* TabOf(Page page) {
    for (const TabRow& row : kTabs) {
        if (row.page == page) {
            return &row;
        }
    }
    return nullptr;
}

// Hover families of the skinned buttons: which pictures a label's enter, leave and press put on
// its picture (or on all four copies of it), and whether the caption scrolls.
enum class Family : uint8_t { kExit, kMinimize, kTab, kLanguage, kMacroText, kWeb, kFrame };

struct FamilyRow {
    const char* pattern;
    Family family;
    const char* normal;
    const char* hover;
    const char* pressed;  // nullptr: pressing changes nothing
    bool all_copies;
    bool rolls;  // the caption scrolls while the pointer is on it
};

constexpr auto kFamilies = std::to_array<FamilyRow>({
    {"Btn_Exit_#", Family::kExit, "ExitS_01", "ExitS_02", "ExitS_03", true, true},
    {"Btn_Mini_#", Family::kMinimize, "MiniS_01", "MiniS_02", "MiniS_03", true, true},
    {"Btn_Main_#", Family::kTab, "SetS_01", "SetS_02", nullptr, false, true},
    {"Btn_Second_#", Family::kTab, "SetS_01", "SetS_02", nullptr, false, true},
    {"Btn_Adv_#", Family::kTab, "SetS_01", "SetS_02", nullptr, false, true},
    {"Btn_Breath_#", Family::kTab, "SetS_01", "SetS_02", nullptr, false, true},
    {"Btn_Macro_#", Family::kTab, "SetS_01", "SetS_02", nullptr, false, true},
    {"Btn_Engineer_#", Family::kTab, "SetS_01", "SetS_02", nullptr, false, true},
    {"Btn_Lang#_#", Family::kLanguage, "Lang_01", "Lang_02", nullptr, false, true},
    {"Btn_Web_#", Family::kWeb, "WebS_01", "WebS_03", nullptr, true, false},
    {"Btn_Confirm*_#", Family::kFrame, "BtnS_01", "BtnS_02", "BtnS_03", false, true},
    {"Btn_Apply_#", Family::kFrame, "BtnS_01", "BtnS_02", "BtnS_03", false, true},
    {"Btn_Read_#", Family::kFrame, "BtnS_01", "BtnS_02", "BtnS_03", false, true},
    {"Btn_Save_#", Family::kFrame, "BtnS_01", "BtnS_02", "BtnS_03", false, true},
    {"Btn_Load_#", Family::kFrame, "BtnS_01", "BtnS_02", "BtnS_03", false, true},
    {"Btn_Fire*", Family::kFrame, "BtnS_01", "BtnS_02", "BtnS_03", false, false},
    {"Btn_Del", Family::kMacroText, "", "", nullptr, false, false},
    {"Btn_Insert", Family::kMacroText, "", "", nullptr, false, false},
    {"Btn_Edit", Family::kMacroText, "", "", nullptr, false, false},
    {"Btn_NewMacro", Family::kMacroText, "", "", nullptr, false, false},
    {"Btn_NewName", Family::kMacroText, "", "", nullptr, false, false},
    {"Btn_Export*", Family::kMacroText, "", "", nullptr, false, false},
    {"Btn_Import*", Family::kMacroText, "", "", nullptr, false, false},
    {"Btn_DelPCMacro", Family::kMacroText, "", "", nullptr, false, false},
});

const FamilyRow* FamilyOf(const QString& name) {
    const std::string text = name.toStdString();
    for (const FamilyRow& row : kFamilies) {
        if (MatchControlPattern(row.pattern, text)) {
            // Gun buttons Btn_Fire1..7 are not frame buttons; only Confirm and Exit are.
            if (row.family == Family::kFrame && name.startsWith(QStringLiteral("Btn_Fire")) &&
                name != QStringLiteral("Btn_FireConfirm") &&
                name != QStringLiteral("Btn_FireExit")) {
                return nullptr;
            }
            return &row;
        }
    }
    return nullptr;
}

// "Btn_Adv_2" -> "Img_Adv_2"; "Btn_Adv_2" -> "Adv_" (the stem of its copies).
QString PictureOfLabel(const QString& label) {
    return QStringLiteral("Img_") + label.mid(4);
}
QString CopyStem(const QString& label) {
    return label.mid(4, label.size() - 5);
}

void SetColours(QWidget* widget, uint32_t text, uint32_t back) {
    const auto colour = [](uint32_t v) {
        return QColor(static_cast<int>(v & 0xFF), static_cast<int>((v >> 8) & 0xFF),
                      static_cast<int>((v >> 16) & 0xFF));
    };
    QPalette palette = widget->palette();
    palette.setColor(QPalette::WindowText, colour(text));
    palette.setColor(QPalette::Window, colour(back));
    widget->setPalette(palette);
    widget->setAutoFillBackground(true);
}

}  // namespace

void MainWindow::SetDeviceHandlePresent(bool present) {
    device_handle_ = present;
}

void MainWindow::SetNoDevicePage(bool no_device_page) {
    no_device_page_ = no_device_page;
}

void MainWindow::CoverPages(bool covered) {
    pages_covered_ = covered;  // pages built later take the same state
    if (!covered) {
        cover_note_.clear();  // the pages show what they are meant to show again
    }
    for (int copy = 1; copy <= 4; ++copy) {
        if (!parts_[static_cast<size_t>(copy - 1)]->built()) {
            continue;
        }
        if (QWidget* cover = Control(QStringLiteral("Disable_All_%1").arg(copy))) {
            cover->setVisible(covered);
            if (covered) {
                cover->raise();
            }
            ShowCoverNote(cover);
        }
    }
}

void MainWindow::SetCoverNote(const QString& text) {
    // Only covered pages need a word on why; pages built later take it too.
    cover_note_ = pages_covered_ ? MessageDisplayText(text) : QString();
    for (int copy = 1; copy <= 4; ++copy) {
        if (!parts_[static_cast<size_t>(copy - 1)]->built()) {
            continue;
        }
        if (QWidget* cover = Control(QStringLiteral("Disable_All_%1").arg(copy))) {
            ShowCoverNote(cover);
        }
    }
}

void MainWindow::ShowCoverNote(QWidget* cover) {
    auto* note =
        cover->findChild<QLabel*>(QLatin1String(kCoverNoteName), Qt::FindDirectChildrenOnly);
    if (cover_note_.isEmpty()) {
        if (note != nullptr) {
            note->hide();
        }
        return;
    }
    if (note == nullptr) {
        // The cover itself lets the page show through; the note has a ground of its own, in
        // the colours of the function menus, so it reads over any page.
        note = new QLabel(cover);
        note->setObjectName(QLatin1String(kCoverNoteName));
        note->setWordWrap(true);
        note->setAlignment(Qt::AlignCenter);
        note->setTextFormat(Qt::PlainText);
        note->setFrameShape(QFrame::Box);
        note->setMargin(kCoverNoteMargin);
    }
    SetColours(note, style_.menu_font_color, style_.menu_back_color);
    note->setText(cover_note_);
    // In the middle of the window, as far as the cover reaches.
    const int width = std::min(kCoverNoteWidth, cover->width());
    const int height = std::min(note->heightForWidth(width), cover->height());
    const QPoint middle = cover->mapFrom(this, QRect(QPoint(), background_size_).center());
    note->setGeometry(std::clamp(middle.x() - width / 2, 0, cover->width() - width),
                      std::clamp(middle.y() - height / 2, 0, cover->height() - height), width,
                      height);
    note->show();
}

void MainWindow::ShowMessageKey(std::string_view key) {
    if (services_.messages != nullptr) {
        services_.messages->Show(QString::fromStdString(captions().Caption(key)));
    }
}

void MainWindow::ShowMessage(const QString& text) {
    if (services_.messages != nullptr) {
        services_.messages->Show(text);
    }
}

void MainWindow::HideAllMenu() {
    for (const auto& part : parts_) {
        if (part->built()) {
            part->HideMenus();
        }
    }
}

void MainWindow::MarkCurrentTab() {
    if (const TabRow* tab = TabOf(page_)) {
        SetPictureOnCopies(QString::fromUtf8(tab->stem), QStringLiteral("SetS_03"));
    }
}

void MainWindow::MarkCurrentLanguage() {
    for (int n = 1; n <= 3; ++n) {
        SetPictureOnCopies(QStringLiteral("Lang%1_").arg(n),
                           n == language_ ? QStringLiteral("Lang_03") : QStringLiteral("Lang_01"));
    }
}

void MainWindow::ShowContainer(Page page) {
    const TabRow* tab = TabOf(page);
    const int container = page == Page::kFire ? 5 : tab->container;
    parts_[static_cast<size_t>(container - 1)]->Build();
    for (size_t i = 0; i < pages_.size(); ++i) {
        pages_[i]->setVisible(static_cast<int>(i) + 1 == container);
    }
    if (page == Page::kEngineering) {
        setFixedSize(pages_[5]->size());
    } else if (background_size_.isValid()) {
        setFixedSize(background_size_);
    }
    ApplyWindowShape();
}

void MainWindow::RefreshPage() {
    if (no_device_page_) {
        for (size_t i = 0; i < pages_.size(); ++i) {
            pages_[i]->setVisible(i == 0);
        }
        return;
    }
    ShowContainer(page_);
}

void MainWindow::ShowNoDevicePage() {
    HideAllMenu();
    page_ = Page::kOffice;
    static_cast<QRadioButton*>(Control(QStringLiteral("rb_1")))->setChecked(true);
    for (const TabRow& tab : kTabs) {
        SetPictureOnCopies(QString::fromUtf8(tab.stem), QStringLiteral("SetS_01"));
    }
    MarkCurrentTab();
    ShowContainer(Page::kOffice);
    SetNoDevicePage(true);
}

void MainWindow::ShowFirePage() {
    HideAllMenu();
    page_ = Page::kFire;
    ShowContainer(Page::kFire);
    static_cast<void>(
        SetPicture(QStringLiteral("Img_P5"), QStringLiteral("L%1_Back5").arg(language_)));
    parts_[kFirePart]->Opened(Page::kFire);
}

void MainWindow::LeaveFirePage() {
    // Back to the first page, in the profile whose tab is selected.
    const auto* gaming = static_cast<QRadioButton*>(Control(QStringLiteral("rb_2")));
    page_ = gaming != nullptr && gaming->isChecked() ? Page::kGaming : Page::kOffice;
    ShowContainer(page_);
}

void MainWindow::ClickTab(Page page) {
    OnTab(page);
}

void MainWindow::OnTab(Page page) {
    if (!device_handle_) {
        ShowMessageKey("Str020");
        return;
    }
    if (no_device_page_) {
        return;
    }
    const TabRow* tab = TabOf(page);
    if (tab == nullptr) {
        return;
    }
    HideAllMenu();
    for (const TabRow& row : kTabs) {
        SetPictureOnCopies(QString::fromUtf8(row.stem), QStringLiteral("SetS_01"));
    }
    static_cast<QRadioButton*>(Control(QString::fromUtf8(tab->radio)))->setChecked(true);
    page_ = page;
    ShowContainer(page);
    parts_[static_cast<size_t>(tab->container - 1)]->Opened(page);
    MarkCurrentTab();
    static_cast<void>(SetPicture(QStringLiteral("Img_P%1").arg(tab->picture),
                                 QStringLiteral("L%1_Back%2").arg(language_).arg(tab->picture)));
    emit pageShown(page);
}

ShellResult MainWindow::SwitchLanguage(int language) {
    const int previous = language_;
    for (const auto& part : parts_) {
        if (part->built()) {
            part->LanguageSwitching();
        }
    }
    ShellResult applied = ApplyLayout(language);
    for (const auto& part : parts_) {
        if (part->built()) {
            part->LanguageSwitched(applied.ok);
        }
    }
    if (!applied) {
        // The layout was refused before any control changed.
        language_ = previous;
        return applied;
    }
    MarkCurrentLanguage();
    if (auto* radio =
            qobject_cast<QRadioButton*>(Control(QStringLiteral("rb_Lang%1").arg(language)))) {
        radio->setChecked(true);
    }
    RefreshPage();
    if (!no_device_page_) {
        MarkCurrentTab();
    }
    // The scrolling caption starts over from the new caption of this language's button.
    StopRolling();
    const QString button = QStringLiteral("Btn_Lang%1_1").arg(language);
    if (auto* label = qobject_cast<QLabel*>(Control(button))) {
        roller_.Start(label->text());
    }
    return applied;
}

void MainWindow::OnWeb(const QString& /*name*/) {
    SetPictureOnCopies(QStringLiteral("Web_"), QStringLiteral("WebS_02"));
    if (org_.web_enabled && services_.open_url) {
        services_.open_url(QUrl(QString::fromStdString(org_.web)));
    }
}

void MainWindow::OnLabelClicked(const QString& name) {
    // A page's own labels are its page's to handle; the window handles the chrome's.
    if (const int part = PartIndexOf(name);
        part >= 0 && parts_[static_cast<size_t>(part)]->LabelClicked(name)) {
        return;
    }
    for (const TabRow& tab : kTabs) {
        if (name.startsWith(QStringLiteral("Btn_") + QString::fromUtf8(tab.stem)) &&
            name.size() == 5 + static_cast<qsizetype>(std::strlen(tab.stem))) {
            OnTab(tab.page);
            return;
        }
    }
    // The chrome's buttons, one copy on each page; the frame buttons' work belongs to the
    // device flows.
    using Action = void (MainWindow::*)(const QString&);
    static constexpr std::pair<const char*, Action> kActions[] = {
        {"Btn_Exit_#", &MainWindow::OnExit},
        {"Btn_Mini_#", &MainWindow::OnMinimize},
        {"Btn_Lang#_#", &MainWindow::OnLanguage},
        {"Btn_Web_#", &MainWindow::OnWeb},
        {"Btn_Read_#", &MainWindow::OnFrameButton},
        {"Btn_Apply_#", &MainWindow::OnFrameButton},
        {"Btn_Confirm*_#", &MainWindow::OnFrameButton},
        {"Btn_Save_#", &MainWindow::OnFrameButton},
        {"Btn_Load_#", &MainWindow::OnFrameButton},
    };
    const std::string text = name.toStdString();
    for (const auto& [pattern, action] : kActions) {
        if (MatchControlPattern(pattern, text)) {
            (this->*action)(name);
            return;
        }
    }
}

void MainWindow::OnExit(const QString& /*name*/) {
    close();
}

void MainWindow::OnMinimize(const QString& /*name*/) {
    showMinimized();
}

void MainWindow::OnLanguage(const QString& name) {
    if (ShellResult result = SwitchLanguage(name.at(8).digitValue()); !result) {
        if (services_.messages != nullptr) {
            services_.messages->Show(result.error);
        }
    }
}

void MainWindow::OnFrameButton(const QString& name) {
    if (name.startsWith(QStringLiteral("Btn_Read_")) && !device_handle_) {
        ShowMessageKey("Str020");
        return;
    }
    emit frameButtonClicked(name);
}

void MainWindow::OnLabelPressed(const QString& name) {
    const FamilyRow* family = FamilyOf(name);
    if (family == nullptr || family->pressed == nullptr) {
        return;
    }
    if (family->all_copies) {
        SetPictureOnCopies(CopyStem(name), QString::fromUtf8(family->pressed));
    } else {
        static_cast<void>(SetPicture(PictureOfLabel(name), QString::fromUtf8(family->pressed)));
    }
}

void MainWindow::OnLabelEntered(const QString& name) {
    if (const int part = PartIndexOf(name);
        part >= 0 && parts_[static_cast<size_t>(part)]->LabelEntered(name)) {
        return;
    }
    const FamilyRow* family = FamilyOf(name);
    if (family == nullptr) {
        return;
    }
    if (family->family == Family::kMacroText) {
        SetColours(Control(name), 0xFFFFFF, style_.macro_highlight_color);
        return;
    }
    if (family->family == Family::kWeb && !device_handle_) {
        return;
    }
    if (family->all_copies) {
        SetPictureOnCopies(CopyStem(name), QString::fromUtf8(family->hover));
    } else {
        static_cast<void>(SetPicture(PictureOfLabel(name), QString::fromUtf8(family->hover)));
    }
    if (family->rolls) {
        StartRolling(name);
    }
}

void MainWindow::OnLabelLeft(const QString& name) {
    if (const int part = PartIndexOf(name);
        part >= 0 && parts_[static_cast<size_t>(part)]->LabelLeft(name)) {
        return;
    }
    const FamilyRow* family = FamilyOf(name);
    if (family == nullptr) {
        return;
    }
    if (family->family == Family::kMacroText) {
        SetColours(Control(name), style_.macro_font_color, style_.macro_back_color);
        return;
    }
    if (family->family == Family::kWeb && !device_handle_) {
        return;
    }
    if (family->rolls) {
        StopRolling();
    }
    if (family->all_copies) {
        SetPictureOnCopies(CopyStem(name), QString::fromUtf8(family->normal));
    } else {
        static_cast<void>(SetPicture(PictureOfLabel(name), QString::fromUtf8(family->normal)));
    }
    if (family->family == Family::kTab && !no_device_page_) {
        MarkCurrentTab();
    } else if (family->family == Family::kLanguage) {
        MarkCurrentLanguage();
    }
}

bool MainWindow::text_rolling_active() const {
    return label_run_->isActive();
}

void MainWindow::StartRolling(const QString& name) {
    if (!org_.text_rolling) {
        return;
    }
    auto* label = qobject_cast<QLabel*>(Control(name));
    if (label == nullptr) {
        return;
    }
    StopRolling();
    rolling_label_ = name;
    roller_.Start(label->text());
    if (label->isEnabled()) {
        label_run_->start();
    }
}

void MainWindow::StopRolling() {
    label_run_->stop();
    if (rolling_label_.isEmpty()) {
        return;
    }
    if (auto* label = qobject_cast<QLabel*>(Control(rolling_label_))) {
        label->setText(roller_.saved());
    }
    rolling_label_.clear();
}

void MainWindow::RollTick() {
    if (auto* label = qobject_cast<QLabel*>(Control(rolling_label_))) {
        label->setText(roller_.Tick());
    }
}

bool MainWindow::event(QEvent* event) {
    if (event->type() == QEvent::StatusTip) {
        // The hint of the control under the pointer goes to the status line.
        if (auto* status = qobject_cast<QLabel*>(Control(QStringLiteral("lbl_Content")))) {
            status->setText(static_cast<QStatusTipEvent*>(event)->tip());
        }
        return true;
    }
    if (event->type() == QEvent::Show) {
        // The native window exists only from the first show on: its shape is set again there,
        // since a mask given to a window not yet created may never reach the window system.
        const bool handled = QWidget::event(event);
        ApplyWindowShape();
        return handled;
    }
    return QWidget::event(event);
}

bool MainWindow::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() == QEvent::Show &&
        watched->objectName().startsWith(QStringLiteral("gbPage"))) {
        // Whoever shows a page: its controls exist and its pictures are decoded by then.
        const auto page = std::find(pages_.begin(), pages_.end(), watched);
        if (page != pages_.end()) {
            parts_[static_cast<size_t>(page - pages_.begin())]->Build();
        }
        ShowPendingPictures(static_cast<QWidget*>(watched));
        return false;
    }
    const QString name = watched->objectName();
    if (name.startsWith(QStringLiteral("Disable_All_"))) {
        // A shown cover swallows input meant for the page underneath.
        switch (event->type()) {
            case QEvent::MouseButtonPress:
            case QEvent::MouseButtonRelease:
            case QEvent::MouseButtonDblClick:
            case QEvent::Wheel:
                return true;
            default:
                return false;
        }
    }
    if (name.startsWith(QStringLiteral("Img_Base_"))) {
        auto* mouse = static_cast<QMouseEvent*>(event);
        if (event->type() == QEvent::MouseButtonDblClick &&
            LogoArea().contains(mouse->position().toPoint())) {
            EngineerUnlock();
            return true;
        }
        if (event->type() == QEvent::MouseButtonPress && mouse->button() == Qt::LeftButton) {
            StartDrag(static_cast<QWidget*>(watched), mouse->globalPosition().toPoint());
            return true;
        }
        if (event->type() == QEvent::MouseMove && manual_drag_offset_) {
            move(mouse->globalPosition().toPoint() - *manual_drag_offset_);
            return true;
        }
        if (event->type() == QEvent::MouseButtonRelease) {
            manual_drag_offset_.reset();
        }
    }
    return QWidget::eventFilter(watched, event);
}

void MainWindow::StartDrag(QWidget* /*picture*/, const QPoint& global) {
    HideAllMenu();
    // The window system moves the window where it offers that; elsewhere the window follows
    // the pointer itself.
    if (windowHandle() != nullptr && windowHandle()->startSystemMove()) {
        return;
    }
    manual_drag_offset_ = global - pos();
}

void MainWindow::closeEvent(QCloseEvent* event) {
    // No device exchange may start once the window is closing.
    device_handle_ = false;
    StopRolling();
    QWidget::closeEvent(event);
}

void MainWindow::EngineerUnlock() {
    // The factory page's tab stays hidden until the logo is double-clicked. The lighting type
    // and sensor orientation controls it also unlocks come with the engineering page itself.
    engineer_unlocked_ = true;  // copies on pages built later show it too
    for (int copy = 1; copy <= 4; ++copy) {
        if (parts_[static_cast<size_t>(copy - 1)]->built()) {
            UnlockEngineerCopy(copy);
        }
    }
}

void MainWindow::UnlockEngineerCopy(int copy) {
    // The tab carries the page's own term ("Engineer"), in the page's language.
    const EngineerLanguage language = EngineerLanguageOfEnvironment();
    const std::optional<std::string_view> term = EngineerText(0x0E, language);
    if (auto* label = qobject_cast<QLabel*>(Control(QStringLiteral("Btn_Engineer_%1").arg(copy)));
        label != nullptr && term) {
        label->setText(QString::fromUtf8(term->data(), static_cast<qsizetype>(term->size())));
        label->setAlignment(Qt::AlignCenter);
        // The caption lies on its picture, whatever the layout made of the label's width.
        if (const QWidget* picture = Control(QStringLiteral("Img_Engineer_%1").arg(copy))) {
            label->setGeometry(picture->geometry());
        }
    }
    for (const QString& stem : {QStringLiteral("Img_Engineer_"), QStringLiteral("Btn_Engineer_")}) {
        if (QWidget* widget = Control(stem + QString::number(copy))) {
            widget->show();
            widget->raise();
        }
    }
}

}  // namespace velq::ui
