#include "image/sections.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <vector>

namespace velq {
namespace {

TEST(SectionDefaults, ChecksumsOfTheDefaultSections) {
    EXPECT_EQ(DefaultParameterASection()[47], 0x79);
    EXPECT_EQ(DefaultFireKeySection(),
              (FireKeySection{0x0A, 0xFD, 0x02, 0xA1, 0xFE, 0x03, 0x21, 0xFE, 0x64, 0xFC, 0x70}));

    const ProfileSection profile = DefaultProfileSection();
    const std::vector<uint8_t> buttons = {0x01, 0x01, 0x00, 0x01, 0x04, 0x00, 0x01, 0x02, 0x00,
                                          0x01, 0x08, 0x00, 0x01, 0x10, 0x00, 0x05, 0x00, 0x00,
                                          0x0F, 0x00, 0x00, 0x02, 0x08, 0x07, 0x09, 0x00, 0x00};
    EXPECT_TRUE(std::equal(buttons.begin(), buttons.end(), profile.begin()));
    EXPECT_TRUE(std::equal(buttons.begin(), buttons.end(), profile.begin() + 0x1B));
    ProfileSection recomputed = profile;
    StoreProfileChecksum(recomputed);
    EXPECT_EQ(recomputed, profile);
}

TEST(SectionChecks, ValidSectionsAreKeptAsTheyAre) {
    ParameterASection a = DefaultParameterASection();
    a[0x08] = 0x0B;  // any content passes with a matching checksum
    StoreParameterAChecksum(a);
    const ParameterASection before = a;
    EXPECT_FALSE(CheckParameterASection(a));
    EXPECT_EQ(a, before);

    ProfileSection profile = DefaultProfileSection();
    profile[0] = 0x07;
    StoreProfileChecksum(profile);
    EXPECT_FALSE(CheckProfileSection(profile));
    EXPECT_EQ(profile[0], 0x07);

    FireKeySection fire_key = DefaultFireKeySection();
    fire_key[2] = 0xFF;
    StoreFireKeyChecksum(fire_key);
    EXPECT_FALSE(CheckFireKeySection(fire_key));
    EXPECT_EQ(fire_key[2], 0xFF);
}

TEST(SectionChecks, ABadChecksumRestoresTheWholeDefault) {
    ParameterASection a;
    a.fill(0xFF);  // a read that failed leaves 0xFF
    EXPECT_TRUE(CheckParameterASection(a));
    EXPECT_EQ(a, DefaultParameterASection());

    // 54 bytes of 0xFF sum to 0xCA, checksum 0x90: an erased profile is not valid.
    ProfileSection profile;
    profile.fill(0xFF);
    EXPECT_TRUE(CheckProfileSection(profile));
    EXPECT_EQ(profile, DefaultProfileSection());

    FireKeySection fire_key = DefaultFireKeySection();
    fire_key[8] = 0x65;  // interval changed, checksum not
    EXPECT_TRUE(CheckFireKeySection(fire_key));
    EXPECT_EQ(fire_key, DefaultFireKeySection());
}

TEST(SectionChecks, ParameterBResetsOnlyTheFailingPairs) {
    struct Case {
        const char* what;
        ParameterBSection in;
        ParameterBSection out;
    };
    const Case cases[] = {
        {"all pairs valid",
         {0x02, 0xFD, 0x22, 0xDD, 0x80, 0x7F, 0x12, 0x34},
         {0x02, 0xFD, 0x22, 0xDD, 0x80, 0x7F, 0x12, 0x34}},
        {"level pair broken",
         {0x02, 0xFC, 0x22, 0xDD, 0x80, 0x7F, 0x12, 0x34},
         {0x01, 0xFE, 0x22, 0xDD, 0x80, 0x7F, 0x12, 0x34}},
        {"LED pair broken",
         {0x02, 0xFD, 0x22, 0xDE, 0x80, 0x7F, 0x12, 0x34},
         {0x02, 0xFD, 0x01, 0xFE, 0x80, 0x7F, 0x12, 0x34}},
        {"key mode pair broken",
         {0x02, 0xFD, 0x22, 0xDD, 0x80, 0x80, 0x12, 0x34},
         {0x02, 0xFD, 0x22, 0xDD, 0x00, 0xFF, 0x12, 0x34}},
        {"erased",
         {0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF},
         {0x01, 0xFE, 0x01, 0xFE, 0x00, 0xFF, 0xFF, 0xFF}},
    };
    for (const Case& c : cases) {
        ParameterBSection b = c.in;
        EXPECT_EQ(CheckParameterBSection(b), c.in != c.out) << c.what;
        EXPECT_EQ(b, c.out) << c.what;
    }
}

DataBuf ErasedImage() {
    DataBuf image;
    image.fill(0xFF);
    return image;
}

TEST(SectionCopiesTest, FillingFromAnErasedImageRepairsEveryCheckedSection) {
    const DataBuf image = ErasedImage();
    SectionCopies copies;
    EXPECT_EQ(FillSectionCopies(image, copies), (SectionRepairs{true, true, true, true}));
    EXPECT_EQ(copies.parameter_a, DefaultParameterASection());
    EXPECT_EQ(copies.parameter_b, (ParameterBSection{1, 0xFE, 1, 0xFE, 0, 0xFF, 0xFF, 0xFF}));
    EXPECT_EQ(copies.profile, DefaultProfileSection());
    EXPECT_EQ(copies.fire_key, DefaultFireKeySection());
    // The fire tables carry no check and are copied as they are.
    EXPECT_TRUE(std::all_of(copies.fire_entry.begin(), copies.fire_entry.end(),
                            [](uint8_t b) { return b == 0xFF; }));
    EXPECT_TRUE(std::all_of(copies.fire_color.begin(), copies.fire_color.end(),
                            [](uint8_t b) { return b == 0xFF; }));
}

// Each checked section that fails is named, and only it; the fire tables carry no check.
TEST(SectionCopiesTest, FillSaysWhichSectionsWereRepaired) {
    SectionCopies valid;
    valid.parameter_a = DefaultParameterASection();
    valid.parameter_b = {1, 0xFE, 1, 0xFE, 0, 0xFF, 0xFF, 0xFF};
    valid.profile = DefaultProfileSection();
    valid.fire_key = DefaultFireKeySection();
    DataBuf sound = ErasedImage();
    StoreSectionCopies(valid, sound);
    struct Case {
        const char* name;
        std::vector<std::size_t> changed;  // one bit each
        SectionRepairs repaired;
    };
    const Case cases[] = {
        {"none", {}, {}},
        {"A", {0x06}, {true, false, false, false}},
        {"a pair of B", {0x33}, {false, true, false, false}},
        {"profile", {0x5B}, {false, false, true, false}},
        {"fire key", {0xF8}, {false, false, false, true}},
        {"A and the fire key", {0x2F, 0xFA}, {true, false, false, true}},
        {"fire tables", {0x80, 0xB0, 0xD0}, {}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        DataBuf image = sound;
        for (std::size_t at : c.changed) {
            image[at] ^= 0x01;
        }
        SectionCopies copies;
        EXPECT_EQ(FillSectionCopies(image, copies), c.repaired);
    }
}

TEST(SectionCopiesTest, FillTakesEachSectionFromItsAddress) {
    DataBuf image = ErasedImage();
    for (std::size_t i = 0; i < image.size(); ++i) {
        image[i] = static_cast<uint8_t>(i * 7 + 3);
    }
    SectionCopies copies;
    FillSectionCopies(image, copies);
    EXPECT_EQ(copies.fire_entry[0], image[0x080]);
    EXPECT_EQ(copies.fire_entry[29], image[0x09D]);
    EXPECT_EQ(copies.fire_y_offset[0], image[0x0B0]);
    EXPECT_EQ(copies.fire_y_offset[19], image[0x0C3]);
    EXPECT_EQ(copies.fire_color[0], image[0x0D0]);
    EXPECT_EQ(copies.fire_color[29], image[0x0ED]);
}

TEST(SectionCopiesTest, StoreWritesSectionsWithChecksumsAndKeepsEverythingElse) {
    DataBuf image = ErasedImage();
    for (std::size_t i = 0; i < image.size(); ++i) {
        image[i] = static_cast<uint8_t>(i);
    }
    const DataBuf before = image;
    SectionCopies copies;
    copies.parameter_a = DefaultParameterASection();
    copies.parameter_a[0x02] = 0x07;  // checksum now stale
    copies.parameter_b = {1, 0xFE, 1, 0xFE, 0, 0xFF, 0x3A, 0x7B};
    copies.profile = DefaultProfileSection();
    copies.profile[0] = 0x02;
    copies.fire_entry.fill(0x11);
    copies.fire_y_offset.fill(0x22);
    copies.fire_color.fill(0x33);
    copies.fire_key = DefaultFireKeySection();
    copies.fire_key[8] = 0x20;
    StoreSectionCopies(copies, image);

    SectionCopies back;
    EXPECT_FALSE(FillSectionCopies(image, back));  // every checksum passes: nothing repaired
    EXPECT_EQ(back.parameter_a[0x02], 0x07);
    EXPECT_EQ(back.profile[0], 0x02);
    EXPECT_EQ(back.fire_key[8], 0x20);
    EXPECT_EQ(image[0x036], 0x3A);
    EXPECT_EQ(image[0x037], 0x7B);

    const std::vector<std::pair<std::size_t, std::size_t>> untouched = {
        {0x038, 0x040}, {0x077, 0x080}, {0x09E, 0x0B0},
        {0x0C4, 0x0D0}, {0x0EE, 0x0F0}, {0x0FB, 0x800}};
    for (const auto& [from, to] : untouched) {
        for (std::size_t i = from; i < to; ++i) {
            ASSERT_EQ(image[i], before[i]) << "address " << i;
        }
    }
}

}  // namespace
}  // namespace velq
