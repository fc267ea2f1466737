#include "config/ui/engineering_page.h"

#include <QComboBox>
#include <QEvent>
#include <QPalette>
#include <QSignalBlocker>
#include <QTabWidget>
#include <QWidget>

#include <algorithm>
#include <cstdio>
#include <utility>

#include "buttons/number_fields.h"
#include "buttons/ui/function_menus.h"
#include "common/dpi.h"
#include "config/config_edits.h"
#include "config/ui/engineering_layout.h"
#include "config/ui/page_values.h"
#include "fire/ui/fire_page.h"
#include "settings/light_rules.h"
#include "shell/ui/main_window.h"

namespace velq::ui {
namespace {

constexpr int kFirstFlowingModeTerm = 0x28;  // "Mode 1"
constexpr int kTestKeysTerm = 0x08;          // "Test Keys Position"
constexpr int kTestKeysHintTerm = 0x8E;      // what the button test asks of the operator

QString TermText(int code) {
    const std::optional<std::string_view> term =
        EngineerText(static_cast<uint8_t>(code), EngineerLanguageOfEnvironment());
    return term ? QString::fromUtf8(term->data(), static_cast<qsizetype>(term->size())) : QString();
}

QString OfficeKeyName(int key) {
    return QStringLiteral("btn_Key1%1").arg(key, 2, 10, QLatin1Char('0'));
}

}  // namespace

EngineeringPage::EngineeringPage(MainWindow& window)
    : WindowPart(window, kFactoryPart), gun_keys_(window) {
    // The factory page has no picture of its own: plain controls in the theme's colours.
    QWidget* page = container();
    page->setAutoFillBackground(true);
    QPalette palette = page->palette();
    palette.setColor(QPalette::Window, QColor(18, 21, 26));
    palette.setColor(QPalette::WindowText, QColor(220, 224, 230));
    palette.setColor(QPalette::Base, QColor(30, 34, 41));
    palette.setColor(QPalette::AlternateBase, QColor(36, 41, 49));
    palette.setColor(QPalette::Text, QColor(225, 228, 234));
    palette.setColor(QPalette::Button, QColor(40, 45, 53));
    palette.setColor(QPalette::ButtonText, QColor(225, 228, 234));
    palette.setColor(QPalette::Highlight, QColor(232, 160, 48));
    palette.setColor(QPalette::HighlightedText, QColor(18, 21, 26));
    // Setting a colour sets it for every state, so a control that is switched off (the fire
    // buttons that do not apply) would look like one that works: its texts fade instead.
    for (QPalette::ColorRole role : {QPalette::WindowText, QPalette::Text, QPalette::ButtonText}) {
        palette.setColor(QPalette::Disabled, role, QColor(105, 110, 118));
    }
    palette.setColor(QPalette::Disabled, QPalette::Button, QColor(28, 32, 38));
    page->setPalette(palette);
}

void EngineeringPage::Built() {
    FillDpiLists();  // the DPI lists the window made already, before the page places them
    EngineeringPageHooks hooks;
    hooks.existing = [this](const QString& name) { return Control(name); };
    hooks.clicked = [this](const QString& name) { OnCommand(name); };
    for (QWidget* widget :
         BuildEngineeringPage(*container(), EngineerLanguageOfEnvironment(), hooks)) {
        Adopt(widget);
    }
    ConnectLinkedSettings();
    gun_keys_.Connect([this](const QString& name) { return OwnControl(name); });
    if (QWidget* logo = Control(QStringLiteral("Img_Logo4"))) {
        logo->installEventFilter(this);
    }
    if (QWidget* test = Control(QStringLiteral("btn_TestKeys"))) {
        test->setStatusTip(TermText(kTestKeysHintTerm));
    }
    container()->installEventFilter(this);  // the hint line goes back when the page is left
    ShowUnlocked(unlocked_);
}

void EngineeringPage::EngineerUnlock() {
    unlocked_ = true;
    ShowUnlocked(true);
}

void EngineeringPage::ShowUnlocked(bool unlocked) {
    // Locked, the page shows the operation tab alone, with Default, and the light type and
    // sensor orientation cannot be changed; unlocked, the engineer tab is there and its fire
    // area file button stands in for Default.
    if (auto* tabs = qobject_cast<QTabWidget*>(Control(QStringLiteral("Pg_Parameter")))) {
        if (QWidget* engineer = Control(QStringLiteral("ts_Engineer"))) {
            tabs->setTabVisible(tabs->indexOf(engineer), unlocked);
        }
    }
    const std::pair<const char*, bool> kShown[] = {{"Btn_Default", !unlocked},
                                                   {"Btn_ImportGunMacro", unlocked}};
    for (const auto& [name, shown] : kShown) {
        if (QWidget* control = Control(QString::fromLatin1(name))) {
            control->setVisible(shown);
        }
    }
    for (const char* name : {"gbLEDType", "rb_MCULED", "rb_RBLED", "rb_SyncLED", "rb_BreLED",
                             "lbl_Eng_cb_SensorOri", "cb_SensorOri"}) {
        if (QWidget* control = Control(QString::fromLatin1(name))) {
            control->setEnabled(unlocked);
        }
    }
}

void EngineeringPage::PlaceHintLine() {
    // The window's hint label (`lbl_Content`) lies below the factory page's smaller window: it
    // takes the page's hint line while the page is open.
    QWidget* hint = window().Control(QStringLiteral("lbl_Content"));
    if (hint == nullptr || hint_geometry_) {
        return;
    }
    hint_geometry_ = hint->geometry();
    hint->setGeometry(QRect(container()->mapTo(&window(), kHintLine.topLeft()), kHintLine.size()));
    hint->raise();
}

bool EngineeringPage::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() == QEvent::Hide && watched == container() && hint_geometry_) {
        if (QWidget* hint = window().Control(QStringLiteral("lbl_Content"))) {
            hint->setGeometry(*hint_geometry_);
        }
        hint_geometry_.reset();
        return false;
    }
    if (event->type() == QEvent::MouseButtonDblClick &&
        watched->objectName() == QStringLiteral("Img_Logo4")) {
        EngineerUnlock();
        return true;
    }
    return WindowPart::eventFilter(watched, event);
}

