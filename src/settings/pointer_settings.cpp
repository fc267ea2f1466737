#include "settings/pointer_settings.h"

#include <algorithm>
#include <optional>

namespace velq {
namespace {

std::optional<int> Number(const PointerValues& values, PointerKey key) {
    const auto it = values.find(key);
    if (it == values.end()) {
        return std::nullopt;
    }
    return ParseStoredNumber(it->second);
}

bool Has(const PointerValues& values, PointerKey key) {
    return values.count(key) != 0;
}

int ValidPosition(int position) {
    return std::clamp(position, 1, kPointerPositions);
}

}  // namespace

PointerResult PointerSettings::Refresh() {
    if (backend_ == nullptr) {
        return PointerOk();
    }
    PointerValues values;
    if (PointerResult read = backend_->Read(values); !read) {
        return read;
    }
    const bool mouse_group =
        Has(values, PointerKey::kMouseSensitivity) || Has(values, PointerKey::kMouseSpeed) ||
        Has(values, PointerKey::kMouseThreshold1) || Has(values, PointerKey::kMouseThreshold2) ||
        Has(values, PointerKey::kDoubleClickSpeed);
    if (mouse_group) {
        page_.speed = SpeedPositionOfSensitivity(
            Number(values, PointerKey::kMouseSensitivity).value_or(kUnreadableSensitivity));
        page_.precision = Number(values, PointerKey::kMouseSpeed).value_or(0) != 0 ||
                          Number(values, PointerKey::kMouseThreshold1).value_or(0) != 0 ||
                          Number(values, PointerKey::kMouseThreshold2).value_or(0) != 0;
        page_.double_click = DoubleClickPositionOfMs(
            Number(values, PointerKey::kDoubleClickSpeed).value_or(kUnreadableDoubleClickMs));
        touched_ &= ~(kSpeed | kPrecision | kDoubleClick);
    }
    if (Has(values, PointerKey::kWheelScrollLines)) {
        // Text that is no number is no "-1": it reads like any other value out of range.
        const WheelReading wheel =
            WheelOfLines(Number(values, PointerKey::kWheelScrollLines).value_or(kPointerPositions));
        page_.one_screen = wheel.one_screen;
        page_.wheel = wheel.position;
        touched_ &= ~kWheel;
    }
    return PointerOk();
}

PointerResult PointerSettings::SetSpeed(int position) {
    page_.speed = ValidPosition(position);
    return Write(kSpeed);
}

PointerResult PointerSettings::SetPrecision(bool ticked) {
    page_.precision = ticked;
    return Write(kPrecision);
}

PointerResult PointerSettings::SetDoubleClick(int position) {
    page_.double_click = ValidPosition(position);
    return Write(kDoubleClick);
}

PointerResult PointerSettings::SetWheel(int position) {
    page_.wheel = ValidPosition(position);
    return Write(kWheel);
}

PointerResult PointerSettings::SetOneScreen(bool ticked) {
    page_.one_screen = ticked;
    if (!ticked && page_.wheel == 0) {
        // No wheel lines were ever kept: the untick restores the position the page shows,
        // the first, as a read of one screen per notch remembers it; without it the stored
        // "-1" would stay and tick the option again at the next start.
        page_.wheel = 1;
    }
    return Write(kWheel);
}

PointerResult PointerSettings::Apply() {
    return touched_ == 0 ? PointerOk() : Write(0);
}

PointerValues PointerSettings::ValuesOf(unsigned which) const {
    PointerValues values;
    if ((which & kSpeed) != 0 && page_.speed != 0) {
        values[PointerKey::kMouseSensitivity] = std::to_string(SensitivityOfPosition(page_.speed));
    }
    if ((which & kPrecision) != 0) {
        const PrecisionValues p = page_.precision ? kPrecisionOn : kPrecisionOff;
        values[PointerKey::kMouseSpeed] = std::to_string(p.mouse_speed);
        values[PointerKey::kMouseThreshold1] = std::to_string(p.threshold1);
        values[PointerKey::kMouseThreshold2] = std::to_string(p.threshold2);
    }
    if ((which & kDoubleClick) != 0 && page_.double_click != 0) {
        values[PointerKey::kDoubleClickSpeed] =
            std::to_string(DoubleClickMsOfPosition(page_.double_click));
    }
    if ((which & kWheel) != 0 && (page_.one_screen || page_.wheel != 0)) {
        values[PointerKey::kWheelScrollLines] =
            std::to_string(page_.one_screen ? kWheelOneScreen : page_.wheel);
    }
    return values;
}

PointerResult PointerSettings::Write(unsigned which) {
    touched_ |= which;
    if (backend_ == nullptr) {
        return PointerOk();
    }
    // A change writes its own setting; Apply (which == 0) writes every one the user changed.
    const PointerValues values = ValuesOf(which == 0 ? touched_ : which);
    if (values.empty()) {
        return PointerOk();
    }
    PointerResult written = backend_->Write(values);
    if (written && listener_) {
        listener_(values);
    }
    return written;
}

}  // namespace velq
