#include "buttons/fire_key_rule.h"

#include <gtest/gtest.h>

#include <array>

#include "buttons/function_code.h"

namespace velq {
namespace {

// A profile section built from the texts, as the pages keep it.
class FireKeyRuleTest : public ::testing::Test {
protected:
    void SetUp() override {
        profile1_.fill("010100");
        profile2_.fill("010100");
        profile1_[2] = "0600F0";
        profile2_[8] = "0600F0";
        profile2_[3] = "060120";  // a driver macro: not the fire key
        StoreAll();
    }

    void StoreAll() {
        for (std::size_t b = 0; b < kButtonsPerProfile; ++b) {
            StoreCode(*ParseCodeText(profile1_[b]), Code(0, b));
            StoreCode(*ParseCodeText(profile2_[b]), Code(kProfile2Offset, b));
        }
        section_[54] = 0x77;
    }

    std::span<uint8_t, 3> Code(std::size_t offset, std::size_t b) {
        return std::span<uint8_t, 3>(section_.data() + offset + 3 * b, 3);
    }

    std::string TextAt(std::size_t offset, std::size_t b) {
        return CodeText(CodeFromBytes(Code(offset, b)));
    }

    ProfileKeys profile1_;
    ProfileKeys profile2_;
    std::array<uint8_t, kProfileSectionSize> section_{};
};

TEST_F(FireKeyRuleTest, ContinuousFireStoresTheHoldType) {
    const auto before = section_;
    ApplyFireKeyStopRule(profile1_, profile2_, section_, true);
    EXPECT_EQ(TextAt(0, 2), "0E00F0");
    EXPECT_EQ(TextAt(kProfile2Offset, 8), "0E00F0");
    EXPECT_EQ(profile1_[2], "0600F0");  // the texts are not touched
    // Nothing else changes, including the macro button and the checksum byte.
    for (std::size_t i = 0; i < section_.size(); ++i) {
        if (i != 6 && i != kProfile2Offset + 24) {
            EXPECT_EQ(section_[i], before[i]) << i;
        }
    }
    ApplyFireKeyStopRule(profile1_, profile2_, section_, false);
    EXPECT_EQ(section_, before);
}

TEST_F(FireKeyRuleTest, ReadBackTakesTheHoldFormAsTheFireKey) {
    ApplyFireKeyStopRule(profile1_, profile2_, section_, true);
    profile1_[2] = TextAt(0, 2);
    profile2_[8] = TextAt(kProfile2Offset, 8);
    ASSERT_EQ(profile1_[2], "0E00F0");

    EXPECT_TRUE(TakeStoredFireKeys(profile1_, profile2_, section_));
    EXPECT_EQ(profile1_[2], "0600F0");
    EXPECT_EQ(profile2_[8], "0600F0");
    EXPECT_EQ(TextAt(0, 2), "0600F0");
    EXPECT_EQ(TextAt(kProfile2Offset, 8), "0600F0");
    EXPECT_EQ(profile2_[3], "060120");

    EXPECT_FALSE(TakeStoredFireKeys(profile1_, profile2_, section_));
}

}  // namespace
}  // namespace velq
