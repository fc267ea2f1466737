#include "buttons/function_table.h"

#include "buttons/function_code.h"

namespace velq {

std::string MenuCode(int tag, uint8_t aim_index) {
    if (tag == kAimKeyTag) {
        return CodeText(FunctionCode{static_cast<uint8_t>(CodeType::kAIMKey), aim_index, 0});
    }
    for (const PredefinedFunction& function : kPredefinedFunctions) {
        if (function.tag == tag) {
            return std::string(function.code);
        }
    }
    return {};
}

std::optional<std::string_view> PredefinedNameKey(std::string_view code_text, NameTest test) {
    if (code_text.empty()) {
        return std::nullopt;  // the aim key entry has no fixed code
    }
    for (const PredefinedFunction& function : kPredefinedFunctions) {
        if (function.test == test && function.code == code_text) {
            return function.name_key;
        }
    }
    return std::nullopt;
}

std::optional<std::string_view> GunNameKey(std::string_view code_text) {
    for (const GunName& gun : kGunNames) {
        if (gun.code == code_text) {
            return gun.name_key;
        }
    }
    return std::nullopt;
}

}  // namespace velq
