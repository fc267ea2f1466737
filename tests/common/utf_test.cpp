#include "common/utf.h"

#include <gtest/gtest.h>

#include <vector>

namespace velq {
namespace {

TEST(Utf, LenientConversionsBothWays) {
    struct Case {
        std::string utf8;
        std::u16string utf16;
    };
    const Case cases[] = {
        {"Macro", u"Macro"},
        {"Escritório", u"Escritório"},
        {"宏一", u"宏一"},
        {"\xF0\x9F\x98\x80", u"\U0001F600"},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(Utf8ToUtf16(c.utf8), c.utf16);
        EXPECT_EQ(Utf16ToUtf8(c.utf16), c.utf8);
    }
    EXPECT_EQ(Utf8ToUtf16("A\xC3"), u"A\uFFFD");          // cut sequence
    EXPECT_EQ(Utf8ToUtf16("\xC0\xAF"), u"\uFFFD\uFFFD");  // overlong
    EXPECT_EQ(Utf8ToUtf16("\xED\xA0\x80x"), u"\uFFFD\uFFFD\uFFFDx");
    EXPECT_EQ(Utf16ToUtf8(std::u16string(1, char16_t{0xD800})), "\xEF\xBF\xBD");
}

TEST(Utf, StrictDecodingOfLittleEndianUnits) {
    const std::vector<uint8_t> text = {'O', 0, 0xE1, 0, 0x2D, 0x4E, 0x3D, 0xD8, 0x00, 0xDE};
    const Utf16DecodeResult decoded = DecodeUtf16Le(text);
    ASSERT_TRUE(decoded) << decoded.error;
    EXPECT_EQ(decoded.text, "O\xC3\xA1\xE4\xB8\xAD\xF0\x9F\x98\x80");
    const std::vector<uint8_t> odd = {'O', 0, 'k'};
    EXPECT_FALSE(DecodeUtf16Le(odd));
    const std::vector<uint8_t> unpaired = {0x3D, 0xD8, 'x', 0};
    const Utf16DecodeResult broken = DecodeUtf16Le(unpaired);
    EXPECT_FALSE(broken);
    EXPECT_NE(broken.error.find("surrogate"), std::string::npos);
}

}  // namespace
}  // namespace velq
