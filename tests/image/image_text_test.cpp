#include "image/image_text.h"

#include <gtest/gtest.h>

#include <map>
#include <string>
#include <vector>

namespace velq {
namespace {

ImageTextResult Parse(std::string_view text,
                      const std::map<std::string, std::string>& others = {}) {
    return ParseImageText("test", text, [&others](std::string_view name) -> std::string_view {
        const auto found = others.find(std::string(name));
        return found == others.end() ? std::string_view{} : std::string_view(found->second);
    });
}

TEST(ImageText, DirectivesBuildTheImageInOrder) {
    const std::map<std::string, std::string> others = {
        {"other", "size 8\n0: 10 11 12 13 14 15 16 17\n"},
    };
    const ImageTextResult result = Parse(
        "# a comment line\n"
        "size 12\n"
        "fill 4-B ee   # trailing comment\n"
        "copy other 1-2\n"
        "6: 01 02\n"
        "  7: 0A\r\n",
        others);
    ASSERT_TRUE(result) << result.error;
    EXPECT_EQ(result.bytes, (std::vector<uint8_t>{0x00, 0x11, 0x12, 0x00, 0xEE, 0xEE, 0x01, 0x0A,
                                                  0xEE, 0xEE, 0xEE, 0xEE}));

    const ImageTextResult based = Parse("base other\n7: FF\n", others);
    ASSERT_TRUE(based) << based.error;
    EXPECT_EQ(based.bytes, (std::vector<uint8_t>{0x10, 0x11, 0x12, 0x13, 0x14, 0x15, 0x16, 0xFF}));
}

TEST(ImageText, MistakesAreErrorsWithTheLine) {
    const std::map<std::string, std::string> others = {
        {"loop", "base loop\n"},
        {"small", "size 2\n"},
    };
    struct Case {
        const char* text;
        const char* expected_in_error;
    };
    const Case cases[] = {
        {"0: 01\n", "line 1: 'size' or 'base' must come first"},
        {"# nothing\n", "no size"},
        {"size 4\nsize 4\n", "line 2"},
        {"size 0\n", "bad size"},
        {"size 4x\n", "bad size"},
        {"size 4\n3: 01 02\n", "line 2: bytes beyond the end"},
        {"size 4\n0: 1G\n", "bad byte '1G'"},
        {"size 4\n0: 100\n", "bad byte '100'"},
        {"size 4\n0:\n", "address without bytes"},
        {"size 4\nZ: 01\n", "bad address"},
        {"size 4\nfill 0-4 00\n", "fill beyond the end"},
        {"size 4\nfill 3-1 00\n", "bad fill"},
        {"size 4\nfill 0-1\n", "bad fill"},
        {"size 4\nputs 0 1\n", "unknown directive 'puts'"},
        {"base missing\n", "no image 'missing'"},
        {"base loop\n", "too deeply"},
        {"size 4\ncopy small 0-3\n", "copy beyond the end"},
    };
    for (const Case& c : cases) {
        const ImageTextResult result = Parse(c.text, others);
        EXPECT_FALSE(result) << c.text;
        EXPECT_TRUE(result.bytes.empty()) << c.text;
        EXPECT_NE(result.error.find(c.expected_in_error), std::string::npos)
            << c.text << " gave: " << result.error;
        EXPECT_EQ(result.error.rfind("test", 0), 0u) << result.error;  // names the image
    }
}

}  // namespace
}  // namespace velq
