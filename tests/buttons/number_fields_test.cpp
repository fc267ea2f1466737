#include "buttons/number_fields.h"

#include <gtest/gtest.h>

#include <limits>
#include <optional>
#include <string>
#include <utility>
#include <vector>

namespace velq {
namespace {

TEST(NumberFieldsTest, KeyFilters) {
    struct Case {
        const char* text;
        bool delay;
        bool value;
    };
    const std::vector<Case> cases = {
        {"", true, true},     {"0123456789", true, true}, {"-12", false, true},
        {"5-3", false, true}, {"1.5", false, false},      {"+1", false, false},
        {" 1", false, false}, {"a", false, false},        {"\xD9\xA3", false, false},  // Arabic 3
    };
    for (const Case& c : cases) {
        EXPECT_EQ(DelayFieldAccepts(c.text), c.delay) << c.text;
        EXPECT_EQ(ValueFieldAccepts(c.text), c.value) << c.text;
    }
}

TEST(NumberFieldsTest, FieldNumber) {
    constexpr int kMax = std::numeric_limits<int>::max();
    constexpr int kMin = std::numeric_limits<int>::min();
    struct Case {
        const char* text;
        std::optional<int> number;
    };
    const std::vector<Case> cases = {
        {"0", 0},
        {"007", 7},
        {"-0", 0},
        {"-128", -128},
        {"99999999999999999999", kMax},  // still a number, far out of every range
        {"-99999999999999999999", kMin},
        {"", std::nullopt},
        {"-", std::nullopt},
        {"1-", std::nullopt},
        {"5-3", std::nullopt},
        {"--1", std::nullopt},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(FieldNumber(c.text), c.number) << c.text;
    }
}

TEST(NumberFieldsTest, DelayChangeRule) {
    struct Case {
        const char* typed;
        const char* shown;
    };
    const std::vector<Case> cases = {
        {"3000", "2040"}, {"2040", "2040"}, {"2041", "2040"},        {"", "0"},
        {"0", "0"},       {"05", "05"},     {"99999999999", "2040"},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(CorrectDelayText(c.typed), c.shown) << c.typed;
    }
}

TEST(NumberFieldsTest, ValueChangeRule) {
    struct Case {
        const char* typed;
        const char* shown;
    };
    const std::vector<Case> cases = {
        {"-200", "-128"},
        {"300", "127"},
        {"128", "127"},
        {"127", "127"},
        {"-128", "-128"},
        {"-129", "-128"},
        {"-", "-"},
        {"", "0"},
        {"-5", "-5"},
        {"1-", "1-"},
        {"5-3", "5-3"},
        {"--", "--"},
        {"-99999999999", "-128"},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(CorrectValueText(c.typed), c.shown) << c.typed;
    }
}

TEST(NumberFieldsTest, FireKeyFieldRules) {
    struct Case {
        const char* typed;
        const char* count;         // clicks per press
        const char* wait;          // the advanced page's wait
        const char* factory_wait;  // the factory page's wait
    };
    const std::vector<Case> cases = {
        {"", "2", "0", "100"},        {"0", "1", "0", "0"},
        {"1", "1", "1", "1"},         {"255", "255", "255", "255"},
        {"256", "255", "255", "255"}, {"300", "255", "255", "255"},
        {"-5", "1", "0", "0"},        {"99999999999", "255", "255", "255"},
        {"07", "07", "07", "07"},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(CorrectFireCountText(c.typed), c.count) << c.typed;
        EXPECT_EQ(CorrectFireWaitText(c.typed), c.wait) << c.typed;
        EXPECT_EQ(CorrectFactoryFireWaitText(c.typed), c.factory_wait) << c.typed;
    }
}

// The vendor and product code fields: empty and above 255 give "255".
TEST(NumberFields, DeviceCodeFieldsHoldAByteAndAnEmptyFieldIs255) {
    const std::pair<const char*, const char*> cases[] = {
        {"", "255"}, {"0", "0"}, {"18", "18"}, {"255", "255"}, {"256", "255"}, {"300", "255"},
    };
    for (const auto& [typed, shown] : cases) {
        EXPECT_EQ(CorrectDeviceCodeText(typed), shown) << typed;
    }
}

}  // namespace
}  // namespace velq
