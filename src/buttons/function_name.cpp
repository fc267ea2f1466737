#include "buttons/function_name.h"

#include <array>

#include "buttons/function_code.h"
#include "buttons/function_table.h"
#include "buttons/macro_locator.h"
#include "buttons/usage_names.h"

namespace velq {

namespace {

struct ModifierPrefix {
    uint8_t bit;
    std::string_view text;
};

// The prefixes of a key combination, in the order they are written.
constexpr std::array<ModifierPrefix, 4> kModifierPrefixes{{
    {kModCtrl, "Ctrl+"},
    {kModShift, "Shift+"},
    {kModAlt, "Alt+"},
    {kModWin, "Win+"},
}};

std::string KeyComboName(const FunctionCode& code) {
    std::string name;
    for (const ModifierPrefix& prefix : kModifierPrefixes) {
        if ((code.p1 & prefix.bit) != 0) {
            name += prefix.text;
        }
    }
    if (code.p2 != 0) {
        name += UsageName(code.p2);
    }
    return name;
}

std::string NameOfMacro(const FunctionCode& code, const NameSources& sources) {
    const uint16_t locator = code.Parameter();
    if (sources.eeprom_mode) {
        const auto slot = MacroSlotOfLocator(locator);
        return slot ? sources.macros.SlotMacroName(*slot) : std::string{};
    }
    const auto n = DriverMacroIndexOfLocator(locator);
    if (!n) {
        return {};
    }
    return sources.macros.DriverMacroName(*n).value_or(std::string{});
}

std::string NameOfGunKey(std::string_view code_text, const NameSources& sources) {
    if (sources.guns.GunKeyFileFound()) {
        const std::vector<std::string> texts = sources.guns.GunKeyTexts();
        std::string name;
        // The last matching entry gives the name.
        for (std::size_t i = 0; i < texts.size(); ++i) {
            if (texts[i] == code_text) {
                name = GunKeyListName(i);
            }
        }
        if (!name.empty()) {
            return name;
        }
        // A gun of the fire page that the list does not hold keeps its own name: a button
        // never turns blank just because a gun key list exists.
    }
    const auto key = GunNameKey(code_text);
    return key ? sources.captions.Caption(*key) : std::string{};
}

}  // namespace

std::string GunKeyListName(std::size_t position) {
    return "Fire Macro" + std::to_string(position + 1);
}

std::string FunctionName(std::string_view code_text, const NameSources& sources) {
    const auto code = ParseCodeText(code_text);
    if (!code) {
        return {};
    }
    if (const auto key = PredefinedNameKey(code_text, NameTest::kBeforeAimKey)) {
        return sources.captions.Caption(*key);
    }
    // Every aim key has the same name, whatever its DPI index.
    if (code->type == static_cast<uint8_t>(CodeType::kAIMKey)) {
        return sources.captions.Caption(kAimKeyNameKey);
    }
    // The table comes before the type rules, so Win + D shows the desktop name.
    if (const auto key = PredefinedNameKey(code_text, NameTest::kAfterAimKey)) {
        return sources.captions.Caption(*key);
    }
    switch (static_cast<CodeType>(code->type)) {
        case CodeType::kKeyboardKey:
            return KeyComboName(*code);
        case CodeType::kMacroRun:
        case CodeType::kMacroHold:
            return NameOfMacro(*code, sources);
        case CodeType::kGunKey:
            return NameOfGunKey(code_text, sources);
        default:
            return {};
    }
}

}  // namespace velq
