#include "buttons/key_combination.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "buttons/key_list.h"

namespace velq {
namespace {

// One thing the user does in the key-combination dialog.
struct Action {
    enum class Kind { kTick, kUntick, kPress, kPressHeld, kClear };
    Kind kind;
    ComboModifier modifier = ComboModifier::kCtrl;
    int virtual_key = 0;
};

Action Tick(ComboModifier modifier) {
    return {Action::Kind::kTick, modifier};
}
Action Untick(ComboModifier modifier) {
    return {Action::Kind::kUntick, modifier};
}
// A key pressed with no modifier held, and with Shift, Ctrl or Alt held down.
Action Press(int virtual_key) {
    return {Action::Kind::kPress, ComboModifier::kCtrl, virtual_key};
}
Action PressHeld(int virtual_key) {
    return {Action::Kind::kPressHeld, ComboModifier::kCtrl, virtual_key};
}
Action ClearAll() {
    return {Action::Kind::kClear};
}

void Perform(KeyCombination& combo, const std::vector<Action>& actions) {
    for (const Action& action : actions) {
        switch (action.kind) {
            case Action::Kind::kTick:
                combo.SetModifier(action.modifier, true);
                break;
            case Action::Kind::kUntick:
                combo.SetModifier(action.modifier, false);
                break;
            case Action::Kind::kPress:
                combo.PressKey(action.virtual_key, false);
                break;
            case Action::Kind::kPressHeld:
                combo.PressKey(action.virtual_key, true);
                break;
            case Action::Kind::kClear:
                combo.Clear();
                break;
        }
    }
}

constexpr int kVkA = 0x41;
constexpr int kVkB = 0x42;
constexpr int kVkD = 0x44;
constexpr int kVkLeftShift = 0xA0;
constexpr int kVkRightAlt = 0xA5;  // AltGr
constexpr int kVkEsc = 0x1B;

using M = ComboModifier;

TEST(KeyCombinationTest, FieldAndCodeAfterEachSequence) {
    struct Case {
        const char* what;
        std::vector<Action> actions;
        std::string field;
        std::string code;
    };
    const std::vector<Case> cases = {
        {"nothing done", {}, "", "020000"},
        {"Ctrl and Alt, then A",
         {Tick(M::kCtrl), Tick(M::kAlt), Press(kVkA)},
         "Ctrl+Alt+A",
         "020504"},
        {"a second key replaces the first",
         {Tick(M::kCtrl), Tick(M::kAlt), Press(kVkA), Press(kVkB)},
         "Ctrl+Alt+B",
         "020505"},
        {"Shift alone, no key chosen", {Press(kVkShift)}, "", "020000"},
        {"left Shift alone, no key chosen", {Press(kVkLeftShift)}, "", "020000"},
        {"Shift alone takes the key away",
         {Tick(M::kCtrl), Press(kVkA), Press(kVkShift)},
         "Ctrl",
         "020100"},
        {"a key with a modifier held is swallowed",
         {Tick(M::kAlt), PressHeld(kVkA)},
         "Alt",
         "020400"},
        {"AltGr is a held Alt", {Press(kVkA), Press(kVkRightAlt)}, "", "020000"},
        {"a Windows key is swallowed", {Press(kVkLeftWin), Press(kVkRightWin)}, "", "020000"},
        {"only Win ticked", {Tick(M::kWin)}, "Win", "020800"},
        {"Win and D, the show-desktop code", {Tick(M::kWin), Press(kVkD)}, "Win+D", "020807"},
        {"boxes join in the order Ctrl, Shift, Alt, Win",
         {Press(kVkA), Tick(M::kWin), Tick(M::kShift), Tick(M::kCtrl)},
         "Ctrl+Shift+Win+A",
         "020B04"},
        {"clearing the first box",
         {Tick(M::kCtrl), Tick(M::kAlt), Press(kVkA), Untick(M::kCtrl)},
         "Alt+A",
         "020404"},
        {"clearing a box in the middle",
         {Tick(M::kCtrl), Tick(M::kShift), Tick(M::kAlt), Untick(M::kShift)},
         "Ctrl+Alt",
         "020500"},
        {"clearing the only box", {Tick(M::kShift), Untick(M::kShift)}, "", "020000"},
        {"clearing the box before the key",
         {Tick(M::kShift), Press(kVkEsc), Untick(M::kShift)},
         "Esc",
         "020029"},
        {"Clear forgets boxes and key", {Tick(M::kCtrl), Press(kVkA), ClearAll()}, "", "020000"},
        {"a key after Clear",
         {Tick(M::kCtrl), Press(kVkA), ClearAll(), Press(kVkB)},
         "B",
         "020005"},
        {"a key the keyboard cannot name is not seen",
         {Tick(M::kCtrl), Press(kVkA), Press(0)},
         "Ctrl+A",
         "020104"},
    };
    for (const Case& c : cases) {
        KeyCombination combo;
        Perform(combo, c.actions);
        EXPECT_EQ(combo.field(), c.field) << c.what;
        EXPECT_EQ(combo.CodeText(), c.code) << c.what;
    }
}

TEST(KeyCombinationTest, ClearUnticksEveryBox) {
    KeyCombination combo;
    for (const ComboModifier modifier : kComboModifiers) {
        combo.SetModifier(modifier, true);
    }
    combo.PressKey(kVkA, false);
    ASSERT_EQ(combo.field(), "Ctrl+Shift+Alt+Win+A");
    combo.Clear();
    for (const ComboModifier modifier : kComboModifiers) {
        EXPECT_FALSE(combo.Ticked(modifier)) << ComboModifierName(modifier);
    }
    EXPECT_FALSE(combo.key_chosen());
    EXPECT_EQ(combo.ModifierMask(), 0);
}

}  // namespace
}  // namespace velq
