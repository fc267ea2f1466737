#include "config/ui/page_values.h"

#include <QAbstractButton>
#include <QAbstractSlider>
#include <QComboBox>
#include <QLineEdit>
#include <QRegularExpressionValidator>
#include <QSpinBox>
#include <QWidget>

#include <algorithm>
#include <array>
#include <functional>
#include <optional>
#include <string>

#include "buttons/number_fields.h"
#include "config/config_codec.h"
#include "config/config_edits.h"
#include "settings/level_rules.h"

namespace velq::ui {
namespace {

using Config = MouseConfig;
constexpr int kNone = -1;  // a list showing no entry

// A number control (list position, field or slider) and the setting it shows. `show` gives
// what the control shows (kNone: no entry); `take` stores what it shows, and is not called
// when it shows nothing valid.
struct NumberBinding {
    std::string control;
    std::function<int(const Config&)> show;
    std::function<void(Config&, int)> take;
};

// A check box, or a radio pair whose first button is selected when the setting is true.
struct FlagBinding {
    const char* control;
    const char* partner;  // the other radio button of a pair, or nullptr
    std::function<bool&(Config&)> field;
};

// A list position `position` of a list of `count` entries, or kNone.
int PositionIn(int value, int count) {
    return value >= 0 && value < count ? value : kNone;
}

// The levels `cb_CurrentCPI` lists: those in use, or all seven for a count out of range.
int LevelsListed(const Config& c) {
    return c.dpi.count >= kMinLevelCount && c.dpi.count <= kDpiLevels ? c.dpi.count : kDpiLevels;
}

uint8_t Byte(int value) {
    return static_cast<uint8_t>(std::clamp(value, 0, 0xFF));
}

bool IsLight(const Config& c, LightType type) {
    return c.lighting.type == type;
}

// The three fields `stem`R, `stem`G, `stem`B of a colour; `colour_of` finds the colour in a
// configuration, const or not.
template <class ColourOf>
void AddColour(std::vector<NumberBinding>& bindings, const std::string& stem, ColourOf colour_of) {
    constexpr std::array<uint8_t Colour::*, 3> kComponents = {&Colour::r, &Colour::g, &Colour::b};
    for (std::size_t c = 0; c < 3; ++c) {
        const auto component = kComponents[c];
        bindings.push_back({stem + "RGB"[c],
                            [colour_of, component](const Config& config) {
                                return int{colour_of(config).*component};
                            },
                            [colour_of, component](Config& config, int v) {
                                colour_of(config).*component = Byte(v);
                            }});
    }
}

std::vector<NumberBinding> MakeNumberBindings() {
    std::vector<NumberBinding> bindings = {
        {"cb_SensorOri",
         [](const Config& c) { return PositionIn(c.options.sensor_orientation, 8); },
         [](Config& c, int v) { c.options.sensor_orientation = static_cast<uint8_t>(v); }},
        {"cb_CPIStep",
         [](const Config& c) {
             return PositionIn(c.dpi.count - kMinLevelCount, kDpiLevels - kMinLevelCount + 1);
         },
         [](Config& c, int v) { c.dpi.count = static_cast<uint8_t>(v + kMinLevelCount); }},
        // `cb_CurrentCPI` lists the levels in use only, and a level out of use never becomes
        // the current one (the count is taken before it).
        {"cb_CurrentCPI",
         [](const Config& c) { return PositionIn(c.dpi.current, LevelsListed(c)); },
         [](Config& c, int v) {
             if (v < LevelsListed(c)) {
                 c.dpi.current = static_cast<uint8_t>(v);
             }
         }},
        {"edt_MCULEDNum",
         [](const Config& c) {
             return c.lighting.lamps >= kMinLamps && c.lighting.lamps <= kMaxLamps
                        ? c.lighting.lamps
                        : kNone;
         },
         [](Config& c, int v) {
             if (v >= kMinLamps && v <= kMaxLamps) {
                 c.lighting.lamps = v;
             }
         }},
        // The current mode belongs to the list of the light type that has it.
        {"cb_MCULEDCurrentMode",
         [](const Config& c) {
             return IsLight(c, LightType::kFlowing) ? PositionIn(c.lighting.mode - 1, 7) : kNone;
         },
         [](Config& c, int v) {
             if (IsLight(c, LightType::kFlowing)) {
                 c.lighting.mode = static_cast<uint8_t>(v + 1);
             }
         }},
        {"cb_RBLEDCurrentMode",
         [](const Config& c) {
             return IsLight(c, LightType::kTwoColour) ? PositionIn(c.lighting.mode - 1, 7) : kNone;
         },
         [](Config& c, int v) {
             if (IsLight(c, LightType::kTwoColour)) {
                 c.lighting.mode = static_cast<uint8_t>(v + 1);
             }
         }},
        {"edt_MCULEDCrtStep",
         [](const Config& c) { return IsLight(c, LightType::kFlowing) ? c.lighting.step : kNone; },
         [](Config& c, int v) {
             if (IsLight(c, LightType::kFlowing)) {
                 c.lighting.step = static_cast<uint8_t>(std::clamp(v, 0, 7));
             }
         }},
        {"cb_KeyMode", [](const Config& c) { return PositionIn(c.key_mode, 2); },
         [](Config& c, int v) { c.key_mode = static_cast<uint8_t>(v); }},
        {"edt_VendorID", [](const Config& c) { return int{c.vendor_code}; },
         [](Config& c, int v) { c.vendor_code = Byte(v); }},
        {"edt_ProductID", [](const Config& c) { return int{c.product_code}; },
         [](Config& c, int v) { c.product_code = Byte(v); }},
        // The count list's last entry, "256", is the stored 0xFF: repeat while held.
        {"cb_FireCount", [](const Config& c) { return FireCountPosition(c.fire_key); },
         [](Config& c, int v) {
             if (v == kWhileHeldCountPosition) {
                 c.fire_key.while_held = true;
             } else {
                 SetFireClicks(c, v + 1);
             }
         }},
        {"edt_FireTime", [](const Config& c) { return int{c.fire_key.interval}; },
         [](Config& c, int v) { c.fire_key.interval = Byte(v); }},
        {"cb_AIMKeyValue", [](const Config& c) { return PositionIn(c.aim_dpi, kDpiValueCount); },
         [](Config& c, int v) { static_cast<void>(ChooseAimDpi(c, static_cast<uint8_t>(v))); }},
    };
    for (std::size_t l = 0; l < kDpiLevels; ++l) {
        const std::string level = std::to_string(l + 1);
        bindings.push_back(
            {"cb_CPI" + level,
             [l](const Config& c) { return PositionIn(c.dpi.levels[l].value, kDpiValueCount); },
             [l](Config& c, int v) { c.dpi.levels[l].value = static_cast<uint8_t>(v); }});
        AddColour(
            bindings, "edt_CPI" + level, [l](auto& c) -> auto& { return c.dpi.levels[l].colour; });
    }
    for (std::size_t s = 0; s < kFireSlots; ++s) {
        const std::string slot = std::to_string(s + 1);
        bindings.push_back(
            {"edt_YOffset" + slot, [s](const Config& c) { return int{c.fire_slots[s].y_adjust}; },
             [s](Config& c, int v) {
                 c.fire_slots[s].y_adjust = static_cast<int8_t>(std::clamp(v, -128, 127));
             }});
        AddColour(
            bindings,
            "edt_FireMacroColor" + slot, [s](auto& c) -> auto& { return c.fire_slots[s].colour; });
    }
    return bindings;
}

const std::vector<NumberBinding>& NumberBindings() {
    static const std::vector<NumberBinding> bindings = MakeNumberBindings();
    return bindings;
}

const std::vector<FlagBinding>& FlagBindings() {
    static const std::vector<FlagBinding> bindings = [] {
        std::vector<FlagBinding> b = {
            {"rb_B4CPIOn", "rb_B4CPIOff",
             [](Config& c) -> bool& { return c.options.led_switch_keys; }},
            {"rb_FireFnOn", "rb_FireFnOff",
             [](Config& c) -> bool& { return c.options.gun_function; }},
            {"rb_LCPIOn", "rb_LCPIOff", [](Config& c) -> bool& { return c.options.led_mode_keys; }},
            {"rb_Save", "rb_NoSave",
             [](Config& c) -> bool& { return c.options.remember_key_mode; }},
            {"cb_MidPress", nullptr,
             [](Config& c) -> bool& { return c.options.middle_long_press; }},
            {"cb_CPIPress", nullptr, [](Config& c) -> bool& { return c.options.dpi_long_press; }},
            {"cb_GunPress", nullptr, [](Config& c) -> bool& { return c.options.gun_long_press; }},
            {"cb_Smooth", nullptr, [](Config& c) -> bool& { return c.options.smoothing; }},
            {"rb_MCULED3Control", "rb_MCULED6Control",
             [](Config& c) -> bool& { return c.lighting.full_brightness; }},
            {"rb_LEDOn", "rb_LEDOff", [](Config& c) -> bool& { return c.lighting.on; }},
            {"cb_IsFireContinue", nullptr,
             [](Config& c) -> bool& { return c.fire_key.while_held; }},
        };
        static const char* const kModes[] = {"cb_Mode1", "cb_Mode2", "cb_Mode3", "cb_Mode4",
                                             "cb_Mode5", "cb_Mode6", "cb_Mode7"};
        for (std::size_t n = 0; n < 7; ++n) {
            b.push_back({kModes[n], nullptr,
                         [n](Config& c) -> bool& { return c.lighting.modes_offered[n]; }});
        }
        return b;
    }();
    return bindings;
}

// The light type's four radio buttons, in the order of the enumeration.
const char* const kLightTypeButtons[] = {"rb_MCULED", "rb_RBLED", "rb_SyncLED", "rb_BreLED"};

QWidget* Find(const ControlLookup& control, const std::string& name) {
    return control(QString::fromStdString(name));
}

std::optional<int> ReadNumber(const QWidget* widget) {
    if (const auto* combo = qobject_cast<const QComboBox*>(widget)) {
        return combo->currentIndex() >= 0 ? std::optional<int>(combo->currentIndex())
                                          : std::nullopt;
    }
    if (const auto* spin = qobject_cast<const QSpinBox*>(widget)) {
        return spin->value();
    }
    if (const auto* slider = qobject_cast<const QAbstractSlider*>(widget)) {
        return slider->value();
    }
    if (const auto* edit = qobject_cast<const QLineEdit*>(widget)) {
        bool ok = false;
        const int number = edit->text().trimmed().toInt(&ok);
        return ok ? std::optional<int>(number) : std::nullopt;
    }
    return std::nullopt;
}

void ShowNumber(QWidget* widget, int value) {
    if (auto* combo = qobject_cast<QComboBox*>(widget)) {
        combo->setCurrentIndex(value >= 0 && value < combo->count() ? value : -1);
    } else if (value == kNone) {
        return;  // a field or slider keeps what it showed
    } else if (auto* spin = qobject_cast<QSpinBox*>(widget)) {
        spin->setValue(value);
    } else if (auto* slider = qobject_cast<QAbstractSlider*>(widget)) {
        slider->setValue(value);
    } else if (auto* edit = qobject_cast<QLineEdit*>(widget)) {
        // A field being typed in that already stands for the value keeps its text ("05") and
        // its cursor.
        bool ok = false;
        if (edit->text().trimmed().toInt(&ok) != value || !ok) {
            edit->setText(QString::number(value));
        }
    }
}

}  // namespace

void ReadPageValues(const ControlLookup& window, MouseConfig& config) {
    // The light type first: the mode and step controls belong to it.
    for (int i = 0; i < 4; ++i) {
        const auto* button =
            qobject_cast<const QAbstractButton*>(Find(window, kLightTypeButtons[i]));
        if (button != nullptr && button->isChecked()) {
            config.lighting.type = static_cast<LightType>(i);
        }
    }
    for (const FlagBinding& b : FlagBindings()) {
        if (const auto* button = qobject_cast<const QAbstractButton*>(Find(window, b.control))) {
            b.field(config) = button->isChecked();
        }
    }
    for (const NumberBinding& b : NumberBindings()) {
        if (const std::optional<int> value = ReadNumber(Find(window, b.control))) {
            // A control that still shows what the configuration holds changes nothing, so a
            // value with no control state of its own (a level's 0xFF) stays as stored.
            if (*value != b.show(config)) {
                b.take(config, *value);
            }
        }
    }
}

void ShowPageValues(const ControlLookup& window, const MouseConfig& config) {
    MouseConfig shown = config;
    for (const FlagBinding& b : FlagBindings()) {
        const bool on = b.field(shown);
        if (auto* button = qobject_cast<QAbstractButton*>(Find(window, b.control))) {
            button->setChecked(on);
        }
        if (b.partner != nullptr) {
            if (auto* partner = qobject_cast<QAbstractButton*>(Find(window, b.partner))) {
                partner->setChecked(!on);
            }
        }
    }
    for (const NumberBinding& b : NumberBindings()) {
        if (QWidget* widget = Find(window, b.control)) {
            ShowNumber(widget, b.show(config));
        }
    }
    const int type = static_cast<int>(config.lighting.type);
    for (int i = 0; i < 4; ++i) {
        if (auto* button = qobject_cast<QAbstractButton*>(Find(window, kLightTypeButtons[i]))) {
            button->setChecked(i == type);
        }
    }
}

namespace {

using TextRule = std::string (*)(const std::string&);

std::string LampTextWhileTyping(const std::string& text) {
    return CorrectLampText(text, false);
}

std::string LampTextOnLeaving(const std::string& text) {
    return CorrectLampText(text, true);
}

std::string FactoryFireWaitText(const std::string& text) {
    return CorrectFactoryFireWaitText(text);
}

std::string DeviceCodeText(const std::string& text) {
    return CorrectDeviceCodeText(text);
}

// The correction rule of a number field, by the start of its name; nullptr for a field that
// takes its text as typed.
TextRule RuleOf(const std::string& name) {
    static const std::pair<const char*, TextRule> kRules[] = {
        {"edt_CPI", &CorrectColourText},         {"edt_FireMacroColor", &CorrectColourText},
        {"edt_MCULEDCrtStep", &CorrectStepText}, {"edt_MCULEDNum", &LampTextWhileTyping},
        {"edt_FireTime", &FactoryFireWaitText},  {"edt_VendorID", &DeviceCodeText},
        {"edt_ProductID", &DeviceCodeText},
    };
    for (const auto& [stem, rule] : kRules) {
        if (name.starts_with(stem)) {
            return rule;
        }
    }
    return nullptr;
}

// Puts a field's text through `rule`, in place, when that changes it.
void Correct(QLineEdit& field, TextRule rule) {
    const QString corrected = QString::fromStdString(rule(field.text().toStdString()));
    if (corrected != field.text()) {
        field.setText(corrected);
    }
}

}  // namespace

void ConnectPageValueEdits(const ControlLookup& window, QObject& context,
                           const std::function<void(const QString&)>& edited) {
    // A radio button chosen leaves the others of its set: the pairs, and the light types.
    std::vector<std::vector<QAbstractButton*>> sets;
    for (const FlagBinding& b : FlagBindings()) {
        if (b.partner != nullptr) {
            sets.push_back({qobject_cast<QAbstractButton*>(Find(window, b.control)),
                            qobject_cast<QAbstractButton*>(Find(window, b.partner))});
        }
    }
    sets.emplace_back();
    for (const char* name : kLightTypeButtons) {
        sets.back().push_back(qobject_cast<QAbstractButton*>(Find(window, name)));
    }
    for (const std::vector<QAbstractButton*>& set : sets) {
        for (QAbstractButton* button : set) {
            if (button == nullptr) {
                continue;
            }
            // Connected before the edit is reported, so the set is settled by then.
            QObject::connect(button, &QAbstractButton::clicked, &context, [set, button] {
                for (QAbstractButton* other : set) {
                    if (other != nullptr) {
                        other->setChecked(other == button);
                    }
                }
            });
        }
    }
    for (const char* name : PageValueControls()) {
        QWidget* widget = Find(window, name);
        const QString control = QString::fromLatin1(name);
        if (auto* combo = qobject_cast<QComboBox*>(widget)) {
            QObject::connect(combo, &QComboBox::activated, &context,
                             [edited, control] { edited(control); });
        } else if (auto* button = qobject_cast<QAbstractButton*>(widget)) {
            QObject::connect(button, &QAbstractButton::clicked, &context,
                             [edited, control] { edited(control); });
        } else if (auto* field = qobject_cast<QLineEdit*>(widget)) {
            const TextRule rule = RuleOf(name);
            if (rule == nullptr) {
                QObject::connect(field, &QLineEdit::textEdited, &context,
                                 [edited, control] { edited(control); });
                continue;
            }
            field->setValidator(new QRegularExpressionValidator(
                QRegularExpression(QStringLiteral("[0-9]*")), field));
            QObject::connect(field, &QLineEdit::textEdited, &context,
                             [field, rule, edited, control] {
                                 Correct(*field, rule);
                                 edited(control);
                             });
            if (rule == &LampTextWhileTyping) {
                // A lone "1" may still become 10 .. 13 while typing, not once the field is left.
                QObject::connect(field, &QLineEdit::editingFinished, &context,
                                 [field, edited, control] {
                                     const QString before = field->text();
                                     Correct(*field, &LampTextOnLeaving);
                                     if (field->text() != before) {
                                         edited(control);
                                     }
                                 });
            }
        }
    }
}

std::vector<const char*> PageValueControls() {
    std::vector<const char*> names;
    for (const FlagBinding& b : FlagBindings()) {
        names.push_back(b.control);
        if (b.partner != nullptr) {
            names.push_back(b.partner);
        }
    }
    for (const NumberBinding& b : NumberBindings()) {
        names.push_back(b.control.c_str());
    }
    names.insert(names.end(), std::begin(kLightTypeButtons), std::end(kLightTypeButtons));
    return names;
}

}  // namespace velq::ui
