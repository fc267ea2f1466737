#include "shell/engineer_terms.h"

#include <gtest/gtest.h>

#include <map>
#include <set>

namespace velq {
namespace {

TEST(EngineerTermsTest, HoldsCodes00To8EOnceInStoredOrder) {
    ASSERT_EQ(kEngineerTerms.size(), 143u);
    std::set<int> codes;
    std::vector<int> order;
    for (const EngineerTerm& term : kEngineerTerms) {
        EXPECT_TRUE(codes.insert(term.code).second) << int{term.code};
        order.push_back(term.code);
        EXPECT_FALSE(term.english.empty()) << int{term.code};
        EXPECT_FALSE(term.chinese.empty()) << int{term.code};
    }
    EXPECT_EQ(*codes.begin(), 0x00);
    EXPECT_EQ(*codes.rbegin(), 0x8E);
    // Sorted by code, except that 0x23 and 0x24 follow 0x38.
    const auto at = [&](int code) { return std::find(order.begin(), order.end(), code); };
    EXPECT_EQ(at(0x23), at(0x38) + 1);
    EXPECT_EQ(at(0x24), at(0x38) + 2);
    EXPECT_EQ(at(0x25), at(0x22) + 1);
}

TEST(EngineerTermsTest, LooksUpEitherColumnByCode) {
    struct Row {
        uint8_t code;
        const char* english;
        const char* chinese;
    };
    const Row rows[] = {
        {0x00, "Office Mode", "办公模式"},
        {0x01, "Gaming Mode", "游戏模式"},
        {0x05, "Engineer Mode", "工程模式"},
        {0x10, "MCU LED", "流光灯"},
        {0x11, "RB LED", "RB双色灯"},
        {0x12, "Sync LED", "七彩同步灯"},
        {0x13, "Breath LED", "七彩呼吸灯"},
        {0x1F, "MCU LED Ligth Mode", nullptr},
        {0x23, "Vendor ID:", nullptr},
        {0x24, "Product ID:", nullptr},
        {0x41, "0°", "0°"},
        {0x44, "270°", "270°"},
        {0x47, "XY Swap XY Reverse", nullptr},
        {0x48, "XY Swap XY NoReverse", nullptr},
        {0x5E, "Delect Gun", nullptr},
        {0x7E, "Macro10 B:", nullptr},
        {0x89, "Macro10 Y Offset:", nullptr},
        {0x8A, "Notes: ", nullptr},
        {0x8B, "Delete Fire Macro", "删除压枪宏"},
        {0x8C, "Import PC Fire Macro", "导入端游压枪宏"},
        {0x8D, "Import Mobile Fire Macro", "导入手游压枪宏"},
    };
    for (const Row& row : rows) {
        EXPECT_EQ(EngineerText(row.code, EngineerLanguage::kEnglish), row.english) << int{row.code};
        if (row.chinese != nullptr) {
            EXPECT_EQ(EngineerText(row.code, EngineerLanguage::kSimplifiedChinese), row.chinese)
                << int{row.code};
        }
    }
    EXPECT_EQ(EngineerText(0x8F, EngineerLanguage::kEnglish), std::nullopt);
    EXPECT_EQ(EngineerText(0xFF, EngineerLanguage::kSimplifiedChinese), std::nullopt);
}

TEST(EngineerLanguageTest, IsChineseOnlyForThePrcLocale) {
    const std::pair<const char*, EngineerLanguage> cases[] = {
        {"zh_CN.UTF-8", EngineerLanguage::kSimplifiedChinese},
        {"zh_CN", EngineerLanguage::kSimplifiedChinese},
        {"zh_CN.GB18030", EngineerLanguage::kSimplifiedChinese},
        {"zh_CN@pinyin", EngineerLanguage::kSimplifiedChinese},
        {"zh-CN", EngineerLanguage::kSimplifiedChinese},
        {"zh_TW.UTF-8", EngineerLanguage::kEnglish},
        {"zh_HK.UTF-8", EngineerLanguage::kEnglish},
        {"zh_SG.UTF-8", EngineerLanguage::kEnglish},
        {"zh", EngineerLanguage::kEnglish},
        {"zh_CNX", EngineerLanguage::kEnglish},
        {"pt_BR.UTF-8", EngineerLanguage::kEnglish},
        {"C", EngineerLanguage::kEnglish},
        {"", EngineerLanguage::kEnglish},
    };
    for (const auto& [locale, expected] : cases) {
        EXPECT_EQ(EngineerLanguageFromLocale(locale), expected) << locale;
    }
    EXPECT_EQ(static_cast<int>(EngineerLanguage::kEnglish), 0);
    EXPECT_EQ(static_cast<int>(EngineerLanguage::kSimplifiedChinese), 2);
}

TEST(EngineerLanguageTest, MessagesLocaleFollowsVariablePrecedence) {
    using Env = std::map<std::string, std::string>;
    const std::pair<Env, const char*> cases[] = {
        {{{"LANG", "zh_CN.UTF-8"}}, "zh_CN.UTF-8"},
        {{{"LANG", "en_US.UTF-8"}, {"LC_MESSAGES", "zh_CN.UTF-8"}}, "zh_CN.UTF-8"},
        {{{"LANG", "zh_CN.UTF-8"}, {"LC_MESSAGES", "C"}, {"LC_ALL", "de_DE"}}, "de_DE"},
        {{{"LANG", "zh_CN.UTF-8"}, {"LC_ALL", ""}}, "zh_CN.UTF-8"},  // empty counts as unset
        {{}, ""},
    };
    for (const auto& [env, expected] : cases) {
        const std::string got = MessagesLocaleName([&env](std::string_view name) {
            auto it = env.find(std::string(name));
            return it == env.end() ? std::nullopt : std::optional<std::string>(it->second);
        });
        EXPECT_EQ(got, expected);
    }
}

}  // namespace
}  // namespace velq
