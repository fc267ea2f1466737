#include "flows/ui/page_values.h"

#include <QAbstractButton>
#include <QAbstractSlider>
#include <QComboBox>
#include <QLineEdit>
#include <QSpinBox>
#include <QWidget>

#include <variant>

namespace velq::ui {
namespace {

// One field of the record and the control it belongs to. A radio pair names both buttons: the
// field is true when the first is selected.
struct Binding {
    const char* control;
    const char* partner;  // the other radio button of a pair, or nullptr
    std::variant<int EngineeringValues::*, bool EngineeringValues::*> field;
};

#define INT_FIELD(name)                          \
    Binding {                                    \
#name, nullptr, &EngineeringValues::name \
    }
#define BOOL_FIELD(name)                         \
    Binding {                                    \
#name, nullptr, &EngineeringValues::name \
    }
#define RADIO_PAIR(name, partner)                \
    Binding {                                    \
#name, partner, &EngineeringValues::name \
    }

const Binding kBindings[] = {
    RADIO_PAIR(rb_B4CPIOn, "rb_B4CPIOff"),
    RADIO_PAIR(rb_FireFnOn, "rb_FireFnOff"),
    RADIO_PAIR(rb_LCPIOn, "rb_LCPIOff"),
    RADIO_PAIR(rb_Save, "rb_NoSave"),
    INT_FIELD(cb_SensorOri),
    BOOL_FIELD(cb_MidPress),
    BOOL_FIELD(cb_CPIPress),
    BOOL_FIELD(cb_GunPress),
    BOOL_FIELD(cb_Smooth),
    INT_FIELD(cb_CPIStep),
    INT_FIELD(cb_CPI1),
    INT_FIELD(cb_CPI2),
    INT_FIELD(cb_CPI3),
    INT_FIELD(cb_CPI4),
    INT_FIELD(cb_CPI5),
    INT_FIELD(cb_CPI6),
    INT_FIELD(cb_CPI7),
    INT_FIELD(edt_CPI1R),
    INT_FIELD(edt_CPI1G),
    INT_FIELD(edt_CPI1B),
    INT_FIELD(edt_CPI2R),
    INT_FIELD(edt_CPI2G),
    INT_FIELD(edt_CPI2B),
    INT_FIELD(edt_CPI3R),
    INT_FIELD(edt_CPI3G),
    INT_FIELD(edt_CPI3B),
    INT_FIELD(edt_CPI4R),
    INT_FIELD(edt_CPI4G),
    INT_FIELD(edt_CPI4B),
    INT_FIELD(edt_CPI5R),
    INT_FIELD(edt_CPI5G),
    INT_FIELD(edt_CPI5B),
    INT_FIELD(edt_CPI6R),
    INT_FIELD(edt_CPI6G),
    INT_FIELD(edt_CPI6B),
    INT_FIELD(edt_CPI7R),
    INT_FIELD(edt_CPI7G),
    INT_FIELD(edt_CPI7B),
    INT_FIELD(cb_CurrentCPI),
    RADIO_PAIR(rb_MCULED3Control, "rb_MCULED6Control"),
    INT_FIELD(edt_MCULEDNum),
    BOOL_FIELD(cb_Mode1),
    BOOL_FIELD(cb_Mode2),
    BOOL_FIELD(cb_Mode3),
    BOOL_FIELD(cb_Mode4),
    BOOL_FIELD(cb_Mode5),
    BOOL_FIELD(cb_Mode6),
    BOOL_FIELD(cb_Mode7),
    INT_FIELD(cb_MCULEDCurrentMode),
    INT_FIELD(cb_RBLEDCurrentMode),
    INT_FIELD(edt_MCULEDCrtStep),
    RADIO_PAIR(rb_LEDOn, "rb_LEDOff"),
    INT_FIELD(cb_KeyMode),
    INT_FIELD(edt_VendorID),
    INT_FIELD(edt_ProductID),
    BOOL_FIELD(cb_IsFireContinue),
    INT_FIELD(cb_FireCount),
    INT_FIELD(edt_FireTime),
    INT_FIELD(edt_YOffset1),
    INT_FIELD(edt_YOffset2),
    INT_FIELD(edt_YOffset3),
    INT_FIELD(edt_YOffset4),
    INT_FIELD(edt_YOffset5),
    INT_FIELD(edt_YOffset6),
    INT_FIELD(edt_YOffset7),
    INT_FIELD(edt_YOffset8),
    INT_FIELD(edt_YOffset9),
    INT_FIELD(edt_YOffset10),
    INT_FIELD(edt_FireMacroColor1R),
    INT_FIELD(edt_FireMacroColor1G),
    INT_FIELD(edt_FireMacroColor1B),
    INT_FIELD(edt_FireMacroColor2R),
    INT_FIELD(edt_FireMacroColor2G),
    INT_FIELD(edt_FireMacroColor2B),
    INT_FIELD(edt_FireMacroColor3R),
    INT_FIELD(edt_FireMacroColor3G),
    INT_FIELD(edt_FireMacroColor3B),
    INT_FIELD(edt_FireMacroColor4R),
    INT_FIELD(edt_FireMacroColor4G),
    INT_FIELD(edt_FireMacroColor4B),
    INT_FIELD(edt_FireMacroColor5R),
    INT_FIELD(edt_FireMacroColor5G),
    INT_FIELD(edt_FireMacroColor5B),
    INT_FIELD(edt_FireMacroColor6R),
    INT_FIELD(edt_FireMacroColor6G),
    INT_FIELD(edt_FireMacroColor6B),
    INT_FIELD(edt_FireMacroColor7R),
    INT_FIELD(edt_FireMacroColor7G),
    INT_FIELD(edt_FireMacroColor7B),
    INT_FIELD(edt_FireMacroColor8R),
    INT_FIELD(edt_FireMacroColor8G),
    INT_FIELD(edt_FireMacroColor8B),
    INT_FIELD(edt_FireMacroColor9R),
    INT_FIELD(edt_FireMacroColor9G),
    INT_FIELD(edt_FireMacroColor9B),
    INT_FIELD(edt_FireMacroColor10R),
    INT_FIELD(edt_FireMacroColor10G),
    INT_FIELD(edt_FireMacroColor10B),
};

#undef INT_FIELD
#undef BOOL_FIELD
#undef RADIO_PAIR

// The lighting type's four radio buttons, in the order of the enumeration.
const char* const kLedTypeButtons[] = {"rb_MCULED", "rb_RBLED", "rb_SyncLED", "rb_BreLED"};

QWidget* Find(const QWidget& window, const char* name) {
    return window.findChild<QWidget*>(QString::fromLatin1(name));
}

bool ReadInt(const QWidget* widget, int& value) {
    if (const auto* combo = qobject_cast<const QComboBox*>(widget)) {
        value = combo->currentIndex();
        return true;
    }
    if (const auto* spin = qobject_cast<const QSpinBox*>(widget)) {
        value = spin->value();
        return true;
    }
    if (const auto* slider = qobject_cast<const QAbstractSlider*>(widget)) {
        value = slider->value();
        return true;
    }
    if (const auto* edit = qobject_cast<const QLineEdit*>(widget)) {
        bool ok = false;
        const int number = edit->text().trimmed().toInt(&ok);
        if (ok) {
            value = number;
        }
        return ok;
    }
    return false;
}

void ShowInt(QWidget* widget, int value) {
    if (auto* combo = qobject_cast<QComboBox*>(widget)) {
        combo->setCurrentIndex(value < combo->count() ? value : -1);
    } else if (auto* spin = qobject_cast<QSpinBox*>(widget)) {
        spin->setValue(value);
    } else if (auto* slider = qobject_cast<QAbstractSlider*>(widget)) {
        slider->setValue(value);
    } else if (auto* edit = qobject_cast<QLineEdit*>(widget)) {
        edit->setText(QString::number(value));
    }
}

}  // namespace

void ReadPageValues(const QWidget& window, EngineeringValues& values) {
    for (const Binding& b : kBindings) {
        const QWidget* widget = Find(window, b.control);
        if (widget == nullptr) {
            continue;
        }
        if (auto* field = std::get_if<int EngineeringValues::*>(&b.field)) {
            int value = values.**field;
            if (ReadInt(widget, value)) {
                values.** field = value;
            }
        } else if (const auto* button = qobject_cast<const QAbstractButton*>(widget)) {
            values.*std::get<bool EngineeringValues::*>(b.field) = button->isChecked();
        }
    }
    for (int i = 0; i < 4; ++i) {
        const auto* button = qobject_cast<const QAbstractButton*>(Find(window, kLedTypeButtons[i]));
        if (button != nullptr && button->isChecked()) {
            values.gbLEDType = static_cast<LedType>(i);
        }
    }
}

void ShowPageValues(QWidget& window, const EngineeringValues& values) {
    for (const Binding& b : kBindings) {
        QWidget* widget = Find(window, b.control);
        if (widget == nullptr) {
            continue;
        }
        if (auto* field = std::get_if<int EngineeringValues::*>(&b.field)) {
            ShowInt(widget, values.**field);
            continue;
        }
        const bool on = values.*std::get<bool EngineeringValues::*>(b.field);
        if (auto* button = qobject_cast<QAbstractButton*>(widget)) {
            button->setChecked(on);
        }
        if (b.partner != nullptr) {
            if (auto* partner = qobject_cast<QAbstractButton*>(Find(window, b.partner))) {
                partner->setChecked(!on);
            }
        }
    }
    const int led = static_cast<int>(values.gbLEDType);
    for (int i = 0; i < 4; ++i) {
        if (auto* button = qobject_cast<QAbstractButton*>(Find(window, kLedTypeButtons[i]))) {
            button->setChecked(i == led);
        }
    }
}

std::vector<const char*> PageValueControls() {
    std::vector<const char*> names;
    for (const Binding& b : kBindings) {
        names.push_back(b.control);
        if (b.partner != nullptr) {
            names.push_back(b.partner);
        }
    }
    names.insert(names.end(), std::begin(kLedTypeButtons), std::end(kLedTypeButtons));
    return names;
}

}  // namespace velq::ui
