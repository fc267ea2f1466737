#include "settings/ui/light_page.h"

#include <QFontMetrics>
#include <QLabel>
#include <QSlider>
#include <QWidget>

#include <algorithm>
#include <functional>
#include <utility>

#include "config/config_codec.h"
#include "config/config_edits.h"
#include "settings/slider_snap.h"
#include "settings/ui/snap_slider.h"
#include "shell/ui/main_window.h"

namespace velq::ui {
namespace {

constexpr int kModes = 7;
constexpr int kLampSegments = kMaxLamps - kMinLamps + 1;  // segment k stands for k + 3 lamps
constexpr int kStepSegments = 8;                          // segment k stands for step k - 1

QString Numbered(const char* stem, int n) {
    return QString::fromLatin1(stem) + QString::number(n);
}

// The option pairs of the page: the first picture stands for the setting being on.
struct OptionPair {
    const char* on;
    const char* off;
    bool& (*field)(MouseConfig&);
};

constexpr OptionPair kPairs[] = {
    {"LEDOn", "LEDOff", [](MouseConfig& c) -> bool& { return c.lighting.on; }},
    {"B4CPIOn", "B4CPIOff", [](MouseConfig& c) -> bool& { return c.options.led_switch_keys; }},
    {"LCPIOn", "LCPIOff", [](MouseConfig& c) -> bool& { return c.options.led_mode_keys; }},
    {"SaveKeyMode", "NoSaveKeyMode",
     [](MouseConfig& c) -> bool& { return c.options.remember_key_mode; }},
    {"MCULED3Control", "MCULED6Control",
     [](MouseConfig& c) -> bool& { return c.lighting.full_brightness; }},
};

// The page's controls of each group whose showing follows the lighting type.
void ForEachGroupControl(const LightGroups& groups,
                         const std::function<void(const QString&, bool)>& f) {
    for (const char* name :
         {"Img_LCPIOn", "lbl_LCPIOn", "Img_LCPIOff", "lbl_LCPIOff", "lbl_LLED_Status"}) {
        f(QString::fromLatin1(name), groups.left_dpi_keys);
    }
    for (const char* name : {"Img_MCULED3Control", "lbl_MCULED3Control", "Img_MCULED6Control",
                             "lbl_MCULED6Control", "lbl_Led_Light"}) {
        f(QString::fromLatin1(name), groups.brightness);
    }
    for (const char* name : {"slider_Breath_Speed", "lbl_LED_Effect_Setting", "lbl_LED_Effect_Slow",
                             "lbl_LED_Effect_Fast"}) {
        f(QString::fromLatin1(name), groups.step_and_lamps);
    }
    for (int k = 1; k <= kLampSegments; ++k) {
        f(Numbered("Img_MCULEDNum_", k), groups.step_and_lamps);
        f(Numbered("lbl_MCULEDNum_", k), groups.step_and_lamps);
    }
    f(QStringLiteral("lbl_Led_Mode"), groups.flowing_modes || groups.two_colour_modes);
}

// A caption wider than the column it stands in gets a smaller font, down to a size still read
// comfortably, rather than being cut.
void FitCaptionToWidth(QLabel& caption) {
    constexpr int kSmallestPointSize = 7;
    // The layout gives the caption its size again with every language.
    QFont font = caption.font();
    while (QFontMetrics(font).horizontalAdvance(caption.text()) > caption.width() &&
           font.pointSize() > kSmallestPointSize) {
        font.setPointSize(font.pointSize() - 1);
    }
    caption.setFont(font);
}

}  // namespace

LightPage::LightPage(MainWindow& window) : WindowPart(window, kLightPart) {}

void LightPage::Built() {
    for (const OptionPair& pair : kPairs) {
        for (const char* option : {pair.on, pair.off}) {
            const QString picture = QStringLiteral("Img_") + QString::fromLatin1(option);
            ClickThrough(picture, picture);
        }
    }
    for (int n = 1; n <= kModes; ++n) {
        ClickThrough(Numbered("Img_MCULEDMode", n), Numbered("Img_MCULEDMode", n));
        ClickThrough(Numbered("Img_RBLEDMode", n), Numbered("Img_RBLEDMode", n));
    }
    for (int k = 1; k <= kLampSegments; ++k) {
        ClickThrough(Numbered("Img_MCULEDNum_", k), Numbered("Img_MCULEDNum_", k));
    }
    for (int k = 1; k <= kStepSegments; ++k) {
        ClickThrough(Numbered("Img_MCULEDStep_", k), Numbered("Img_MCULEDStep_", k));
    }
    // The lamp row's numbers, 1 to 10 (the layout decides their order on screen).
    for (int k = 1; k <= kLampSegments; ++k) {
        if (auto* label = qobject_cast<QLabel*>(Control(Numbered("lbl_MCULEDNum_", k)))) {
            label->setText(QString::number(k));
        }
    }
    if (auto* slider = qobject_cast<QSlider*>(Control(QStringLiteral("slider_Breath_Speed")))) {
        // Slow on the left: position p stands for step 7 - p.
        speed_slider_ =
            new SnapSlider(*slider, kSpeedSliderTrack, &SpeedSliderSnap, {}, [this](int position) {
                window().ChangeConfig([position](MouseConfig& c) {
                    if (c.lighting.type == LightType::kFlowing) {
                        c.lighting.step =
                            static_cast<uint8_t>(SpeedStepOfSliderValue(position * 100));
                    }
                });
            });
    }
}

void LightPage::ShowConfig(const MouseConfig& config) {
    const LightingConfig& light = config.lighting;
    groups_ = GroupsOfLight(light.type);
    uint8_t flowing = 0;
    if (light.type == LightType::kFlowing) {
        for (std::size_t n = 0; n < light.modes_offered.size(); ++n) {
            flowing = static_cast<uint8_t>(flowing | (light.modes_offered[n] ? 1 << n : 0));
        }
    }

    MouseConfig shown = config;
    for (const OptionPair& pair : kPairs) {
        ShowPair(pair.on, pair.off, pair.field(shown));
    }
    const bool flowing_light = light.type == LightType::kFlowing;
    const bool two_colour = light.type == LightType::kTwoColour;
    for (int n = 1; n <= kModes; ++n) {
        const bool current = n == light.mode;
        static_cast<void>(SetPicture(Numbered("Img_MCULEDMode", n), flowing_light && current
                                                                        ? QStringLiteral("RdS_E")
                                                                        : QStringLiteral("RdS_D")));
        static_cast<void>(SetPicture(Numbered("Img_RBLEDMode", n), two_colour && current
                                                                       ? QStringLiteral("RdS_E")
                                                                       : QStringLiteral("RdS_D")));
    }
    const bool lamps_known = light.lamps >= kMinLamps && light.lamps <= kMaxLamps;
    ShowBar("Img_MCULEDNum_", kLampSegments, lamps_known ? light.lamps - kMinLamps + 1 : 0,
            "Bar1_E", "Bar1_D");
    ShowBar("Img_MCULEDStep_", kStepSegments, light.step + 1, "Bar2_E", "Bar2_D");
    if (speed_slider_ != nullptr && flowing_light) {
        speed_slider_->Show(SpeedSliderValueOfStep(light.step) / 100);
    }
    // Last: showing a picture shows its control, and the groups decide which stay.
    ShowLightingEntries(flowing, two_colour);
}

void LightPage::ShowPair(const char* first, const char* second, bool first_chosen) {
    static_cast<void>(SetPicture(QStringLiteral("Img_") + QString::fromLatin1(first),
                                 first_chosen ? QStringLiteral("RdS_E") : QStringLiteral("RdS_D")));
    static_cast<void>(SetPicture(QStringLiteral("Img_") + QString::fromLatin1(second),
                                 first_chosen ? QStringLiteral("RdS_D") : QStringLiteral("RdS_E")));
}

void LightPage::ShowBar(const char* stem, int segments, int current, const char* lit,
                        const char* unlit) {
    // The marker style lights the current segment only, the filled style every one up to it.
    const bool marker = window().org().dpi_led_marker_style;
    for (int k = 1; k <= segments; ++k) {
        const bool on = marker ? k == current : k <= current;
        static_cast<void>(SetPicture(Numbered(stem, k), QString::fromLatin1(on ? lit : unlit)));
    }
}

bool LightPage::LabelClicked(const QString& name) {
    if (name.startsWith(QStringLiteral("Img_"))) {
        return Choose(name.mid(4));
    }
    if (name.startsWith(QStringLiteral("lbl_"))) {
        return Choose(name.mid(4));
    }
    return false;
}

bool LightPage::Choose(const QString& option) {
    for (const OptionPair& pair : kPairs) {
        const bool on = option == QLatin1String(pair.on);
        if (!on && option != QLatin1String(pair.off)) {
            continue;
        }
        window().ChangeConfig([&pair, on](MouseConfig& c) {
            pair.field(c) = on;
            // The mouse starts in key mode 1 when it does not remember the last one.
            SetRememberKeyMode(c, c.options.remember_key_mode);
        });
        return true;
    }
    const auto numbered = [&option](const char* stem, int last) {
        const QString prefix = QString::fromLatin1(stem);
        if (!option.startsWith(prefix)) {
            return 0;
        }
        bool ok = false;
        const int n = option.mid(prefix.size()).toInt(&ok);
        return ok && n >= 1 && n <= last ? n : 0;
    };
    if (const int n = numbered("MCULEDMode", kModes); n != 0) {
        window().ChangeConfig([n](MouseConfig& c) {
            if (c.lighting.type == LightType::kFlowing) {
                c.lighting.mode = static_cast<uint8_t>(n);
            }
        });
        return true;
    }
    if (const int n = numbered("RBLEDMode", kModes); n != 0) {
        window().ChangeConfig([n](MouseConfig& c) {
            if (c.lighting.type == LightType::kTwoColour) {
                c.lighting.mode = static_cast<uint8_t>(n);
            }
        });
        return true;
    }
    if (const int k = numbered("MCULEDNum_", kLampSegments); k != 0) {
        window().ChangeConfig([k](MouseConfig& c) {
            if (c.lighting.type == LightType::kFlowing) {
                c.lighting.lamps = k + kMinLamps - 1;
            }
        });
        return true;
    }
    if (const int k = numbered("MCULEDStep_", kStepSegments); k != 0) {
        window().ChangeConfig([k](MouseConfig& c) {
            if (c.lighting.type == LightType::kFlowing) {
                c.lighting.step = static_cast<uint8_t>(k - 1);
            }
        });
        return true;
    }
    return false;
}

void LightPage::ShowLightingEntries(uint8_t flowing_modes, bool two_colour) {
    flowing_modes_ = flowing_modes;
    two_colour_entries_ = two_colour;
    if (built()) {
        Arrange();
    }
}

void LightPage::Arrange() {
    // The flowing and the two-colour mode entries share one row of the page: only the lighting
    // type's own entries are on screen, and of the flowing ones only the modes the mouse
    // offers. The layout places them; this decides whether they show.
    for (int n = 1; n <= kModes; ++n) {
        const bool flowing = (flowing_modes_ >> (n - 1) & 1) != 0;
        for (const QString& stem :
             {QStringLiteral("Img_MCULEDMode"), QStringLiteral("lbl_MCULEDMode")}) {
            if (QWidget* widget = Control(stem + QString::number(n))) {
                widget->setVisible(flowing);
            }
        }
        for (const QString& stem :
             {QStringLiteral("Img_RBLEDMode"), QStringLiteral("lbl_RBLEDMode")}) {
            if (QWidget* widget = Control(stem + QString::number(n))) {
                widget->setVisible(two_colour_entries_);
            }
        }
    }
    // The brightness pair's captions have no look of their own in the layout: they take that
    // of the option captions above them.
    if (const QWidget* model = Control(QStringLiteral("lbl_B4CPIOn"))) {
        for (const char* name : {"lbl_MCULED3Control", "lbl_MCULED6Control"}) {
            if (QWidget* label = Control(QString::fromLatin1(name))) {
                label->setPalette(model->palette());
                label->setFont(model->font());
            }
        }
    }
    // Option captions and lamp numbers take the width their text needs (the layout gives
    // their place, not their size); the row captions fit their column.
    for (const OptionPair& pair : kPairs) {
        for (const char* option : {pair.on, pair.off}) {
            if (auto* label = qobject_cast<QLabel*>(
                    Control(QStringLiteral("lbl_") + QString::fromLatin1(option)))) {
                label->resize(label->sizeHint().width(), label->height());
            }
        }
    }
    // The brightness pair's captions have no look of their own in the layout: they take that
    // of the option captions above them.
    if (const QWidget* model = Control(QStringLiteral("lbl_B4CPIOn"))) {
        for (const char* name : {"lbl_MCULED3Control", "lbl_MCULED6Control"}) {
            if (QWidget* label = Control(QString::fromLatin1(name))) {
                label->setPalette(model->palette());
                label->setFont(model->font());
            }
        }
    }
    for (int k = 1; k <= kLampSegments; ++k) {
        if (auto* label = qobject_cast<QLabel*>(Control(Numbered("lbl_MCULEDNum_", k)))) {
            label->resize(label->sizeHint().width(), label->height());
        }
    }
    for (const char* name : {"lbl_LED_Status", "lbl_LLED_Status", "lbl_MCPI_Status",
                             "lbl_Led_Light", "lbl_Led_Mode", "lbl_LED_Effect_Setting"}) {
        if (auto* caption = qobject_cast<QLabel*>(Control(QString::fromLatin1(name)))) {
            FitCaptionToWidth(*caption);
        }
    }
    ForEachGroupControl(groups_, [this](const QString& name, bool shown) {
        if (QWidget* widget = Control(name)) {
            widget->setVisible(shown);
        }
    });
}

}  // namespace velq::ui
