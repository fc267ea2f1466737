#include "image/page_transfer.h"

#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

#include "image/built_in_images.h"

namespace velq {
namespace {

// The section copies laid end to end, so one comparison covers every byte of every section.
enum Where : std::size_t {
    A = 0,
    B = A + kParameterASize,
    Profile = B + kParameterBSize,
    FireEntry = Profile + kProfileSize,
    FireY = FireEntry + kFireEntrySize,
    FireColor = FireY + kFireYOffsetSize,
    FireKey = FireColor + kFireColorSize,
    End = FireKey + kFireKeySize,
};

std::vector<uint8_t> Flatten(const SectionCopies& c) {
    std::vector<uint8_t> all;
    for (std::span<const uint8_t> s :
         {std::span<const uint8_t>(c.parameter_a), std::span<const uint8_t>(c.parameter_b),
          std::span<const uint8_t>(c.profile), std::span<const uint8_t>(c.fire_entry),
          std::span<const uint8_t>(c.fire_y_offset), std::span<const uint8_t>(c.fire_color),
          std::span<const uint8_t>(c.fire_key)}) {
        all.insert(all.end(), s.begin(), s.end());
    }
    return all;
}

const DefaultImages& Images() {
    static const DefaultImages images = [] {
        DefaultImages loaded;
        EXPECT_TRUE(LoadDefaultImages(loaded));
        return loaded;
    }();
    return images;
}

SectionCopies CopiesOf(const DataBuf& image) {
    SectionCopies copies;
    FillSectionCopies(image, copies);
    return copies;
}

TEST(PageTransfer, EveryDefaultImageSurvivesARoundTripUnchanged) {
    for (int n = 0; n < kEepromDefaultImages; ++n) {
        SectionCopies copies = CopiesOf(Images().eeprom[static_cast<std::size_t>(n)]);
        const std::vector<uint8_t> before = Flatten(copies);
        EngineeringValues values;
        ProfileKeys keys;
        DataBufToUI(copies, values, keys);
        UIToDataBuf(values, copies);
        EXPECT_EQ(Flatten(copies), before) << "image " << n;
    }
}

// One record field set on the page; exactly the listed bits of the sections change.
struct Change {
    std::size_t at;  // Where + offset
    uint8_t mask;
    uint8_t bits;
};
struct FieldCase {
    std::string name;
    int image;  // the default image the page shows before the change
    std::function<void(EngineeringValues&)> set;
    std::vector<Change> changes;
};

// Image 0: byte 0x00 = 44 (left + DPI on, orientation code 4, flowing LED), 0x01 = F8,
// 0x03 = 38 (10 lamps, full brightness), 0x04 = FF, 0x32 = 22 (mode 2, step 1), 0x34 = 00, fire
// key count FF (while held); Y offsets (0, FF). Image 1: fire key count 02.
const std::vector<FieldCase>& FieldCases() {
    using V = EngineeringValues;
    static const std::vector<FieldCase> cases = {
        {"rb_B4CPIOn", 0, [](V& v) { v.rb_B4CPIOn = true; }, {{A + 0x00, 0x01, 0x01}}},
        {"rb_FireFnOn", 0, [](V& v) { v.rb_FireFnOn = true; }, {{A + 0x00, 0x02, 0x02}}},
        {"rb_LCPIOff", 0, [](V& v) { v.rb_LCPIOn = false; }, {{A + 0x00, 0x04, 0x00}}},
        {"rb_NoSave", 0, [](V& v) { v.rb_Save = false; }, {{A + 0x00, 0x08, 0x08}}},
        {"cb_SensorOri 0 sets code 7",
         0,
         [](V& v) { v.cb_SensorOri = 0; },
         {{A + 0x00, 0x70, 0x70}}},
        {"cb_SensorOri 6 clears the code",
         0,
         [](V& v) { v.cb_SensorOri = 6; },
         {{A + 0x00, 0x70, 0x00}}},
        {"cb_SensorOri 3 is code 1", 0, [](V& v) { v.cb_SensorOri = 3; }, {{A + 0x00, 0x70, 0x10}}},
        {"cb_SensorOri out of range", 0, [](V& v) { v.cb_SensorOri = 8; }, {}},
        {"rb_RBLED",
         0,
         [](V& v) {
             v.gbLEDType = LedType::kRBLED;
             v.cb_RBLEDCurrentMode = 4;
             v.cb_Mode3 = false;  // the flowing modes are not written for this type
         },
         {{A + 0x00, 0x80, 0x80}, {B + 2, 0xFF, 0x05}, {B + 3, 0xFF, 0xFA}}},
        {"rb_SyncLED drops mode and step",
         0,
         [](V& v) { v.gbLEDType = LedType::kSyncLED; },
         {{A + 0x00, 0x80, 0x80},
          {A + 0x01, 0x18, 0x00},
          {B + 2, 0xFF, 0x00},
          {B + 3, 0xFF, 0xFF}}},
        {"rb_BreLED",
         0,
         [](V& v) { v.gbLEDType = LedType::kBreLED; },
         {{A + 0x00, 0x80, 0x80},
          {A + 0x01, 0x18, 0x10},
          {B + 2, 0xFF, 0x00},
          {B + 3, 0xFF, 0xFF}}},
        {"cb_MidPress", 0, [](V& v) { v.cb_MidPress = true; }, {{A + 0x01, 0x01, 0x01}}},
        {"cb_CPIPress", 0, [](V& v) { v.cb_CPIPress = true; }, {{A + 0x01, 0x02, 0x02}}},
        {"cb_GunPress", 0, [](V& v) { v.cb_GunPress = true; }, {{A + 0x01, 0x04, 0x04}}},
        {"cb_Smooth", 0, [](V& v) { v.cb_Smooth = false; }, {{A + 0x01, 0x20, 0x00}}},
        {"cb_CPIStep", 0, [](V& v) { v.cb_CPIStep = 5; }, {{A + 0x02, 0xFF, 0x07}}},
        {"cb_CPIStep without entry", 0, [](V& v) { v.cb_CPIStep = kNoEntry; }, {}},
        {"rb_MCULED6Control",
         0,
         [](V& v) { v.rb_MCULED3Control = false; },
         {{A + 0x03, 0x08, 0x00}}},
        {"edt_MCULEDNum 13", 0, [](V& v) { v.edt_MCULEDNum = 13; }, {{A + 0x03, 0xF0, 0x00}}},
        {"edt_MCULEDNum 4", 0, [](V& v) { v.edt_MCULEDNum = 4; }, {{A + 0x03, 0xF0, 0x90}}},
        {"edt_MCULEDNum 14", 0, [](V& v) { v.edt_MCULEDNum = 14; }, {}},
        {"edt_MCULEDNum 3", 0, [](V& v) { v.edt_MCULEDNum = 3; }, {}},
        {"cb_Mode3", 0, [](V& v) { v.cb_Mode3 = false; }, {{A + 0x04, 0x08, 0x00}}},
        {"cb_Mode7", 0, [](V& v) { v.cb_Mode7 = false; }, {{A + 0x04, 0x80, 0x00}}},
        {"cb_CPI1", 0, [](V& v) { v.cb_CPI1 = 11; }, {{A + 0x06, 0xFF, 0x0B}}},
        {"cb_CPI3 without entry stores FF",
         0,
         [](V& v) { v.cb_CPI3 = kNoEntry; },
         {{A + 0x08, 0xFF, 0xFF}}},
        {"cb_CPI7", 0, [](V& v) { v.cb_CPI7 = 0; }, {{A + 0x0C, 0xFF, 0x00}}},
        {"edt_CPI1R", 0, [](V& v) { v.edt_CPI1R = 0x12; }, {{A + 0x1A, 0xFF, 0x12}}},
        {"edt_CPI4G clamps", 0, [](V& v) { v.edt_CPI4G = 300; }, {{A + 0x24, 0xFF, 0xFF}}},
        {"edt_CPI7B", 0, [](V& v) { v.edt_CPI7B = 0x44; }, {{A + 0x2E, 0xFF, 0x44}}},
        {"cb_CurrentCPI",
         0,
         [](V& v) { v.cb_CurrentCPI = 2; },
         {{B + 0, 0xFF, 0x02}, {B + 1, 0xFF, 0xFD}}},
        {"cb_CurrentCPI without entry", 0, [](V& v) { v.cb_CurrentCPI = kNoEntry; }, {}},
        {"cb_MCULEDCurrentMode",
         0,
         [](V& v) { v.cb_MCULEDCurrentMode = 6; },
         {{B + 2, 0x07, 0x07}, {B + 3, 0x07, 0x00}}},
        {"edt_MCULEDCrtStep",
         0,
         [](V& v) { v.edt_MCULEDCrtStep = 7; },
         {{B + 2, 0xE0, 0xE0}, {B + 3, 0xE0, 0x00}}},
        {"edt_MCULEDCrtStep clamps",
         0,
         [](V& v) { v.edt_MCULEDCrtStep = 9; },
         {{B + 2, 0xE0, 0xE0}, {B + 3, 0xE0, 0x00}}},
        {"rb_LEDOff",
         0,
         [](V& v) { v.rb_LEDOn = false; },
         {{B + 2, 0x08, 0x08}, {B + 3, 0x08, 0x00}}},
        {"cb_KeyMode",
         0,
         [](V& v) { v.cb_KeyMode = 1; },
         {{B + 4, 0xFF, 0x80}, {B + 5, 0xFF, 0x7F}}},
        {"edt_VendorID", 0, [](V& v) { v.edt_VendorID = 0x3A; }, {{B + 6, 0xFF, 0x3A}}},
        {"edt_ProductID", 0, [](V& v) { v.edt_ProductID = 0x0B; }, {{B + 7, 0xFF, 0x0B}}},
        {"cb_IsFireContinue",
         1,
         [](V& v) { v.cb_IsFireContinue = true; },
         {{FireKey + 2, 0xFF, 0xFF}}},
        {"cb_FireCount", 1, [](V& v) { v.cb_FireCount = 9; }, {{FireKey + 2, 0xFF, 0x09}}},
        {"cb_FireCount 256", 1, [](V& v) { v.cb_FireCount = 255; }, {{FireKey + 2, 0xFF, 0xFF}}},
        {"cb_FireCount without entry", 1, [](V& v) { v.cb_FireCount = kNoEntry; }, {}},
        {"edt_FireTime", 0, [](V& v) { v.edt_FireTime = 0x64; }, {{FireKey + 8, 0xFF, 0x64}}},
        {"edt_YOffset1",
         0,
         [](V& v) { v.edt_YOffset1 = -16; },
         {{FireY + 0, 0xFF, 0xF0}, {FireY + 1, 0xFF, 0x0F}}},
        {"edt_YOffset2 clamps",
         0,
         [](V& v) { v.edt_YOffset2 = -200; },
         {{FireY + 2, 0xFF, 0x80}, {FireY + 3, 0xFF, 0x7F}}},
        {"edt_YOffset10",
         0,
         [](V& v) { v.edt_YOffset10 = 127; },
         {{FireY + 18, 0xFF, 0x7F}, {FireY + 19, 0xFF, 0x80}}},
        {"edt_FireMacroColor1R",
         0,
         [](V& v) { v.edt_FireMacroColor1R = 7; },
         {{FireColor + 0, 0xFF, 0x07}}},
        {"edt_FireMacroColor10B",
         0,
         [](V& v) { v.edt_FireMacroColor10B = 0x44; },
         {{FireColor + 29, 0xFF, 0x44}}},
    };
    return cases;
}

TEST(PageTransfer, EachFieldWritesExactlyItsBits) {
    for (const FieldCase& c : FieldCases()) {
        SectionCopies copies = CopiesOf(Images().eeprom[static_cast<std::size_t>(c.image)]);
        EngineeringValues values;
        ProfileKeys keys;
        DataBufToUI(copies, values, keys);
        std::vector<uint8_t> expected = Flatten(copies);
        for (const Change& change : c.changes) {
            uint8_t& byte = expected[change.at];
            byte = static_cast<uint8_t>((byte & ~change.mask) | change.bits);
        }
        c.set(values);
        UIToDataBuf(values, copies);
        const std::vector<uint8_t> actual = Flatten(copies);
        for (std::size_t i = 0; i < actual.size(); ++i) {
            EXPECT_EQ(actual[i], expected[i]) << c.name << ": byte " << i;
        }
    }
}

TEST(PageTransfer, BitsNoControlFeedsKeepTheirValue) {
    SectionCopies copies = CopiesOf(Images().eeprom[0]);
    copies.parameter_a[0x01] |= 0xC0;  // bits 6, 7 of byte 0x01
    copies.parameter_a[0x03] = static_cast<uint8_t>((copies.parameter_a[0x03] & 0xF8) | 0x05);
    copies.parameter_a[0x05] = 0x5C;
    for (std::size_t i = 0x0D; i <= 0x19; ++i) {
        copies.parameter_a[i] = static_cast<uint8_t>(0xA0 + i);
    }
    const SectionCopies before = copies;
    EngineeringValues values;
    ProfileKeys keys;
    DataBufToUI(copies, values, keys);
    // Every control changed to something else.
    values.rb_B4CPIOn = !values.rb_B4CPIOn;
    values.cb_Smooth = !values.cb_Smooth;
    values.gbLEDType = LedType::kBreLED;
    values.edt_MCULEDNum = 5;
    values.rb_MCULED3Control = !values.rb_MCULED3Control;
    values.cb_CPI2 = 9;
    UIToDataBuf(values, copies);
    EXPECT_EQ(copies.parameter_a[0x01] & 0xC0, 0xC0);
    EXPECT_EQ(copies.parameter_a[0x03] & 0x07, 0x05);
    EXPECT_EQ(copies.parameter_a[0x05], 0x5C);
    for (std::size_t i = 0x0D; i <= 0x19; ++i) {
        EXPECT_EQ(copies.parameter_a[i], before.parameter_a[i]) << "byte " << i;
    }
    EXPECT_EQ(copies.profile, before.profile);
    EXPECT_EQ(copies.fire_entry, before.fire_entry);
    for (std::size_t i : {0u, 1u, 3u, 4u, 5u, 6u, 7u, 9u, 10u}) {
        EXPECT_EQ(copies.fire_key[i], before.fire_key[i]) << "fire key byte " << i;
    }
}

// Bytes of the image and the record fields they show.
TEST(PageTransfer, RefreshShowsTheStoredValues) {
    struct Case {
        std::string name;
        std::function<void(SectionCopies&)> store;
        std::function<void(const EngineeringValues&)> check;
    };
    const std::vector<Case> cases = {
        {"orientation code 0 is the seventh entry",
         [](SectionCopies& c) { c.parameter_a[0] &= 0x8F; },
         [](const EngineeringValues& v) { EXPECT_EQ(v.cb_SensorOri, 6); }},
        {"two-colour type: bit 3 is tested before bit 4",
         [](SectionCopies& c) {
             c.parameter_a[0] = 0x80;
             c.parameter_a[1] = 0x18;
             c.parameter_b[2] = 0x05;
         },
         [](const EngineeringValues& v) {
             EXPECT_EQ(v.gbLEDType, LedType::kRBLED);
             EXPECT_EQ(v.cb_RBLEDCurrentMode, 4);
             EXPECT_EQ(v.cb_MCULEDCurrentMode, 1);  // image 0's flowing mode 2 stays
         }},
        {"breathing type",
         [](SectionCopies& c) {
             c.parameter_a[0] = 0x80;
             c.parameter_a[1] = 0x10;
         },
         [](const EngineeringValues& v) { EXPECT_EQ(v.gbLEDType, LedType::kBreLED); }},
        {"synchronous type",
         [](SectionCopies& c) {
             c.parameter_a[0] = 0x80;
             c.parameter_a[1] = 0x00;
         },
         [](const EngineeringValues& v) { EXPECT_EQ(v.gbLEDType, LedType::kSyncLED); }},
        {"lamp nibble 12 leaves the field", [](SectionCopies& c) { c.parameter_a[3] = 0xC8; },
         [](const EngineeringValues& v) { EXPECT_EQ(v.edt_MCULEDNum, 10); }},  // image 0 shows 10
        {"lamp nibble 9 is four lamps", [](SectionCopies& c) { c.parameter_a[3] = 0x98; },
         [](const EngineeringValues& v) { EXPECT_EQ(v.edt_MCULEDNum, 4); }},
        {"DPI value byte FF or above 11 shows no entry",
         [](SectionCopies& c) {
             c.parameter_a[0x08] = 0xFF;
             c.parameter_a[0x09] = 0x0C;
             c.parameter_a[0x0A] = 0x0B;
         },
         [](const EngineeringValues& v) {
             EXPECT_EQ(v.cb_CPI3, kNoEntry);
             EXPECT_EQ(v.cb_CPI4, kNoEntry);
             EXPECT_EQ(v.cb_CPI5, 11);
         }},
        {"current level beyond the levels in use",
         [](SectionCopies& c) {
             c.parameter_a[2] = 3;
             c.parameter_b[0] = 4;
         },
         [](const EngineeringValues& v) {
             EXPECT_EQ(v.cb_CPIStep, 1);
             EXPECT_EQ(v.cb_CurrentCPI, kNoEntry);
         }},
        {"LED state: mode, off, step", [](SectionCopies& c) { c.parameter_b[2] = 0xEF; },
         [](const EngineeringValues& v) {
             EXPECT_EQ(v.cb_MCULEDCurrentMode, 6);
             EXPECT_EQ(v.edt_MCULEDCrtStep, 7);
             EXPECT_FALSE(v.rb_LEDOn);
         }},
        {"key mode and device codes",
         [](SectionCopies& c) {
             c.parameter_b[4] = 0x80;
             c.parameter_b[6] = 0x3A;
             c.parameter_b[7] = 0x7B;
         },
         [](const EngineeringValues& v) {
             EXPECT_EQ(v.cb_KeyMode, 1);
             EXPECT_EQ(v.edt_VendorID, 0x3A);
             EXPECT_EQ(v.edt_ProductID, 0x7B);
         }},
        {"fire count byte FF is continuous fire on the list's \"3\"",
         [](SectionCopies& c) { c.fire_key[2] = 0xFF; },
         [](const EngineeringValues& v) {
             EXPECT_TRUE(v.cb_IsFireContinue);
             EXPECT_EQ(v.cb_FireCount, 2);
         }},
        {"fire count and interval",
         [](SectionCopies& c) {
             c.fire_key[2] = 0x09;
             c.fire_key[8] = 0x20;
         },
         [](const EngineeringValues& v) {
             EXPECT_FALSE(v.cb_IsFireContinue);
             EXPECT_EQ(v.cb_FireCount, 9);
             EXPECT_EQ(v.edt_FireTime, 0x20);
         }},
        {"Y offsets are signed",
         [](SectionCopies& c) {
             c.fire_y_offset[0] = 0xF0;
             c.fire_y_offset[2] = 0x7F;
             c.fire_y_offset[18] = 0x80;
         },
         [](const EngineeringValues& v) {
             EXPECT_EQ(v.edt_YOffset1, -16);
             EXPECT_EQ(v.edt_YOffset2, 127);
             EXPECT_EQ(v.edt_YOffset10, -128);
         }},
        {"fire colours", [](SectionCopies& c) { c.fire_color[29] = 0x44; },
         [](const EngineeringValues& v) {
             EXPECT_EQ(v.edt_FireMacroColor1R, 0xFF);
             EXPECT_EQ(v.edt_FireMacroColor10B, 0x44);
         }},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        SectionCopies copies = CopiesOf(Images().eeprom[0]);
        EngineeringValues values;
        ProfileKeys keys;
        DataBufToUI(copies, values, keys);
        c.store(copies);
        DataBufToUI(copies, values, keys);
        c.check(values);
    }
}

TEST(PageTransfer, EveryOrientationPositionRoundTrips) {
    for (int position = 0; position < 8; ++position) {
        SectionCopies copies = CopiesOf(Images().eeprom[0]);
        EngineeringValues values;
        ProfileKeys keys;
        values.cb_SensorOri = position;
        UIToDataBuf(values, copies);
        EngineeringValues shown;
        DataBufToUI(copies, shown, keys);
        EXPECT_EQ(shown.cb_SensorOri, position);
    }
}

TEST(PageTransfer, ButtonTextsAreUpperCaseHex) {
    SectionCopies copies = CopiesOf(Images().eeprom[0]);
    copies.profile[0x1B + 3] = 0x0A;
    copies.profile[0x1B + 4] = 0xFB;
    const ProfileKeys keys = ProfileKeysFromSection(copies.profile);
    EXPECT_EQ(keys.Profile1Keys[0], "010100");
    EXPECT_EQ(keys.Profile1Keys[8], "0600F0");
    EXPECT_EQ(keys.Profile2Keys[1], "0AFB00");
    EXPECT_EQ(keys.Profile2Keys[8], "0600F0");
}

}  // namespace
}  // namespace velq