void EngineeringPage::ConnectLinkedSettings() {
    // Every setting shown here is shown elsewhere too: an edit changes the configuration at
    // once, so the other pages follow. Some choices carry more than their own setting.
    ConnectPageValueEdits([this](const QString& name) { return OwnControl(name); }, *this,
                          [this](const QString& name) { Edited(name); });
}

void EngineeringPage::Edited(const QString& name) {
    static const std::pair<const char*, LightType> kLightTypes[] = {
        {"rb_MCULED", LightType::kFlowing},
        {"rb_RBLED", LightType::kTwoColour},
        {"rb_SyncLED", LightType::kSync},
        {"rb_BreLED", LightType::kBreathing}};
    for (const auto& [button, type] : kLightTypes) {
        if (name == QLatin1String(button)) {
            window().ChangeConfig([type](MouseConfig& c) { ChooseLightType(c, type); });
            return;
        }
    }
    if (name == QStringLiteral("cb_CPIStep")) {
        window().ChangeConfig([](MouseConfig& c) { SetLevelCount(c, c.dpi.count); });
    } else if (name == QStringLiteral("rb_Save") || name == QStringLiteral("rb_NoSave")) {
        window().ChangeConfig(
            [](MouseConfig& c) { SetRememberKeyMode(c, c.options.remember_key_mode); });
    } else if (name == QStringLiteral("cb_AIMKeyValue")) {
        bool aim_key = true;
        window().ChangeConfig([&](MouseConfig& c) { aim_key = ChooseAimDpi(c, c.aim_dpi); });
        if (!aim_key) {
            window().ShowMessage(QString::fromLatin1(kNoAimKeyMessage));
        }
    } else if (name == QStringLiteral("cb_FireCount")) {
        // A count chosen in the list is the count the fire key fires, continuous fire off; the
        // clicks field holds at most 255, and so does the list then ("256" stands for
        // continuous fire).
        auto* count = qobject_cast<QComboBox*>(OwnControl(name));
        const int position = count != nullptr ? count->currentIndex() : -1;
        window().ChangeConfig([position](MouseConfig& c) {
            if (position >= 0) {
                SetFireClicks(c, std::min(position + 1, kMaxFireCount));
            }
        });
    } else {
        window().ChangeConfig({});
    }
}

void EngineeringPage::ShowConfig(const MouseConfig& config) {
    ListFlowingModes(config.lighting.modes_offered);
    ShowLevelsInUse(config.dpi.count);
    ShowLightGroups(config.lighting.type);
    ShowPageValues([this](const QString& name) { return OwnControl(name); }, config);
    NameButtons(config);
}

