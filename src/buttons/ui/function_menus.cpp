#include "buttons/ui/function_menus.h"

#include <QApplication>
#include <QFontMetrics>
#include <QLabel>
#include <QListWidget>
#include <QMouseEvent>
#include <QPainter>
#include <QRadioButton>
#include <QStyledItemDelegate>
#include <QWidget>

#include <algorithm>
#include <array>
#include <string>

#include "buttons/function_table.h"
#include "buttons/menu_rules.h"
#include "buttons/ui/key_combination_dialog.h"
#include "config/config_edits.h"
#include "config/ui/engineering_page.h"
#include "macros/ui/macro_page.h"
#include "shell/ui/main_window.h"

namespace velq::ui {

namespace {

// Everything that opens beside the first panel.
constexpr std::array<const char*, 8> kSubmenus{"Pnl_MseKey", "Pnl_Special", "Pnl_CPIKey",
                                               "Pnl_Media",  "Pnl_WWW",     "Pnl_MyPC",
                                               "LB_Name",    "LB_Script"};
constexpr std::array<const char*, 9> kOpenable{"Pnl_Main",   "Pnl_MseKey", "Pnl_Special",
                                               "Pnl_CPIKey", "Pnl_Media",  "Pnl_WWW",
                                               "Pnl_MyPC",   "LB_Name",    "LB_Script"};

QColor ColourOf(uint32_t value) {
    return QColor(static_cast<int>(value & 0xFF), static_cast<int>((value >> 8) & 0xFF),
                  static_cast<int>((value >> 16) & 0xFF));
}

// The height of a pick-list item when the layout gives none, and the text's indent.
constexpr int kMacroNameItemHeight = 20;
constexpr int kMacroNameIndent = 4;
constexpr int kMacroNameRowsShown = 10;

// The macro pick list is drawn as a menu: the item under the pointer in the menu's selected
// colours, the others in its normal colours, each name a few pixels from the left edge.
class MacroNameDelegate final : public QStyledItemDelegate {
public:
    MacroNameDelegate(const LayoutStyle& style, QObject* parent)
        : QStyledItemDelegate(parent), style_(style) {}

    void paint(QPainter* painter, const QStyleOptionViewItem& option,
               const QModelIndex& index) const override {
        const bool pointed = (option.state & QStyle::State_MouseOver) != 0;
        painter->save();
        painter->fillRect(option.rect, ColourOf(pointed ? style_.menu_selected_back_color
                                                        : style_.menu_back_color));
        painter->setPen(
            ColourOf(pointed ? style_.menu_selected_font_color : style_.menu_font_color));
        painter->setFont(option.font);
        painter->drawText(option.rect.adjusted(kMacroNameIndent, 0, 0, 0),
                          Qt::AlignLeft | Qt::AlignVCenter | Qt::TextSingleLine,
                          index.data(Qt::DisplayRole).toString());
        painter->restore();
    }

