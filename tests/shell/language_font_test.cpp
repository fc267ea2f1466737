#include "shell/language_font.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <set>

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

}  // namespace
}  // namespace velq
