#include <gtest/gtest.h>

#include "fire/fire_fields.h"

namespace velq {
namespace {

TEST(FireFields, CorrectTheirTextThenStore) {
    struct Case {
        FireParam param;
        const char* typed;
        FireFieldValue want;
    };
    const Case cases[] = {
        // Count: empty and 0 are one pass, above 256 the endless value.
        {FireParam::kCount, "300", {"256", 256}},
        {FireParam::kCount, "", {"1", 1}},
        {FireParam::kCount, "0", {"1", 1}},
        {FireParam::kCount, "010", {"10", 10}},
        {FireParam::kCount, "99999999999999999999", {"256", 256}},
        // X: a lone minus waits for its digits; both ends of a signed byte.
        {FireParam::kX, "-", {"-", std::nullopt}},
        {FireParam::kX, "", {"0", 0}},
        {FireParam::kX, "128", {"127", 127}},
        {FireParam::kX, "-129", {"-128", -128}},
        {FireParam::kX, "-7", {"-7", -7}},
        // Y: only a pull down is typed.
        {FireParam::kY, "", {"0", 0}},
        {FireParam::kY, "200", {"127", 127}},
        {FireParam::kY, "-3", {"0", 0}},
        // Time: 8 ms units up to 2040 ms (what is stored is the value div 8).
        {FireParam::kTime, "2047", {"2040", 2040}},
        {FireParam::kTime, "15", {"15", 15}},
        {FireParam::kTime, "", {"0", 0}},
        // A pasted text that is no number counts as empty.
        {FireParam::kTime, "1a", {"0", 0}},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(NormaliseFireField(c.param, c.typed), c.want)
            << static_cast<int>(c.param) << " '" << c.typed << "'";
    }
}

TEST(FireFields, YAdjustmentKeepsYPlusAdjustmentASignedByte) {
    struct Case {
        const char* typed;
        int y;
        FireFieldValue want;
    };
    const Case cases[] = {
        {"50", 100, {"27", 27}},      // 100 + 50 would pass 127
        {"-200", 0, {"-128", -128}},  // held to a signed byte first
        {"-100", -60, {"-68", -68}},  // a Y read from the mouse may be negative
        {"27", 100, {"27", 27}},      // exactly the largest sum
        {"-", 100, {"-", std::nullopt}}, {"", 100, {"0", 0}}, {"300", 0, {"127", 127}},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(NormaliseFireYAdjustment(c.typed, c.y), c.want) << c.typed << " with Y " << c.y;
    }
}

}  // namespace
}  // namespace velq
