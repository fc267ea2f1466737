#include "shell/language_font.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <set>
#include <span>

namespace velq {
namespace {

size_t Position(const std::vector<std::string>& families, std::string_view family) {
    return static_cast<size_t>(std::find(families.begin(), families.end(), family) -
                               families.begin());
}

TEST(FontFamiliesTest, NamedFaceFirstThenItsSubstitute) {
    struct Case {
        const char* face;
        const char* substitute;  // the family that must come right after the named face
    };
    const Case cases[] = {
        {"Calibri", "Carlito"},
        {"宋体", "SimSun"},
        {"MS Sans Serif", "Liberation Sans"},
        {"Tahoma", "Liberation Sans"},
    };
    for (const Case& c : cases) {
        const std::vector<std::string> families = FontFamiliesFor(c.face);
        ASSERT_GE(families.size(), 3u) << c.face;
        EXPECT_EQ(families[0], c.face);
        EXPECT_EQ(families[1], c.substitute) << c.face;
    }
}

TEST(FontFamiliesTest, EveryListCanShowChinese) {
    for (const char* face : {"Calibri", "宋体", "SimSun", "MS Sans Serif", "Tahoma", ""}) {
        const std::vector<std::string> families = FontFamiliesFor(face);
        EXPECT_LT(Position(families, "Noto Sans CJK SC"), families.size()) << face;
        EXPECT_EQ(std::set<std::string>(families.begin(), families.end()).size(), families.size())
            << face << ": a family listed twice";
        EXPECT_EQ(Position(families, ""), families.size()) << face << ": an empty family";
    }
}

TEST(FontFamiliesTest, SongFaceKeepsItsSerifStyleBeforeSans) {
    const std::vector<std::string> families = FontFamiliesFor("宋体");
    EXPECT_LT(Position(families, "Noto Serif CJK SC"), Position(families, "Noto Sans CJK SC"));
    EXPECT_LT(Position(families, "AR PL UMing CN"), Position(families, "WenQuanYi Zen Hei"));
}

TEST(FontFamiliesTest, LanguagesTakeTheScriptOfTheirTable) {
    struct Case {
        int language;
        CaptionScript script;
    };
    const Case cases[] = {
        {1, CaptionScript::kLatin},
        {2, CaptionScript::kSimplifiedChinese},
        {3, CaptionScript::kTraditionalChinese},
        {0, CaptionScript::kLatin},
        {4, CaptionScript::kLatin},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(CaptionScriptOf(c.language), c.script) << c.language;
    }
}

// Families drawn in one region's forms; a Traditional caption shown in a Simplified face (or the
// reverse) takes the other region's glyphs.
const char* const kTraditionalFamilyNames[] = {"PMingLiU",       "Noto Serif CJK TC",
                                               "AR PL UMing TW", "Noto Sans CJK TC",
                                               "AR PL UMing HK", "Source Han Serif TC"};
const char* const kSimplifiedFamilyNames[] = {"宋体",
                                              "SimSun",
                                              "Noto Serif CJK SC",
                                              "AR PL UMing CN",
                                              "Noto Sans CJK SC",
                                              "AR PL SungtiL GB",
                                              "Source Han Serif SC"};

size_t FirstOf(const std::vector<std::string>& families, std::span<const char* const> names) {
    size_t first = families.size();
    for (const char* name : names) {
        first = std::min(first, Position(families, name));
    }
    return first;
}

size_t LastOf(const std::vector<std::string>& families, std::span<const char* const> names) {
    size_t last = 0;
    for (const char* name : names) {
        if (const size_t at = Position(families, name); at < families.size()) {
            last = std::max(last, at);
        }
    }
    return last;
}

TEST(FontFamiliesTest, EachScriptLeadsWithItsOwnFamilies) {
    struct Case {
        const char* face;
        CaptionScript script;
        const char* first;  // the family the list starts with
    };
    const Case cases[] = {
        {"Calibri", CaptionScript::kLatin, "Calibri"},
        {"宋体", CaptionScript::kSimplifiedChinese, "宋体"},
        {"SimSun", CaptionScript::kSimplifiedChinese, "SimSun"},
        // 宋体 is a Simplified face: Traditional captions go to Traditional families first.
        {"宋体", CaptionScript::kTraditionalChinese, "PMingLiU"},
        {"SimSun", CaptionScript::kTraditionalChinese, "PMingLiU"},
        {"", CaptionScript::kTraditionalChinese, "PMingLiU"},
        // A Latin face keeps its letters in a Traditional table.
        {"Calibri", CaptionScript::kTraditionalChinese, "Calibri"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << c.face << " script " << static_cast<int>(c.script));
        const std::vector<std::string> families = FontFamiliesFor(c.face, c.script);
        ASSERT_FALSE(families.empty());
        EXPECT_EQ(families.front(), c.first);
        EXPECT_EQ(std::set<std::string>(families.begin(), families.end()).size(), families.size())
            << "a family listed twice";
        EXPECT_EQ(Position(families, ""), families.size()) << "an empty family";
        if (c.script == CaptionScript::kTraditionalChinese) {
            EXPECT_LT(LastOf(families, kTraditionalFamilyNames),
                      FirstOf(families, kSimplifiedFamilyNames));
            // The Simplified ones stay behind as a last resort.
            EXPECT_LT(Position(families, "Noto Sans CJK SC"), families.size());
        } else {
            EXPECT_EQ(FirstOf(families, kTraditionalFamilyNames), families.size())
                << "a Traditional family outside a Traditional table";
        }
    }
}

TEST(FontFamiliesTest, TraditionalKeepsSerifBeforeSansAndLatinFaceWithItsSubstitute) {
    const std::vector<std::string> song =
        FontFamiliesFor("宋体", CaptionScript::kTraditionalChinese);
    EXPECT_LT(Position(song, "Noto Serif CJK TC"), Position(song, "Noto Sans CJK TC"));
    EXPECT_LT(Position(song, "AR PL UMing TW"), Position(song, "Noto Sans CJK TC"));
    const std::vector<std::string> calibri =
        FontFamiliesFor("Calibri", CaptionScript::kTraditionalChinese);
    ASSERT_GE(calibri.size(), 2u);
    EXPECT_EQ(calibri[1], "Carlito");
    EXPECT_LT(Position(calibri, "Liberation Sans"), Position(calibri, "Noto Serif CJK TC"));
}

TEST(FontFamiliesTest, LatinAndSimplifiedListsAreTheFaceDefault) {
    for (const char* face : {"Calibri", "宋体", "SimSun", "MS Sans Serif", "Tahoma", ""}) {
        EXPECT_EQ(FontFamiliesFor(face, CaptionScript::kLatin), FontFamiliesFor(face)) << face;
        EXPECT_EQ(FontFamiliesFor(face, CaptionScript::kSimplifiedChinese), FontFamiliesFor(face))
            << face;
    }
}

}  // namespace
}  // namespace velq