void EngineeringPage::CollectConfig(MouseConfig& config) const {
    ReadPageValues([this](const QString& name) { return OwnControl(name); }, config);
}

void EngineeringPage::Arrange() {
    FillDpiLists();
    NameButtons(window().shown_config());  // in the language just applied
}

void EngineeringPage::ListFlowingModes(const std::array<bool, 7>& offered) {
    // The list always holds seven items, so that a position is always the mode - 1; a mode the
    // mouse does not offer stands as "------".
    auto* list = qobject_cast<QComboBox*>(Control(QStringLiteral("cb_MCULEDCurrentMode")));
    if (list == nullptr || list->count() != static_cast<int>(offered.size())) {
        return;
    }
    for (int n = 0; n < list->count(); ++n) {
        list->setItemText(n, offered[static_cast<size_t>(n)]
                                 ? TermText(kFirstFlowingModeTerm + n)
                                 : QString::fromLatin1(kModeNotOffered));
    }
}

void EngineeringPage::ShowLevelsInUse(int count) {
    // Only a level in use can be the current one: the list offers "1" .. count, and the
    // controls of the levels out of use are hidden. A count out of range (a damaged image)
    // shows all seven, so that nothing is hidden from the factory.
    const int levels = count >= kMinLevelCount && count <= kDpiLevels ? count : kDpiLevels;
    if (auto* current = qobject_cast<QComboBox*>(Control(QStringLiteral("cb_CurrentCPI")));
        current != nullptr && current->count() != levels) {
        const QSignalBlocker quiet(current);
        while (current->count() > levels) {
            current->removeItem(current->count() - 1);
        }
        while (current->count() < levels) {
            current->addItem(QString::number(current->count() + 1));
        }
    }
    for (int level = 1; level <= kDpiLevels; ++level) {
        const bool in_use = level <= levels;
        const QString list = QStringLiteral("cb_CPI%1").arg(level);
        QStringList names = {list, QStringLiteral("lbl_Eng_") + list,
                             QStringLiteral("lbl_Eng_CPI%1Colour").arg(level)};
        for (const QChar rgb : QStringLiteral("RGB")) {
            names.push_back(QStringLiteral("edt_CPI%1%2").arg(level).arg(rgb));
        }
        for (const QString& name : names) {
            if (QWidget* control = Control(name)) {
                control->setVisible(in_use);
            }
        }
    }
}

void EngineeringPage::ShowLightGroups(LightType type) {
    // The groups of the settings the chosen light has, as on the lighting page.
    const LightGroups groups = GroupsOfLight(type);
    const std::pair<const char*, bool> kGroups[] = {
        {"gbRBLEDMode", groups.two_colour_modes},   {"gbLCPI", groups.left_dpi_keys},
        {"gbMCULEDControlMode", groups.brightness}, {"gbMCULEDCurrent", groups.flowing_modes},
        {"gbMCULEDCPIColor", groups.flowing_modes},
    };
    for (const auto& [name, shown] : kGroups) {
        if (QWidget* group = Control(QString::fromLatin1(name))) {
            group->setVisible(shown);
        }
    }
}

void EngineeringPage::FillDpiLists() {
    // The DPI lists of the engineering view offer the value names of the caption table.
    const CaptionTable& table = window().captions();
    for (int level = 1; level <= 7; ++level) {
        auto* list = qobject_cast<QComboBox*>(Control(QStringLiteral("cb_CPI%1").arg(level)));
        if (list == nullptr) {
            continue;
        }
        const int chosen = list->currentIndex();
        list->clear();
        for (int value = 0; value < 12; ++value) {
            char key[8];
            std::snprintf(key, sizeof key, "Str3%02d", value);
            const std::string text = table.Caption(key);
            list->addItem(QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size())));
        }
        list->setCurrentIndex(std::max(chosen, 0));
    }
}

void EngineeringPage::NameButtons(const MouseConfig& config) {
    // Both profiles' columns: btn_Key101 .. btn_Key109 office, btn_Key201 .. btn_Key209 gaming.
    const MainWindow::FunctionNamer& name_of = window().function_namer();
    if (!name_of) {
        return;
    }
    for (int profile = 1; profile <= 2; ++profile) {
        const ProfileButtons& codes = profile == 1 ? config.office : config.gaming;
        for (int b = 0; b < kButtonsPerProfile; ++b) {
            const QString name =
                QStringLiteral("btn_Key%1%2").arg(profile).arg(b + 1, 2, 10, QLatin1Char('0'));
            if (QWidget* button = Control(name)) {
                button->setProperty("text", name_of(codes[static_cast<size_t>(b)]));
            }
        }
    }
}