    QSize sizeHint(const QStyleOptionViewItem& option, const QModelIndex& index) const override {
        const int height =
            style_.macro_name_height > 0 ? style_.macro_name_height : kMacroNameItemHeight;
        return {QStyledItemDelegate::sizeHint(option, index).width(), height};
    }

private:
    const LayoutStyle& style_;
};

}  // namespace

QString AssignTarget::Control() const {
    return kind == Kind::kLabel ? QStringLiteral("Key%1").arg(number)
                                : QStringLiteral("btn_Key%1").arg(number);
}

FunctionMenus::FunctionMenus(MainWindow& window, QWidget* container)
    : WindowPart(window, kMenuPart, container) {}

void FunctionMenus::SetMainPanelHeight(int height) {
    main_panel_height_ = height;
    if (built()) {
        ResizeMainPanel();
    }
}

void FunctionMenus::ResizeMainPanel() {
    if (!main_panel_height_) {
        return;
    }
    if (QWidget* panel = Control(QStringLiteral("Pnl_Main"))) {
        panel->resize(panel->width(), *main_panel_height_);
    }
}

void FunctionMenus::Built() {
    // Once: every menu opening sets the panel's height, and a second connection would give a
    // picked gun key twice.
    if (auto* guns = qobject_cast<QListWidget*>(OwnControl(QStringLiteral("LB_Script")))) {
        connect(guns, &QListWidget::itemClicked, this,
                [this, guns](QListWidgetItem* item) { AssignGunKey(guns->row(item)); });
    }
    SetUpMacroNameList();
    ResizeMainPanel();
}

void FunctionMenus::Arrange() {
    // The submenus are as tall as their entries (the first panel's height is a program
    // setting, the special panel's follows below).
    for (const char* name : {"Pnl_MseKey", "Pnl_CPIKey", "Pnl_Media", "Pnl_WWW", "Pnl_MyPC"}) {
        QWidget* panel = Control(QString::fromLatin1(name));
        if (panel == nullptr) {
            continue;
        }
        int bottom = 0;
        for (const QObject* child : panel->children()) {
            if (const auto* entry = qobject_cast<const QWidget*>(child)) {
                bottom = std::max(bottom, entry->geometry().bottom() + 1);
            }
        }
        panel->resize(panel->width(), bottom + 1);
    }
    // The special panel shows the entries the program settings name, in their order, one
    // pitch apart; the others are not offered.
    const std::vector<std::string> special = SpecialEntries(window().org().special_config);
    for (QWidget* control : controls()) {
        if (control->parentWidget() != nullptr &&
            control->parentWidget()->objectName() == QLatin1String("Pnl_Special") &&
            control->objectName().startsWith(QStringLiteral("Key_"))) {
            control->hide();
        }
    }
    for (size_t i = 0; i < special.size(); ++i) {
        if (QWidget* entry = Control(QString::fromStdString(special[i]))) {
            entry->move(entry->x(), kSpecialEntryPitch * static_cast<int>(i));
            entry->show();
        }
    }
    if (QWidget* panel = Control(QStringLiteral("Pnl_Special"))) {
        panel->resize(panel->width(), SpecialPanelHeight(static_cast<int>(special.size())));
    }
    if (QWidget* marker = Control(QStringLiteral("ST_CPIKey"))) {
        marker->setVisible(std::find(special.begin(), special.end(), "Key_CPIKey") !=
                           special.end());
    }
    // Markers stand on their entry's row at its full width, the text right-aligned.
    for (QWidget* marker : controls()) {
        const QString name = marker->objectName();
        if (!name.startsWith(QStringLiteral("ST_"))) {
            continue;
        }
        if (const QWidget* row = Control(QStringLiteral("Key_") + name.mid(3))) {
            marker->setGeometry(row->geometry());
            marker->raise();
        }
    }
    // Entries are transparent over their panel, in the menu's text colour, until pointed at.
    for (QWidget* control : controls()) {
        if (control->objectName().startsWith(QStringLiteral("Key_"))) {
            Highlight(control->objectName(), false);
        }
    }
}

QRect FunctionMenus::Box(const QString& name) {
    const QWidget* widget = Control(name);
    return widget != nullptr ? widget->geometry() : QRect();
}

void FunctionMenus::OpenForLabel(int button) {
    // The label stops scrolling and shows its normal picture while the menu is open, in the
    // width the layout gave it (as the page's own hover keeps it).
    window().StopRolling();
    static_cast<void>(
        SetPictureKeepingSize(QStringLiteral("Img_Key%1").arg(button), QStringLiteral("KeyS_01")));
    Build();
    const QRect label = window().Control(QStringLiteral("Key%1").arg(button))->geometry();
    const QRect panel = Box(QStringLiteral("Pnl_Main"));
    const QSize background = container()->size();
    const MenuPoint at =
        PlaceMenuAtLabel({label.x(), label.y(), label.width(), label.height()}, panel.width(),
                         panel.height(), background.width(), background.height());
    target_ = {AssignTarget::Kind::kLabel, button};
    ShowMain(false, QPoint(at.left, at.top));
}

void FunctionMenus::OpenForColumn(int column_button, const QRect& button_box, const QRect& control,
                                  int group_top) {
    Build();
    const QRect panel = Box(QStringLiteral("Pnl_Main"));
    const MenuPoint at = PlaceMenuAtColumnButton(
        {button_box.x(), button_box.y(), button_box.width(), button_box.height()}, panel.width(),
        panel.height(), control.width(), control.y(), group_top);
    target_ = {AssignTarget::Kind::kColumn, column_button};
    // Upwards from a button near the top the panel would start above the page: it stays on it.
    const QWidget* page = window().Part(kFactoryPart).container();
    ShowMain(true, QPoint(std::clamp(at.left, 0, std::max(0, page->width() - panel.width())),
                          std::clamp(at.top, 0, std::max(0, page->height() - panel.height()))));
}

void FunctionMenus::ShowMain(bool column_target, const QPoint& at) {
    window().HideAllMenu();
    // The menus open over the page of their button: the first page's, or the factory page's.
    QWidget* page = column_target ? window().Part(kFactoryPart).container()
                                  : window().Part(kOfficePart).container();
    for (const char* name : kOpenable) {
        if (QWidget* panel = Control(QString::fromLatin1(name));
            panel != nullptr && panel->parentWidget() != page) {
            panel->setParent(page);
            panel->hide();
        }
    }
    QWidget* main = Control(QStringLiteral("Pnl_Main"));
    // As tall as the functions of the page it opens on need: the gun row belongs to the
    // gaming profile (where the program shows guns) and to the factory page.
    const OrgSettings& org = window().org();
    const bool guns =
        column_target || (window().current_page() == Page::kGaming && org.gun_display);
    SetMainPanelHeight(guns ? org.main_panel_height_with_gun : org.main_panel_height_without_gun);
    QWidget* fire_macro = Control(QStringLiteral("Key_FireMacro"));
    fire_macro->setVisible(!column_target);
    // The gun key entry takes the fire macro entry's row: the panel has room for one of them.
    for (const char* name : {"Key_TLFireMacro", "ST_TLFireMacro"}) {
        QWidget* entry = Control(QString::fromLatin1(name));
        entry->move(entry->x(), fire_macro->y());
        entry->setVisible(column_target);
    }
    main->move(at);
    main->show();
    main->raise();
    qApp->installEventFilter(this);  // a press anywhere else closes the menus
}

void FunctionMenus::HideMenus() {
    qApp->removeEventFilter(this);
    WindowPart::HideMenus();
    for (const char* name : {"LB_Script"}) {
        if (QWidget* list = OwnControl(QString::fromLatin1(name))) {
            list->hide();
        }
    }
}

bool FunctionMenus::eventFilter(QObject* watched, QEvent* event) {
    // A press reaches the native window first and then the widget under the pointer: the
    // widget decides.
    if (event->type() == QEvent::MouseButtonPress && watched->isWidgetType()) {
        // A press inside an open menu is the menu's; any other closes them all.
        bool inside = false;
        for (auto* widget = qobject_cast<QWidget*>(watched); widget != nullptr && !inside;
             widget = widget->parentWidget()) {
            const QString name = widget->objectName();
            inside = name.startsWith(QStringLiteral("Pnl_")) || name == QLatin1String("LB_Name") ||
                     name == QLatin1String("LB_Script");
        }
        if (!inside) {
            window().HideAllMenu();
        }
    }
    return WindowPart::eventFilter(watched, event);
}

void FunctionMenus::Highlight(const QString& entry, bool on) {
    auto* label = qobject_cast<QLabel*>(OwnControl(entry));
    if (label == nullptr) {
        return;
    }
    const LayoutStyle& style = window().style();
    QPalette palette = label->palette();
    palette.setColor(QPalette::WindowText,
                     ColourOf(on ? style.menu_selected_font_color : style.menu_font_color));
    palette.setColor(QPalette::Window, ColourOf(style.menu_selected_back_color));
    label->setPalette(palette);
    label->setAutoFillBackground(on);
}

bool FunctionMenus::LabelEntered(const QString& name) {
    if (!name.startsWith(QStringLiteral("Key_"))) {
        return false;
    }
    Highlight(name, true);
    const int tag = MenuEntryTag(name.toStdString());
    if (!SubmenuOfTag(tag).empty()) {
        OpenSubmenu(name, tag);
    } else if (name == QLatin1String("Key_Assembly") || name == QLatin1String("Key_FireMacro")) {
        for (const char* submenu : kSubmenus) {
            if (QWidget* widget = OwnControl(QString::fromLatin1(submenu))) {
                widget->hide();
            }
        }
    } else if (QWidget* entry = OwnControl(name);
               entry != nullptr && entry->parentWidget()->objectName() == "Pnl_Special") {
        Control(QStringLiteral("Pnl_CPIKey"))->hide();
    }
    return true;
}

bool FunctionMenus::LabelLeft(const QString& name) {
    if (!name.startsWith(QStringLiteral("Key_"))) {
        return false;
    }
    Highlight(name, false);
    return true;
}

void FunctionMenus::OpenSubmenu(const QString& entry, int tag) {
    const QString submenu_name = QString::fromUtf8(
        SubmenuOfTag(tag).data(), static_cast<qsizetype>(SubmenuOfTag(tag).size()));
    QWidget* submenu = OwnControl(submenu_name);
    if (submenu_name == QLatin1String("LB_Script") &&
        (submenu == nullptr || qobject_cast<QListWidget*>(submenu)->count() == 0)) {
        return;  // no gun keys: nothing opens
    }
    if (submenu == nullptr) {
        submenu = Control(submenu_name);
    }
    if (submenu_name == QLatin1String("LB_Name")) {
        FillMacroNameList();
    }
    const bool dpi_keys = tag == kDpiKeysTag;
    for (const char* other : kSubmenus) {
        QWidget* widget = OwnControl(QString::fromLatin1(other));
        if (widget != nullptr && widget != submenu &&
            !(dpi_keys && widget->objectName() == QLatin1String("Pnl_Special"))) {
            widget->hide();
        }
    }
    const QRect main = Box(QStringLiteral("Pnl_Main"));
    const QRect special = Box(QStringLiteral("Pnl_Special"));
    const QRect parent = dpi_keys ? special : main;
    const QRect row = Box(entry);
    int fit_width = main.x() + main.width() + special.width();
    if (dpi_keys) {
        fit_width += submenu->width();
    }
    const QSize background = submenu->parentWidget()->size();
    const MenuPoint at =
        PlaceSubmenu({parent.x(), parent.y(), parent.width(), parent.height()},
                     {row.x(), row.y(), row.width(), row.height()}, submenu->width(),
                     submenu->height(), fit_width, background.width(), background.height());
    if (submenu->parentWidget() != Control(QStringLiteral("Pnl_Main"))->parentWidget()) {
        submenu->setParent(Control(QStringLiteral("Pnl_Main"))->parentWidget());
    }
    submenu->move(at.left, at.top);
    submenu->show();
    submenu->raise();
}

bool FunctionMenus::LabelClicked(const QString& name) {
    if (!name.startsWith(QStringLiteral("Key_"))) {
        return false;
    }
    if (name == QLatin1String("Key_Assembly")) {
        window().HideAllMenu();
        OpenKeyCombination();
        return true;
    }
    if (name == QLatin1String("Key_FireMacro")) {
        window().HideAllMenu();
        emit fireMacroAsked();
        return true;
    }
    const int tag = MenuEntryTag(name.toStdString());
    if (!SubmenuOfTag(tag).empty()) {
        OpenSubmenu(name, tag);
        return true;
    }
    const std::optional<FunctionCode> code =
        ParseCodeText(MenuCode(tag, window().shown_config().aim_dpi));
    const auto* entry = qobject_cast<QLabel*>(OwnControl(name));
    if (!code || entry == nullptr) {
        return true;
    }
    // The entry's caption is the menu prefix (" * ") and the function's name.
    static_cast<void>(Assign(*code, entry->text().mid(3), true));
    return true;
}

void FunctionMenus::OpenKeyCombination() {
    // The dialog does not block the window: its confirm acts on the button the menu was opened
    // for, which stays the target until the next menu opens. A key combination may replace
    // the last left click.
    const DialogOpening opened =
        OpenKeyCombinationDialog(window(), [this](const KeyCombinationResult& result) {
            const std::optional<FunctionCode> code = ParseCodeText(result.code);
            if (result.confirmed && code) {
                static_cast<void>(Assign(*code, QString::fromStdString(result.text), false));
            }
        });
    if (!opened) {
        window().ShowMessage(opened.error);
    }
}

void FunctionMenus::AssignGunKey(int position) {
    // `LB_ScriptClick`: the list opens for the factory page's columns only, and a gun key may
    // replace the last left click there.
    window().HideAllMenu();
    auto* factory = window().PageOf<EngineeringPage>();
    const auto* list = qobject_cast<QListWidget*>(OwnControl(QStringLiteral("LB_Script")));
    if (target_.kind != AssignTarget::Kind::kColumn || factory == nullptr || list == nullptr ||
        list->item(position) == nullptr) {
        return;
    }
    if (const std::optional<GunKeyCode> code = factory->gun_keys().CodeAt(position)) {
        static_cast<void>(Assign(FunctionCode{(*code)[0], (*code)[1], (*code)[2]},
                                 list->item(position)->text(), false));
    }
}

bool FunctionMenus::Assign(const FunctionCode& code, const QString& caption, bool left_click_rule) {
    window().HideAllMenu();
    if (target_.kind == AssignTarget::Kind::kNone) {
        return false;
    }
    QWidget* shown = window().Control(target_.Control());
    if (shown == nullptr) {
        return false;
    }
    shown->setProperty("text", caption);
    ProfileButtons MouseConfig::*profile = nullptr;
    int button = 0;
    if (target_.kind == AssignTarget::Kind::kColumn) {
        profile = target_.number < 200 ? &MouseConfig::office : &MouseConfig::gaming;
        button = target_.number % 100;
    } else {
        // A main-page button belongs to the profile of the selected tab, if either is.
        const auto checked = [this](const char* radio) {
            const auto* button_radio =
                qobject_cast<QRadioButton*>(Control(QString::fromLatin1(radio)));
            return button_radio != nullptr && button_radio->isChecked();
        };
        profile = checked("rb_1")   ? &MouseConfig::office
                  : checked("rb_2") ? &MouseConfig::gaming
                                    : nullptr;
        button = target_.number;
    }
    if (profile == nullptr || button < 1 || button > kButtonsPerProfile) {
        return true;  // the caption changed, nothing is stored
    }
    // Every view of the button follows (the main page's label, the factory page's column).
    const LeftClickRule rule = left_click_rule ? LeftClickRule::kKept : LeftClickRule::kWaived;
    bool refused = false;
    window().ChangeConfig([profile, button, &code, rule, &refused](MouseConfig& config) {
        refused =
            !AssignButtonFunction(config.*profile, static_cast<size_t>(button - 1), code, rule);
    });
    if (refused) {
        // The button keeps its function, the profile's last left click.
        shown->setProperty("text",
                           QString::fromStdString(window().captions().Caption(kLeftClickNameKey)));
        window().ShowMessageKey("Str108");
        return false;
    }
    return true;
}

void FunctionMenus::SetUpMacroNameList() {
    auto* list = qobject_cast<QListWidget*>(OwnControl(QStringLiteral("LB_Name")));
    if (list == nullptr || macro_list_set_up_) {
        return;
    }
    macro_list_set_up_ = true;
    list->setItemDelegate(new MacroNameDelegate(window().style(), list));
    list->setUniformItemSizes(true);
    list->setSelectionMode(QAbstractItemView::NoSelection);
    list->setFocusPolicy(Qt::NoFocus);
    list->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    // The item under the pointer follows every move over the list.
    list->setMouseTracking(true);
    list->viewport()->setAttribute(Qt::WA_Hover);
    connect(list, &QListWidget::itemClicked, this,
            [this, list](QListWidgetItem* item) { AssignMacro(list->row(item)); });
}

void FunctionMenus::FillMacroNameList() {
    SetUpMacroNameList();
    auto* list = qobject_cast<QListWidget*>(OwnControl(QStringLiteral("LB_Name")));
    if (list == nullptr) {
        return;
    }
    // The library's names as they are now: the macro page may have changed them since.
    list->clear();
    if (auto* page = window().PageOf<MacroPage>()) {
        list->addItems(page->LibraryNames());
    }
    // As tall as its names (one row at least, ten at most: more scroll) and as wide as the
    // first panel or its widest name.
    const int item = window().style().macro_name_height > 0 ? window().style().macro_name_height
                                                            : kMacroNameItemHeight;
    const int rows = std::clamp(list->count(), 1, kMacroNameRowsShown);
    const QFontMetrics metrics(list->font());
    int widest = 0;
    for (int i = 0; i < list->count(); ++i) {
        widest = std::max(widest, metrics.horizontalAdvance(list->item(i)->text()));
    }
    const int frame = 2 * list->frameWidth();
    const int scroll_bar =
        list->count() > rows ? list->style()->pixelMetric(QStyle::PM_ScrollBarExtent) : 0;
    const int width = std::max(Box(QStringLiteral("Pnl_Main")).width(),
                               widest + 3 * kMacroNameIndent + frame + scroll_bar);
    list->resize(width, rows * item + frame);
}

std::optional<std::size_t> FunctionMenus::TargetCodeIndex() {
    if (target_.kind == AssignTarget::Kind::kColumn) {
        const int profile = target_.number / 100;
        const int button = target_.number % 100;
        return static_cast<std::size_t>((profile - 1) * kButtonsPerProfile + button - 1);
    }
    if (target_.kind != AssignTarget::Kind::kLabel) {
        return std::nullopt;
    }
    const auto checked = [this](const char* radio) {
        const auto* button_radio = qobject_cast<QRadioButton*>(Control(QString::fromLatin1(radio)));
        return button_radio != nullptr && button_radio->isChecked();
    };
    const int offset = checked("rb_1") ? 0 : checked("rb_2") ? kButtonsPerProfile : -1;
    if (offset < 0) {
        return std::nullopt;
    }
    return static_cast<std::size_t>(offset + target_.number - 1);
}

void FunctionMenus::AssignMacro(int index) {
    window().HideAllMenu();
    if (!window().org().eeprom_mode) {
        return;  // macros kept by the driver take records of its list, not the mouse's slots
    }
    auto* page = window().PageOf<MacroPage>();
    MacroLibrary* library = page != nullptr ? page->library() : nullptr;
    if (library == nullptr || device_macros_ == nullptr || index < 0 ||
        static_cast<std::size_t>(index) >= library->Count() ||
        target_.kind == AssignTarget::Kind::kNone) {
        return;
    }
    const MouseConfig& config = window().shown_config();
    std::vector<FunctionCode> codes(config.office.begin(), config.office.end());
    codes.insert(codes.end(), config.gaming.begin(), config.gaming.end());
    // A main-page button of neither profile plays nothing yet: every code counts.
    const std::size_t button = TargetCodeIndex().value_or(codes.size());
    const std::span<const uint8_t> record = library->Record(static_cast<std::size_t>(index));
    if (record.size() != kMacroSlotSize) {
        return;
    }
    const DeviceMacros before = *device_macros_;
    const MacroAssignment assigned = velq::AssignMacro(
        *device_macros_, codes, button, record.first<kMacroSlotSize>(),
        target_.kind == AssignTarget::Kind::kColumn ? velq::AssignTarget::kEngineeringPage
                                                    : velq::AssignTarget::kMainPage);
    if (!assigned) {
        // No free slot: the button keeps its function, and the user learns why.
        window().ShowMessageKey(assigned.refusal_key);
        return;
    }
    // The slot holds the macro before the button plays it, so the button is named after it.
    const QString name = QString::fromStdString(device_macros_->ListName(assigned.slot));
    if (!Assign(assigned.code, name, true)) {
        *device_macros_ = before;
    }
}

}  // namespace velq::ui
