#include "shell/layout_config.h"

#include <gtest/gtest.h>

#include <cctype>
#include <iterator>
#include <string>

namespace velq {
namespace {

std::string Section(const std::string& body) {
    return "[org1]\r\n" + body;
}

struct LineCase {
    const char* name;
    std::string line;
    const char* key;
    int expected;
};

class KeyLineTest : public ::testing::TestWithParam<LineCase> {};

TEST_P(KeyLineTest, DefinesTheKeyWithItsNumber) {
    const LineCase& c = GetParam();
    const LayoutResult<ConfigSection> section = ParseConfigText(Section(c.line + "\r\n"), "org1");
    ASSERT_TRUE(section.ok()) << section.error.message;
    const LayoutResult<int> value = section.value->ReadInt(c.key);
    ASSERT_TRUE(value.ok()) << value.error.message;
    EXPECT_EQ(*value.value, c.expected);
}

INSTANTIATE_TEST_SUITE_P(
    Lines, KeyLineTest,
    ::testing::Values(LineCase{"TrailingSpace", "Btn_A7_Enable=1 ", "Btn_A7_Enable", 1},
                      LineCase{"SpacesAroundEquals", "M_L_W = 210", "M_L_W", 210},
                      LineCase{"LeadingBlanksAndTab", " \tKey_Width=170\t", "Key_Width", 170},
                      LineCase{"NameInOtherCase", "m_l_w=150", "M_L_W", 150},
                      LineCase{"LookupInOtherCase", "Size_A=10", "SIZE_a", 10},
                      LineCase{"NegativeValue", "FireY1_Offset_X=-12", "FireY1_Offset_X", -12},
                      LineCase{"PlusSign", "Size_B=+9", "Size_B", 9},
                      LineCase{"NoteLineWithEquals", "// note=5", "// note", 5}),
    [](const auto& param_info) { return std::string(param_info.param.name); });

TEST(ConfigTextTest, EnableIsOnOnlyForExactlyOne) {
    const LayoutResult<ConfigSection> section = ParseConfigText(
        Section("A_Enable=1 \r\nB_Enable=2\r\nC_Enable=-1\r\nD_Enable=0\r\n"), "org1");
    ASSERT_TRUE(section.ok());
    EXPECT_TRUE(*section.value->ReadEnable("A_Enable").value);
    EXPECT_FALSE(*section.value->ReadEnable("B_Enable").value);
    EXPECT_FALSE(*section.value->ReadEnable("C_Enable").value);
    EXPECT_FALSE(*section.value->ReadEnable("D_Enable").value);
}

TEST(ConfigTextTest, CommentsBannersAndOtherSectionsDefineNothing) {
    const std::string text =
        "Size_A=1\r\n"  // before any header: no section
        "[org]\r\nSize_B=2\r\n"
        "[org1]\r\n"
        ";Size_C=3\r\n"
        "  ; Size_D=4\r\n"
        "// VELQ540B layout\r\n"
        "\r\n"
        "Size_E=5\r\n";
    const LayoutResult<ConfigSection> section = ParseConfigText(text, "org1");
    ASSERT_TRUE(section.ok());
    for (const char* key : {"Size_A", "Size_B", "Size_C", "Size_D", "// VELQ540B layout"}) {
        EXPECT_FALSE(section.value->Has(key)) << key;
    }
    EXPECT_EQ(section.value->entries().size(), 1u);
    EXPECT_EQ(*section.value->ReadInt("Size_E").value, 5);
}

TEST(ConfigTextTest, FirstDefinitionCountsAndEntriesKeepTextOrder) {
    const LayoutResult<ConfigSection> section =
        ParseConfigText(Section("Size_A=10\r\nSize_B=7\r\nsize_a=12\r\n"), "org1");
    ASSERT_TRUE(section.ok());
    EXPECT_EQ(*section.value->ReadInt("Size_A").value, 10);
    ASSERT_EQ(section.value->entries().size(), 3u);
    EXPECT_EQ(section.value->entries()[1].name, "Size_B");
    EXPECT_EQ(section.value->entries()[2].line, 4);
}

TEST(ConfigTextTest, AcceptsLoneLineFeedsAndCarriageReturns) {
    for (const std::string text : {"[org1]\nSize_A=3\nSize_B=4", "[org1]\rSize_A=3\rSize_B=4"}) {
        const LayoutResult<ConfigSection> section = ParseConfigText(text, "org1");
        ASSERT_TRUE(section.ok());
        EXPECT_EQ(*section.value->ReadInt("Size_A").value, 3);
        EXPECT_EQ(*section.value->ReadInt("Size_B").value, 4);
    }
}

// Names that sort differently once lower-cased ("_" lies between the capitals and the small
// letters) and names that are prefixes of others: each is found in any case, and nothing else is.
TEST(ConfigTextTest, KeysAreFoundInAnyCaseAmongNeighbours) {
    const char* names[] = {"Key_Width", "KEY_X", "key_y", "Key", "KeyZ",
                           "Key_",      "Ke",    "K_ey",  "KEYa"};
    std::string body;
    for (size_t i = 0; i < std::size(names); ++i) {
        body += std::string(names[i]) + "=" + std::to_string(i) + "\r\n";
    }
    const LayoutResult<ConfigSection> section = ParseConfigText(Section(body), "org1");
    ASSERT_TRUE(section.ok());
    for (size_t i = 0; i < std::size(names); ++i) {
        std::string upper(names[i]);
        std::string lower(names[i]);
        for (size_t c = 0; c < upper.size(); ++c) {
            upper[c] = static_cast<char>(std::toupper(static_cast<unsigned char>(upper[c])));
            lower[c] = static_cast<char>(std::tolower(static_cast<unsigned char>(lower[c])));
        }
        for (const std::string& key : {std::string(names[i]), upper, lower}) {
            const LayoutResult<int> value = section.value->ReadInt(key);
            ASSERT_TRUE(value.ok()) << key;
            EXPECT_EQ(*value.value, static_cast<int>(i)) << key;
        }
    }
    for (const char* absent : {"Key_W", "KeyY", "K", "", "Key_Width_", "KEYB"}) {
        EXPECT_FALSE(section.value->Has(absent)) << absent;
    }
}

TEST(ConfigTextTest, SectionHeaderIsMatchedWithoutCase) {
    const LayoutResult<ConfigSection> section = ParseConfigText("[ORG2]\r\nSize_A=1\r\n", "org2");
    ASSERT_TRUE(section.ok());
    EXPECT_EQ(*section.value->ReadInt("size_a").value, 1);
}

TEST(ConfigTextTest, MissingSectionIsAnErrorNamingIt) {
    const LayoutResult<ConfigSection> section = ParseConfigText("[org1]\r\nSize_A=1\r\n", "org2");
    ASSERT_FALSE(section.ok());
    EXPECT_EQ(section.error.section, "org2");
    EXPECT_NE(section.error.message.find("[org2]"), std::string::npos);
}

TEST(ConfigTextTest, MissingKeyIsAnErrorNamingKeyAndSection) {
    const LayoutResult<ConfigSection> section = ParseConfigText(Section("Size_A=1\r\n"), "org1");
    ASSERT_TRUE(section.ok());
    const LayoutResult<int> value = section.value->ReadInt("Btn_A1_X");
    ASSERT_FALSE(value.ok());
    EXPECT_EQ(value.error.key, "Btn_A1_X");
    EXPECT_EQ(value.error.section, "org1");
    EXPECT_NE(value.error.message.find("Btn_A1_X"), std::string::npos);
    EXPECT_NE(value.error.message.find("[org1]"), std::string::npos);
    EXPECT_FALSE(section.value->ReadEnable("Btn_A1_Enable").ok());
}

struct BadNumberCase {
    const char* name;
    const char* value;
};

class NotANumberTest : public ::testing::TestWithParam<BadNumberCase> {};

TEST_P(NotANumberTest, IsAnErrorNamingKeyAndValue) {
    const std::string text = Section(std::string("Key_Width=") + GetParam().value + "\r\n");
    const LayoutResult<ConfigSection> section = ParseConfigText(text, "org1");
    ASSERT_TRUE(section.ok());
    const LayoutResult<int> value = section.value->ReadInt("Key_Width");
    ASSERT_FALSE(value.ok());
    EXPECT_EQ(value.error.key, "Key_Width");
    EXPECT_EQ(value.error.section, "org1");
    EXPECT_NE(value.error.message.find("not a number"), std::string::npos);
    // An enable key must be a number as well.
    EXPECT_FALSE(section.value->ReadEnable("Key_Width").ok());
}

INSTANTIATE_TEST_SUITE_P(
    Values, NotANumberTest,
    ::testing::Values(BadNumberCase{"Empty", ""}, BadNumberCase{"Word", "wide"},
                      BadNumberCase{"TrailingLetters", "170px"}, BadNumberCase{"Fraction", "1.5"},
                      BadNumberCase{"Hex", "0x10"}, BadNumberCase{"InnerBlank", "1 70"},
                      BadNumberCase{"TwoSigns", "+-5"}, BadNumberCase{"TooLarge", "99999999999"}),
    [](const auto& param_info) { return std::string(param_info.param.name); });

TEST(ConfigTextTest, ReadStringKeepsEmptyValuesAndReportsMissingOnes) {
    const LayoutResult<ConfigSection> section =
        ParseConfigText("[org]\r\nPath=\r\nWeb = https://a.example.org/x=1 \r\n", "org");
    ASSERT_TRUE(section.ok());
    EXPECT_EQ(*section.value->ReadString("Path").value, "");
    // Only the first "=" separates name and value.
    EXPECT_EQ(*section.value->ReadString("Web").value, "https://a.example.org/x=1");
    EXPECT_FALSE(section.value->ReadString("Special_Config").ok());
}

}  // namespace
}  // namespace velq
