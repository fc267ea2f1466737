#include "buttons/ui/buttons_page.h"

#include <QComboBox>
#include <QLabel>

#include "buttons/ui/function_menus.h"
#include "config/ui/page_values.h"
#include "shell/ui/main_window.h"

namespace velq::ui {

ButtonsPage::ButtonsPage(MainWindow& window) : WindowPart(window, kOfficePart) {}

void ButtonsPage::Built() {
    // The long-press options' check pictures answer clicks as their captions do.
    for (int n = 1; n <= 3; ++n) {
        ClickThrough(QStringLiteral("Img_ComboKey%1").arg(n),
                     QStringLiteral("IB_ComboKey%1").arg(n));
    }
    // The first page is built with the window; its menus may come later.
    if (auto* menus = window().PageOf<FunctionMenus>()) {
        connect(menus, &FunctionMenus::fireMacroAsked, this, [this] { window().ShowFirePage(); });
    }
}

int ButtonsPage::ButtonOf(const QString& name) {
    if (name.size() != 4 || !name.startsWith(QStringLiteral("Key"))) {
        return 0;
    }
    const int button = name.at(3).digitValue();
    return button >= 1 && button <= 9 ? button : 0;
}

bool ButtonsPage::LabelClicked(const QString& name) {
    // The long-press options: the middle-button and DPI-button presses exclude each other,
    // the gun key's combines with either.
    if (name.startsWith(QStringLiteral("IB_ComboKey"))) {
        const int option = name.right(1).toInt();
        window().ChangeConfig([option](MouseConfig& config) {
            OptionsConfig& o = config.options;
            if (option == 1) {
                o.middle_long_press = !o.middle_long_press;
                o.dpi_long_press = o.dpi_long_press && !o.middle_long_press;
            } else if (option == 2) {
                o.dpi_long_press = !o.dpi_long_press;
                o.middle_long_press = o.middle_long_press && !o.dpi_long_press;
            } else if (option == 3) {
                o.gun_long_press = !o.gun_long_press;
            }
        });
        return true;
    }
    const int button = ButtonOf(name);
    if (button == 0) {
        return false;
    }
    if (auto* menus = window().PageOf<FunctionMenus>()) {
        menus->OpenForLabel(button);
    }
    return true;
}

bool ButtonsPage::LabelEntered(const QString& name) {
    const int button = ButtonOf(name);
    if (button == 0) {
        return false;
    }
    ShowKeyPicture(button, QStringLiteral("KeyS_02"));
    window().StartRolling(name);
    return true;
}

bool ButtonsPage::LabelLeft(const QString& name) {
    const int button = ButtonOf(name);
    if (button == 0) {
        return false;
    }
    window().StopRolling();
    ShowKeyPicture(button, QStringLiteral("KeyS_01"));
    return true;
}

void ButtonsPage::ShowKeyPicture(int button, const QString& picture) {
    // The layout gives the key's picture the label's width, which leaves the picture's end (and
    // the page's connector under it) uncovered; a new picture keeps that width.
    static_cast<void>(SetPictureKeepingSize(QStringLiteral("Img_Key%1").arg(button), picture));
}

void ButtonsPage::ShowConfig(const MouseConfig& config) {
    ShowPageValues([this](const QString& name) { return OwnControl(name); }, config);
    // A mouse that does not remember its key mode always starts in mode 1.
    if (QWidget* key_mode = Control(QStringLiteral("cb_KeyMode"))) {
        key_mode->setEnabled(config.options.remember_key_mode);
    }
    NameButtons(config);
    const bool ticked[] = {config.options.middle_long_press, config.options.dpi_long_press,
                           config.options.gun_long_press};
    for (int n = 1; n <= 3; ++n) {
        static_cast<void>(
            SetPicture(QStringLiteral("Img_ComboKey%1").arg(n),
                       ticked[n - 1] ? QStringLiteral("CbS_E") : QStringLiteral("CbS_D")));
    }
}

void ButtonsPage::CollectConfig(MouseConfig& config) const {
    ReadPageValues([this](const QString& name) { return OwnControl(name); }, config);
    // The buttons' functions the user chose in the menus, on this page or the factory page's,
    // and the long-press options ticked here (the factory page's boxes, collected after this
    // page, show the same unless changed there since).
    if (window().config_shown()) {
        const MouseConfig& shown = window().shown_config();
        config.office = shown.office;
        config.gaming = shown.gaming;
        config.options.middle_long_press = shown.options.middle_long_press;
        config.options.dpi_long_press = shown.options.dpi_long_press;
        config.options.gun_long_press = shown.options.gun_long_press;
    }
}

void ButtonsPage::NameButtons(const MouseConfig& config) {
    const MainWindow::FunctionNamer& name_of = window().function_namer();
    if (!name_of) {
        return;
    }
    const ProfileButtons& codes =
        window().current_page() == Page::kGaming ? config.gaming : config.office;
    for (int b = 0; b < kButtonsPerProfile; ++b) {
        if (auto* label = qobject_cast<QLabel*>(Control(QStringLiteral("Key%1").arg(b + 1)))) {
            label->setText(name_of(codes[static_cast<size_t>(b)]));
        }
    }
}

void ButtonsPage::Arrange() {
    FitKeyLabels();
    // The combo-key options' captions stand level with their check pictures.
    for (int n = 1; n <= 3; ++n) {
        QWidget* caption = Control(QStringLiteral("IB_ComboKey%1").arg(n));
        const QWidget* box = Control(QStringLiteral("Img_ComboKey%1").arg(n));
        if (caption != nullptr && box != nullptr) {
            caption->move(caption->x(), box->y() + (box->height() - caption->height()) / 2);
        }
    }
    NameButtons(window().shown_config());  // in the language just applied
}

void ButtonsPage::FitKeyLabels() {
    // A button slot's caption stands centred on its slot picture, which is taller than a line
    // of text.
    for (int n = 1; n <= 9; ++n) {
        auto* label = qobject_cast<QLabel*>(Control(QStringLiteral("Key%1").arg(n)));
        const QWidget* picture = Control(QStringLiteral("Img_Key%1").arg(n));
        if (label == nullptr || picture == nullptr) {
            continue;
        }
        label->setGeometry(label->x(), picture->y(), label->width(), picture->height());
        label->setAlignment(Qt::AlignCenter);
    }
}

void ButtonsPage::Opened(Page page) {
    const OrgSettings& org = window().org();
    const bool gaming = page == Page::kGaming;
    if (auto* key_mode = qobject_cast<QComboBox*>(Control(QStringLiteral("cb_KeyMode")))) {
        key_mode->setCurrentIndex(gaming ? 1 : 0);
    }
    if (auto* menus = window().PageOf<FunctionMenus>()) {
        menus->SetMainPanelHeight(gaming && org.gun_display ? org.main_panel_height_with_gun
                                                            : org.main_panel_height_without_gun);
    }
    // The third combo key belongs to the gaming profile, where the layout permits it.
    const bool combo3 = gaming && window().style().combo_key3_permitted && org.gun_display;
    for (const QString name : {"Img_ComboKey3", "IB_ComboKey3"}) {
        if (QWidget* widget = Control(name)) {
            widget->setVisible(combo3);
        }
    }
    NameButtons(window().shown_config());
}

}  // namespace velq::ui
