#include "shell/engineer_terms.h"

#include <algorithm>

namespace velq {

std::optional<std::string_view> EngineerText(uint8_t code, EngineerLanguage language) {
    const auto* it = std::find_if(kEngineerTerms.begin(), kEngineerTerms.end(),
                                  [code](const EngineerTerm& term) { return term.code == code; });
    if (it == kEngineerTerms.end()) {
        return std::nullopt;
    }
    return language == EngineerLanguage::kSimplifiedChinese ? it->chinese : it->english;
}

EngineerLanguage EngineerLanguageFromLocale(std::string_view locale_name) {
    // "zh_CN" alone or followed by the encoding (".UTF-8") or a modifier ("@...").
    if (locale_name.size() < 5 || locale_name.substr(0, 2) != "zh" ||
        (locale_name[2] != '_' && locale_name[2] != '-') || locale_name.substr(3, 2) != "CN") {
        return EngineerLanguage::kEnglish;
    }
    if (locale_name.size() > 5 && locale_name[5] != '.' && locale_name[5] != '@') {
        return EngineerLanguage::kEnglish;
    }
    return EngineerLanguage::kSimplifiedChinese;
}

std::string MessagesLocaleName(const EnvironmentLookup& get_variable) {
    for (std::string_view name : {"LC_ALL", "LC_MESSAGES", "LANG"}) {
        std::optional<std::string> value = get_variable(name);
        if (value && !value->empty()) {
            return *value;
        }
    }
    return std::string();
}

EngineerLanguage EngineerLanguageOfEnvironment() {
    return EngineerLanguageFromLocale(MessagesLocaleName(ProcessEnvironment()));
}

}  // namespace velq