void EngineeringPage::Opened(Page /*page*/) {
    EngineerUnlock();
    PlaceHintLine();
    // The button columns open the function menu with every function, the guns' too.
    if (auto* menus = window().PageOf<FunctionMenus>()) {
        menus->SetMainPanelHeight(window().org().main_panel_height_with_gun);
    }
    // With the settings in the mouse, the fire area is read once here as on the fire page; its
    // read sets which of the fire area's buttons are enabled.
    const auto* fire = window().PageOf<FirePage>();
    if (window().org().eeprom_mode && fire != nullptr && !fire->Fire().read) {
        window().RequestFlow(QStringLiteral("Pg_Parameter"));
    }
}

void EngineeringPage::OnCommand(const QString& name) {
    if (gun_keys_.Clicked(name)) {
        return;
    }
    // The profile columns' buttons open the function menu for their button.
    if (name.startsWith(QStringLiteral("btn_Key")) && name.size() == 10) {
        QWidget* button = Control(name);
        QWidget* control = Control(QStringLiteral("Pg_Parameter"));
        QWidget* group = button != nullptr ? button->parentWidget() : nullptr;
        auto* menus = window().PageOf<FunctionMenus>();
        if (button != nullptr && control != nullptr && group != nullptr && menus != nullptr) {
            // The menu finds its side by where the button lies across the page control, not
            // inside its group box (whose left edge is a few pixels for every column).
            QRect box = button->geometry();
            box.moveLeft(button->mapTo(control, QPoint(0, 0)).x());
            menus->OpenForColumn(name.mid(7).toInt(), box, control->geometry(), group->y());
        }
        return;
    }
    // The page's own row of commands: its page tabs, and the frame buttons' flows.
    static const std::pair<const char*, Page> kTabs[] = {{"btn_EngOffice", Page::kOffice},
                                                         {"btn_EngGaming", Page::kGaming},
                                                         {"btn_EngAdvanced", Page::kAdvanced},
                                                         {"btn_EngLight", Page::kLight},
                                                         {"btn_EngMacro", Page::kMacro}};
    for (const auto& [button, page] : kTabs) {
        if (name == QLatin1String(button)) {
            window().ClickTab(page);
            return;
        }
    }
    static const std::pair<const char*, const char*> kFlows[] = {
        {"btn_Load", "Btn_Load_1"},
        {"btn_Save", "Btn_Save_1"},
        {"btn_Write", "Btn_Apply_1"},
        {"Btn_Default", "Btn_Default"},
        {"btn_loadDefaultCPI", "btn_loadDefaultCPI"},
        {"btn_loadDefaultLED", "btn_loadDefaultLED"},
        {"Btn_ImportBaseMacro", "Btn_ImportBaseMacro"},
        {"btn_deleteFireMarco", "btn_deleteFireMarco"},
        {"btn_importFireMarco1", "btn_importFireMarco1"},
        {"btn_importFireMarco2", "btn_importFireMarco2"},
        {"Btn_ImportGunMacro", "Btn_ImportGunMacro"},
        {"btn_TestKeys", "btn_TestKeys"}};
    for (const auto& [button, flow] : kFlows) {
        if (name == QLatin1String(button)) {
            // The flows themselves say so when there is no mouse.
            window().RequestFlow(QString::fromLatin1(flow));
            return;
        }
    }
}

void EngineeringPage::ButtonTestStarted() {
    if (QWidget* button = Control(QStringLiteral("btn_TestKeys"))) {
        button->setEnabled(false);
    }
}

void EngineeringPage::ShowTestCountdown(std::optional<int> seconds) {
    if (QWidget* button = Control(QStringLiteral("btn_TestKeys"))) {
        button->setProperty(
            "text", seconds ? QStringLiteral("%1...").arg(*seconds) : TermText(kTestKeysTerm));
    }
}

void EngineeringPage::ShowTestedKey(int key, bool shown) {
    if (QWidget* button = Control(OfficeKeyName(key))) {
        button->setVisible(shown);
    }
}

void EngineeringPage::ButtonTestEnded() {
    ShowTestCountdown(std::nullopt);
    for (int key = 1; key <= 9; ++key) {
        ShowTestedKey(key, true);
    }
    if (QWidget* button = Control(QStringLiteral("btn_TestKeys"))) {
        button->setEnabled(true);
    }
}

}  // namespace velq::ui
