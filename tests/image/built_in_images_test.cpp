#include "image/built_in_images.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <span>

#include "common/checksum.h"
#include "image/sections.h"

namespace velq {
namespace {

class BuiltInImagesTest : public ::testing::Test {
protected:
    static void SetUpTestSuite() {
        images_ = new DefaultImages;
        const DefaultImagesResult result = LoadDefaultImages(*images_);
        ASSERT_TRUE(result) << result.error;
    }
    static void TearDownTestSuite() { delete images_; }
    static const DataBuf& Image(int n) { return images_->eeprom[static_cast<std::size_t>(n)]; }
    static DefaultImages* images_;
};
DefaultImages* BuiltInImagesTest::images_ = nullptr;

bool ChecksumHolds(std::span<const uint8_t> image, std::size_t from, std::size_t covered) {
    return SectionChecksum(image.subspan(from, covered)) == image[from + covered];
}

bool AllEqual(std::span<const uint8_t> bytes, uint8_t value) {
    return std::all_of(bytes.begin(), bytes.end(), [value](uint8_t b) { return b == value; });
}

TEST_F(BuiltInImagesTest, EverySectionChecksumIsValid) {
    for (int n = 0; n < kEepromDefaultImages; ++n) {
        const std::span<const uint8_t> image(Image(n));
        EXPECT_TRUE(ChecksumHolds(image, 0x000, 47)) << "A of image " << n;
        EXPECT_TRUE(ChecksumHolds(image, 0x040, 54)) << "profile of image " << n;
        EXPECT_TRUE(ChecksumHolds(image, 0x0F0, 10)) << "fire key of image " << n;
        SectionCopies copies;
        FillSectionCopies(Image(n), copies);
        EXPECT_FALSE(CheckParameterBSection(copies.parameter_b)) << "B of image " << n;
        // Loading the image and reading it back gives the same bytes.
        DataBuf stored = Image(n);
        StoreSectionCopies(copies, stored);
        EXPECT_EQ(stored, Image(n)) << "image " << n;
    }
    for (int n = 0; n < kDriverDefaultImages; ++n) {
        const std::span<const uint8_t> image(images_->Driver(n));
        EXPECT_TRUE(ChecksumHolds(image, 0, 47)) << "A of driver image " << n;
        EXPECT_TRUE(ChecksumHolds(image, 64, 54)) << "profile of driver image " << n;
        EXPECT_TRUE(ChecksumHolds(image, 242, 10)) << "fire key of driver image " << n;
    }
}

TEST_F(BuiltInImagesTest, ImageZeroTellingBytes) {
    const DataBuf& image = Image(0);
    EXPECT_EQ(image[0x000], 0x44);
    EXPECT_EQ(image[0x02F], 0x70);
    EXPECT_EQ(image[0x036], 0xFF);  // the expected device codes
    EXPECT_EQ(image[0x037], 0xFF);
    EXPECT_EQ(image[0x058], 0x06);  // profile 1 button 9: fire key 06 00 F0
    EXPECT_EQ(image[0x05A], 0xF0);
    EXPECT_EQ(image[0x076], 0x06);
    EXPECT_EQ(image[0x07F], 0x99);
    EXPECT_EQ(image[0x0F2], 0xFF);
    EXPECT_EQ(image[0x0FA], 0x93);
    EXPECT_EQ(image[0x0FF], 0xFF);
    const std::span<const uint8_t> bytes(image);
    EXPECT_TRUE(AllEqual(bytes.subspan(0x100, 0x400), 0xFF));
    EXPECT_TRUE(AllEqual(bytes.subspan(0x500, 0x100), 0x00));
    EXPECT_TRUE(AllEqual(bytes.subspan(0x600, 0x200), 0xFF));
}

// Images are compared with image 0 byte by byte; every difference must be listed.
TEST_F(BuiltInImagesTest, ImagesDifferFromImageZeroOnlyWhereListed) {
    struct Difference {
        std::size_t address;
        uint8_t value;
    };
    struct Case {
        int image;
        std::vector<Difference> parameter_differences;
        int macro_fill;  // -1: as image 0
    };
    const std::vector<Difference> reset_image = {{0x000, 0x45}, {0x00B, 0x0A}, {0x032, 0x42},
                                                 {0x033, 0xBD}, {0x0F2, 0x02}, {0x0FA, 0x96}};
    std::vector<Difference> led_image;
    for (std::size_t base : {0x04Fu, 0x06Au}) {
        const uint8_t buttons[] = {0x02, 0x08, 0x07, 0x05, 0x00, 0x00, 0x10, 0x00, 0x00};
        for (std::size_t i = 0; i < 9; ++i) {
            led_image.push_back({base + i, buttons[i]});
        }
    }
    led_image.push_back({0x076, 0xDA});
    const Case cases[] = {
        {1, reset_image, 0x00}, {2, reset_image, 0x00}, {3, {}, -1}, {4, led_image, -1}};
    for (const Case& c : cases) {
        DataBuf expected = Image(0);
        for (const Difference& d : c.parameter_differences) {
            expected[d.address] = d.value;
        }
        if (c.macro_fill >= 0) {
            std::fill(expected.begin() + 0x100, expected.end(), static_cast<uint8_t>(c.macro_fill));
        }
        for (std::size_t i = 0; i < expected.size(); ++i) {
            ASSERT_EQ(Image(c.image)[i], expected[i]) << "image " << c.image << " address " << i;
        }
    }
}

TEST_F(BuiltInImagesTest, DriverImagesHoldTheDriverLayout) {
    const std::vector<uint8_t>& image = images_->Driver(0);
    ASSERT_EQ(image.size(), kDriverImageSize);
    EXPECT_EQ(image[0x001], 0xFE);
    EXPECT_EQ(image[0x003], 0x28);
    EXPECT_EQ(image[0x02F], 0x7A);
    EXPECT_EQ(image[0x076], 0xC4);
    EXPECT_EQ(image[0x07F], 0x98);
    const std::vector<uint8_t> state(image.begin() + 160, image.begin() + 164);
    EXPECT_EQ(state, (std::vector<uint8_t>{0x03, 0x06, 0xFF, 0xFF}));
    const std::vector<uint8_t> record(image.begin() + 0xF0, image.begin() + 0x102);
    EXPECT_EQ(record, (std::vector<uint8_t>{0x00, 0x00, 0x0A, 0xFD, 0x02, 0xA1, 0xFE, 0x03, 0x21,
                                            0xFE, 0x06, 0xFC, 0x96, 0xFF, 0xFD, 0xFF, 0xFF, 0xFF}));
    // Bytes 0x000..0x0EF not listed as changed are those of image 1.
    for (std::size_t i = 0; i < 0xF0; ++i) {
        const bool changed = i == 0x001 || i == 0x003 || i == 0x02F || (i >= 0x064 && i <= 0x076) ||
                             i == 0x07F || (i >= 0xA0 && i < 0xA4);
        if (!changed) {
            ASSERT_EQ(image[i], Image(1)[i]) << "address " << i;
        }
    }
    EXPECT_TRUE(AllEqual(std::span<const uint8_t>(image).subspan(0x102), 0x00));
    EXPECT_EQ(images_->Driver(1), image);
    EXPECT_EQ(images_->Driver(2), image);
    EXPECT_EQ(&images_->Driver(7), &images_->Driver(0));  // other numbers count as image 0
}

TEST(BuiltInImage, MacroLibraryDefaultIsEmpty) {
    const ImageTextResult library = LoadBuiltInImage(BuiltInImage::kPCMacroData);
    ASSERT_TRUE(library) << library.error;
    EXPECT_EQ(library.bytes.size(), 27200u);
    EXPECT_TRUE(AllEqual(library.bytes, 0x00));
}

}  // namespace
}  // namespace velq
