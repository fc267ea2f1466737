#include "buttons/key_combination.h"

#include "buttons/function_code.h"
#include "buttons/key_list.h"

namespace velq {
namespace {

size_t IndexOf(ComboModifier modifier) {
    return static_cast<size_t>(modifier);
}

}  // namespace

std::string_view ComboModifierName(ComboModifier modifier) {
    switch (modifier) {
        case ComboModifier::kCtrl:
            return "Ctrl";
        case ComboModifier::kShift:
            return "Shift";
        case ComboModifier::kAlt:
            return "Alt";
        case ComboModifier::kWin:
            return "Win";
    }
    return {};
}

uint8_t ComboModifierBit(ComboModifier modifier) {
    switch (modifier) {
        case ComboModifier::kCtrl:
            return kModCtrl;
        case ComboModifier::kShift:
            return kModShift;
        case ComboModifier::kAlt:
            return kModAlt;
        case ComboModifier::kWin:
            return kModWin;
    }
    return 0;
}

bool IsHeldModifierKey(int virtual_key) {
    switch (virtual_key) {
        case kVkShift:
        case kVkControl:
        case kVkMenu:
        case 0xA0:  // left and right Shift, Ctrl, Alt
        case 0xA1:
        case 0xA2:
        case 0xA3:
        case 0xA4:
        case 0xA5:
            return true;
        default:
            return false;
    }
}

void KeyCombination::SetModifier(ComboModifier modifier, bool ticked) {
    ticked_[IndexOf(modifier)] = ticked;
    if (ticked) {
        field_ = ModifierText();
        if (key_chosen_) {
            field_ += "+" + key_name_;
        }
        return;
    }
    // Only the box's name leaves the field; the rest of it is kept as it stands.
    const std::string name(ComboModifierName(modifier));
    if (field_ == name) {
        field_.clear();
    } else if (field_.starts_with(name + "+")) {
        field_.erase(0, name.size() + 1);
    } else if (const size_t at = field_.find("+" + name); at != std::string::npos) {
        field_.erase(at, name.size() + 1);
    }
}

bool KeyCombination::Ticked(ComboModifier modifier) const {
    return ticked_[IndexOf(modifier)];
}

void KeyCombination::PressKey(int virtual_key, bool modifier_held) {
    if (virtual_key == 0) {
        return;
    }
    if (key_chosen_) {
        key_chosen_ = false;
        key_name_.clear();
        usage_ = 0;
        field_ = ModifierText();
    }
    if (virtual_key == kVkLeftWin || virtual_key == kVkRightWin || modifier_held ||
        IsHeldModifierKey(virtual_key)) {
        return;
    }
    const int index = KeyIndexOfVirtualKey(virtual_key);
    key_name_ = std::string(KeyIndexName(index));
    usage_ = UsageOfKeyIndex(index);
    key_chosen_ = true;
    field_ = field_.empty() ? key_name_ : field_ + "+" + key_name_;
}

void KeyCombination::Clear() {
    *this = KeyCombination();
}

std::string KeyCombination::ModifierText() const {
    std::string text;
    for (const ComboModifier modifier : kComboModifiers) {
        if (!Ticked(modifier)) {
            continue;
        }
        if (!text.empty()) {
            text += "+";
        }
        text += ComboModifierName(modifier);
    }
    return text;
}

uint8_t KeyCombination::ModifierMask() const {
    uint8_t mask = 0;
    for (const ComboModifier modifier : kComboModifiers) {
        if (Ticked(modifier)) {
            mask = static_cast<uint8_t>(mask | ComboModifierBit(modifier));
        }
    }
    return mask;
}

std::string KeyCombination::CodeText() const {
    return KeyComboText(ModifierMask(), usage_);
}

}  // namespace velq
