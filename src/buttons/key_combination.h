#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <string_view>

namespace velq {

// The four modifier boxes of the key-combination dialog, in the order their names are joined.
enum class ComboModifier : uint8_t { kCtrl, kShift, kAlt, kWin };

inline constexpr std::array<ComboModifier, 4> kComboModifiers{
    ComboModifier::kCtrl, ComboModifier::kShift, ComboModifier::kAlt, ComboModifier::kWin};

// "Ctrl", "Shift", "Alt", "Win": the box's caption and its name in the field.
std::string_view ComboModifierName(ComboModifier modifier);
// Its bit of the modifier mask of a KeyboardKey code (kModCtrl ..).
uint8_t ComboModifierBit(ComboModifier modifier);

// Whether a virtual key is Shift, Ctrl or Alt (generic or either hand): while it goes down the
// modifier is held, so a combination never takes one of them as its key.
bool IsHeldModifierKey(int virtual_key);

// The state of the key-combination dialog: the ticked boxes, the chosen key and the text of
// its field. One key and any set of modifiers: every new key replaces the last one.
class KeyCombination {
public:
    // A box ticked: the field becomes the modifier text, then "+" and the chosen key. A box
    // cleared: its name leaves the field ("Ctrl+" in front of more, "Ctrl" alone, "+Ctrl"
    // elsewhere), whatever else the field shows stays.
    void SetModifier(ComboModifier modifier, bool ticked);
    bool Ticked(ComboModifier modifier) const;

    // A key pressed in the field, by its Windows virtual-key code (0: the keyboard's key has
    // none, and is not seen). A second key first takes the chosen one away. A Windows key, or any
    // key while Shift, Ctrl or Alt is held (`modifier_held`, or the key is one of them), is then
    // swallowed; any other key is chosen and joins the field after the modifiers.
    void PressKey(int virtual_key, bool modifier_held);

    // Clear: field empty, no key, every box cleared.
    void Clear();

    const std::string& field() const { return field_; }
    bool key_chosen() const { return key_chosen_; }
    // The names of the ticked boxes in the order Ctrl, Shift, Alt, Win, joined by "+".
    std::string ModifierText() const;
    // The sum of the ticked boxes' bits.
    uint8_t ModifierMask() const;
    // "02" + mask + usage (usage 00 without a key): the code Confirm hands over.
    std::string CodeText() const;

private:
    std::array<bool, 4> ticked_{};
    std::string field_;
    std::string key_name_;
    uint8_t usage_ = 0;
    bool key_chosen_ = false;
};

}  // namespace velq
