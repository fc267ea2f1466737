#include "config/ui/engineering_page.h"

#include <QComboBox>
#include <QPalette>
#include <QWidget>

#include <algorithm>
#include <cstdio>
#include <utility>

#include "buttons/number_fields.h"
#include "buttons/ui/function_menus.h"
#include "config/config_edits.h"
#include "config/ui/engineering_layout.h"
#include "config/ui/page_values.h"
#include "fire/ui/fire_page.h"
#include "settings/light_rules.h"
#include "shell/ui/main_window.h"

namespace velq::ui {
namespace {

constexpr int kFirstFlowingModeTerm = 0x28;  // "Mode 1"

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
    const EngineerLanguage language = EngineerLanguageOfEnvironment();
    for (int n = 0; n < list->count(); ++n) {
        QString text = QString::fromLatin1(kModeNotOffered);
        if (offered[static_cast<size_t>(n)]) {
            const std::optional<std::string_view> term =
                EngineerText(static_cast<uint8_t>(kFirstFlowingModeTerm + n), language);
            text = term ? QString::fromUtf8(term->data(), static_cast<qsizetype>(term->size()))
                        : QString();
        }
        list->setItemText(n, text);
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
        {"Btn_ImportGunMacro", "Btn_ImportGunMacro"}};
    for (const auto& [button, flow] : kFlows) {
        if (name == QLatin1String(button)) {
            // The flows themselves say so when there is no mouse.
            window().RequestFlow(QString::fromLatin1(flow));
            return;
        }
    }
}

}  // namespace velq::ui
