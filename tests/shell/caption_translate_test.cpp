#include "shell/caption_translate.h"

#include <gtest/gtest.h>

#include <array>
#include <optional>

#include "caption_test_util.h"
#include "shell/caption_table.h"

namespace velq {
namespace {

using test::FakeCaptions;

class ShippedTablesTest : public ::testing::Test {
protected:
    void SetUp() override {
        for (int language = 1; language <= 3; ++language) {
            CaptionTableResult result = LoadCaptionTable(language);
            ASSERT_TRUE(result) << result.error;
            tables_[language - 1] = std::move(result.table);
        }
    }
    std::array<const CaptionLookup*, 3> All() const {
        return {&tables_[0], &tables_[1], &tables_[2]};
    }
    const CaptionTable& Table(int language) const { return tables_[language - 1]; }

    std::array<CaptionTable, 3> tables_;
};

struct KeyCase {
    const char* caption;
    std::optional<std::string> key;
};

TEST_F(ShippedTablesTest, FindsTheLastMatchingKeyUpTo700) {
    const KeyCase cases[] = {
        {"DPI", "Str230"},              // Str821 has the same text but lies above 700
        {"Pare", "Str264"},             // media stop Str251 and web stop Str264: the later wins
        {"Clique esquerdo", "Str210"},  // [lang1]
        {"左键", "Str210"},             // [lang2]
        {"左鍵", "Str210"},             // [lang3]
        {"AKM", "Str600"},              // the same text in all three tables
        {"停止", "Str251"},             // the Chinese tables keep media and web stop apart
        {"Fora", std::nullopt},         // only lighting modes above 700
        {"Localizardo o dispositivo especificado", std::nullopt},  // Str020: "Str20" is tried
        {"English", std::nullopt},                                 // Str011
        {"Luz", std::nullopt},                                     // Str008
        {"My own macro", std::nullopt},
        {"", std::nullopt},
    };
    const auto tables = All();
    for (const KeyCase& c : cases) {
        EXPECT_EQ(FindCaptionKey(c.caption, tables), c.key) << c.caption;
    }
}

TEST_F(ShippedTablesTest, TranslatesLabelsIntoTheNewLanguage) {
    struct Case {
        const char* caption;
        int to;
        const char* expected;
    };
    const Case cases[] = {
        {"DPI", 2, "DPI功能"},    // Str230, not the lighting mode Str821
        {"Pare", 2, "网页停止"},  // Str264 wins, so media stop shows as web stop
        {"Pare", 1, "Pare"},      // the shipped start-up switch to language 1
        {"Clique esquerdo", 3, "左鍵"},
        {"左键", 1, "Clique esquerdo"},
        {"停止", 1, "Pare"},
        {"Alvo", 2, "狙击键"},
        {"My own macro", 2, "My own macro"},  // no key: the caption stays
    };
    const auto tables = All();
    for (const Case& c : cases) {
        EXPECT_EQ(TranslateLabelCaption(c.caption, tables, Table(c.to)), c.expected)
            << c.caption << " -> lang" << c.to;
    }
}

// Every function and gun name comes back as the same function in every other language: a text
// that two keys share would send a button's name to another function on a language switch.
TEST_F(ShippedTablesTest, FunctionNamesSurviveEverySwitch) {
    const auto tables = All();
    for (int number = 210; number <= 606; ++number) {
        const std::string key = "Str" + std::to_string(number);
        const bool function_name = (number <= 266) || (number >= 600);
        if (!function_name || Table(1).Caption(key).empty()) {
            continue;
        }
        for (int from = 1; from <= 3; ++from) {
            for (int to = 1; to <= 3; ++to) {
                if (from == 1 && key == "Str251") {
                    continue;  // "Pare" is also the web stop's text in [lang1]
                }
                EXPECT_EQ(TranslateLabelCaption(Table(from).Caption(key), tables, Table(to)),
                          Table(to).Caption(key))
                    << key << " lang" << from << " -> lang" << to;
            }
        }
    }
}

TEST(CaptionKeySearchTest, LaterTableAndHigherNumberWin) {
    const FakeCaptions lang1{{"Str300", "X"}, {"Str100", "X"}, {"Str701", "Y"}};
    const FakeCaptions lang2{{"Str200", "X"}};
    const FakeCaptions empty{};
    const std::array<const CaptionLookup*, 3> tables = {&lang1, &lang2, &empty};
    EXPECT_EQ(FindCaptionKey("X", tables), "Str200");  // table order before key order
    const std::array<const CaptionLookup*, 1> first = {&lang1};
    EXPECT_EQ(FindCaptionKey("X", first), "Str300");
    EXPECT_EQ(FindCaptionKey("Y", tables), std::nullopt);  // above 700
}

TEST(CaptionKeySearchTest, KeysAreTriedWithoutLeadingZeros) {
    const FakeCaptions table{{"Str020", "padded"}, {"Str20", "plain"}, {"Str0", "zero"}};
    const std::array<const CaptionLookup*, 1> tables = {&table};
    EXPECT_EQ(FindCaptionKey("padded", tables), std::nullopt);
    EXPECT_EQ(FindCaptionKey("plain", tables), "Str20");
    EXPECT_EQ(FindCaptionKey("zero", tables), "Str0");
}

TEST(CaptionKeySearchTest, UnreadableTablesAreSkipped) {
    const FakeCaptions lang3{{"Str150", "X"}};
    const std::array<const CaptionLookup*, 3> tables = {nullptr, nullptr, &lang3};
    EXPECT_EQ(FindCaptionKey("X", tables), "Str150");
}

TEST(CaptionKeySearchTest, KeyMissingFromTheNewTableKeepsTheCaption) {
    const FakeCaptions lang1{{"Str150", "X"}};
    const FakeCaptions lang2{{"Str151", "Z"}};
    const std::array<const CaptionLookup*, 2> tables = {&lang1, &lang2};
    EXPECT_EQ(TranslateLabelCaption("X", tables, lang2), "X");
    EXPECT_EQ(TranslateLabelCaption("Z", tables, lang1), "Z");
}

}  // namespace
}  // namespace velq
