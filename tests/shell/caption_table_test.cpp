#include "shell/caption_table.h"

#include <gtest/gtest.h>

#include "caption_test_util.h"

namespace velq {
namespace {

using test::Utf16Le;

struct ReadCase {
    const char* name;
    const char* text;  // UTF-8 form of the resource text
    const char* key;
    const char* expected;
};

void PrintTo(const ReadCase& c, std::ostream* os) {
    *os << c.name;
}

class CaptionTableReadTest : public ::testing::TestWithParam<ReadCase> {};

TEST_P(CaptionTableReadTest, GivesTheTrimmedValueOfTheKey) {
    const ReadCase& c = GetParam();
    CaptionTableResult result = ParseCaptionTable(Utf16Le(c.text), "lang1");
    ASSERT_TRUE(result) << result.error;
    EXPECT_EQ(result.table.Caption(c.key), c.expected);
}

INSTANTIATE_TEST_SUITE_P(
    Items, CaptionTableReadTest,
    ::testing::Values(
        ReadCase{"TrailingBlankOfQuotedValueIsLost", "\r\n[lang1]\r\n\"Str008=Luz \"\r\n", "Str008",
                 "Luz"},
        ReadCase{"BlanksAroundEqualsRemoved", "\r\n[lang1]\r\n\" Str001 =  Aplicar \"\r\n",
                 "Str001", "Aplicar"},
        ReadCase{"InnerBlanksOfQuotedValueKept",
                 "\r\n[lang1]\r\n\"Str223=İnterruptor de pistola  Fn\"\r\n", "Str223",
                 "İnterruptor de pistola  Fn"},
        ReadCase{"UnquotedValueEndsAtBlank", "\r\n[lang1]\r\nStr001=Aplicar agora\r\n", "Str001",
                 "Aplicar"},
        ReadCase{"TwoQuotedItemsOnOneLine", "\r\n[lang1]\r\n\"Str001=A b\" \"Str002=C d\"\r\n",
                 "Str002", "C d"},
        ReadCase{"DoubledQuoteStandsForOne", "\r\n[lang1]\r\n\"Str001=Say \"\"hi\"\"\"\r\n",
                 "Str001", "Say \"hi\""},
        ReadCase{"EqualsSignInValueKept", "\r\n[lang1]\r\n\"Str001=a=b\"\r\n", "Str001", "a=b"},
        ReadCase{"LineFeedsAloneSeparateToo", "\n[lang1]\n\"Str001=x\"\n\"Str002=y\"\n", "Str002",
                 "y"},
        ReadCase{"ChineseText", "\r\n[lang1]\r\n\"Str109=烧录失败\"\r\n", "Str109", "烧录失败"},
        ReadCase{"CharacterOutsideBmp", "\r\n[lang1]\r\n\"Str001=a😀b\"\r\n", "Str001", "a😀b"},
        ReadCase{"LookupIgnoresAsciiCase", "\r\n[LANG1]\r\n\"STR001=x\"\r\n", "str001", "x"},
        ReadCase{"FirstDefinitionWins", "\r\n[lang1]\r\n\"Str001=first\"\r\n\"Str001=second\"\r\n",
                 "Str001", "first"},
        ReadCase{"KeyBeforeAnySectionIgnored", "\"Str001=early\"\r\n[lang1]\r\n\"Str002=x\"\r\n",
                 "Str001", ""},
        ReadCase{"KeyOfOtherSectionIgnored",
                 "\r\n[lang1]\r\n\"Str001=one\"\r\n[lang2]\r\n\"Str002=two\"\r\n", "Str002", ""},
        ReadCase{"MissingKeyIsEmpty", "\r\n[lang1]\r\n\"Str001=x\"\r\n", "Str999", ""}),
    [](const ::testing::TestParamInfo<ReadCase>& param_info) {
        return std::string(param_info.param.name);
    });

TEST(CaptionTableReadEdgeTest, ValueOfBlanksOnlyIsPresentButEmpty) {
    CaptionTableResult result =
        ParseCaptionTable(Utf16Le("\r\n[lang1]\r\n\"Str001=   \"\r\n"), "lang1");
    ASSERT_TRUE(result) << result.error;
    EXPECT_TRUE(result.table.Contains("Str001"));
    EXPECT_EQ(result.table.Caption("Str001"), "");
}

TEST(CaptionTableReadEdgeTest, EntriesKeepResourceOrderWithoutDuplicates) {
    CaptionTableResult result = ParseCaptionTable(
        Utf16Le("\r\n[lang1]\r\n\"Title=T\"\r\n\"Str010=b\"\r\n\"Str002=a\"\r\n\"Str010=c\"\r\n"),
        "lang1");
    ASSERT_TRUE(result) << result.error;
    const auto& entries = result.table.Entries();
    ASSERT_EQ(entries.size(), 3u);
    EXPECT_EQ(entries[0].key, "Title");
    EXPECT_EQ(entries[1].key, "Str010");
    EXPECT_EQ(entries[1].text, "b");
    EXPECT_EQ(entries[2].key, "Str002");
}

struct BadCase {
    const char* name;
    std::vector<uint8_t> bytes;
    const char* error_part;
};

void PrintTo(const BadCase& c, std::ostream* os) {
    *os << c.name;
}

class CaptionTableErrorTest : public ::testing::TestWithParam<BadCase> {};

TEST_P(CaptionTableErrorTest, IsReportedNotSwallowed) {
    const BadCase& c = GetParam();
    CaptionTableResult result = ParseCaptionTable(c.bytes, "lang2");
    EXPECT_FALSE(result);
    EXPECT_NE(result.error.find("[lang2]"), std::string::npos) << result.error;
    EXPECT_NE(result.error.find(c.error_part), std::string::npos) << result.error;
    EXPECT_TRUE(result.table.Entries().empty());
}

INSTANTIATE_TEST_SUITE_P(
    Resources, CaptionTableErrorTest,
    ::testing::Values(
        BadCase{"Empty", {}, "byte order mark"},
        BadCase{"WithoutBom", Utf16Le("\r\n[lang2]\r\n\"Str001=x\"\r\n", false), "byte order mark"},
        BadCase{"BigEndianBom", {0xFE, 0xFF, 0x00, '[', 0x00, ']'}, "byte order mark"},
        BadCase{"OddByteCount", {0xFF, 0xFE, '[', 0x00, 'x'}, "odd number of bytes"},
        BadCase{"UnpairedHighSurrogate", {0xFF, 0xFE, 0x3D, 0xD8, 'a', 0x00}, "high surrogate"},
        BadCase{"HighSurrogateAtEnd", {0xFF, 0xFE, 'a', 0x00, 0x3D, 0xD8}, "high surrogate"},
        BadCase{"LoneLowSurrogate", {0xFF, 0xFE, 0x00, 0xDC}, "low surrogate"},
        BadCase{"OtherSectionOnly", Utf16Le("\r\n[lang1]\r\n\"Str001=x\"\r\n"),
                "section not found"}),
    [](const ::testing::TestParamInfo<BadCase>& param_info) {
        return std::string(param_info.param.name);
    });

TEST(CaptionTableLoadTest, LanguageNumberOutsideOneToThreeIsAnError) {
    for (int number : {0, 4, -1}) {
        CaptionTableResult result = LoadCaptionTable(number);
        EXPECT_FALSE(result) << number;
        EXPECT_FALSE(result.error.empty());
    }
}

}  // namespace
}  // namespace velq
