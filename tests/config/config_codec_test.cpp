#include "config/config_codec.h"

#include <gtest/gtest.h>

#include <functional>
#include <random>
#include <set>
#include <string>
#include <vector>

#include "config/config_edits.h"
#include "image/built_in_images.h"

namespace velq {
namespace {

// The copies laid out at their device addresses, so a changed byte is named as the mouse's
// memory names it. Checksum bytes are left as the copies hold them.
std::vector<uint8_t> Flatten(const SectionCopies& copies) {
    std::vector<uint8_t> memory(0x100, 0);
    const auto put = [&memory](SectionRange range, std::span<const uint8_t> bytes) {
        std::copy(bytes.begin(), bytes.end(), memory.begin() + range.address);
    };
    put(kParameterARange, copies.parameter_a);
    put(kParameterBRange, copies.parameter_b);
    put(kProfileRange, copies.profile);
    put(kFireEntryRange, copies.fire_entry);
    put(kFireYOffsetRange, copies.fire_y_offset);
    put(kFireColorRange, copies.fire_color);
    put(kFireKeyRange, copies.fire_key);
    return memory;
}

std::set<int> Changed(const SectionCopies& before, const SectionCopies& after) {
    const std::vector<uint8_t> a = Flatten(before);
    const std::vector<uint8_t> b = Flatten(after);
    std::set<int> changed;
    for (std::size_t i = 0; i < a.size(); ++i) {
        if (a[i] != b[i]) {
            changed.insert(static_cast<int>(i));
        }
    }
    return changed;
}

std::set<int> Range(int first, int last) {
    std::set<int> addresses;
    for (int a = first; a <= last; ++a) {
        addresses.insert(a);
    }
    return addresses;
}

SectionCopies CopiesOf(const DataBuf& image) {
    SectionCopies copies;
    FillSectionCopies(image, copies);
    return copies;
}

// Image 0 with two aim keys of different DPIs (office button 4, gaming button 5).
SectionCopies RichCopies(const DataBuf& image) {
    SectionCopies copies = CopiesOf(image);
    StoreCode({0x0A, 0x05, 0x00}, std::span<uint8_t, 3>(copies.profile.data() + 9, 3));
    StoreCode({0x0A, 0x02, 0x00}, std::span<uint8_t, 3>(copies.profile.data() + 0x1B + 12, 3));
    return copies;
}

// Images whose sections pass their checks but whose every other bit is random.
std::vector<SectionCopies> RandomCopies(int count) {
    std::mt19937 random(540);
    std::vector<SectionCopies> all;
    for (int i = 0; i < count; ++i) {
        DataBuf image;
        for (uint8_t& byte : image) {
            byte = static_cast<uint8_t>(random());
        }
        SectionCopies copies = CopiesOf(image);
        for (std::size_t offset : {kCurrentLevelOffset, kLedStateOffset, kKeyModeOffset}) {
            copies.parameter_b[offset] = static_cast<uint8_t>(random());
            copies.parameter_b[offset + 1] =
                static_cast<uint8_t>(0xFF - copies.parameter_b[offset]);
        }
        std::copy_n(image.begin(), kParameterASize, copies.parameter_a.begin());
        std::copy_n(image.begin() + 0x40, kProfileSize, copies.profile.begin());
        StoreParameterAChecksum(copies.parameter_a);
        StoreProfileChecksum(copies.profile);
        all.push_back(copies);
    }
    return all;
}

class ConfigCodec : public ::testing::Test {
protected:
    void SetUp() override { ASSERT_TRUE(LoadDefaultImages(defaults)); }
    DefaultImages defaults;
};

TEST_F(ConfigCodec, AnUnchangedConfigurationWritesNothing) {
    std::vector<SectionCopies> images;
    for (const DataBuf& image : defaults.eeprom) {
        images.push_back(CopiesOf(image));
    }
    images.push_back(RichCopies(defaults.eeprom[0]));
    for (const SectionCopies& copies : RandomCopies(200)) {
        images.push_back(copies);
    }
    for (const SectionCopies& original : images) {
        const MouseConfig decoded = DecodeConfig(original);
        SectionCopies copies = original;
        EncodeConfig(decoded, decoded, copies);
        EXPECT_TRUE(Changed(original, copies).empty());
        EXPECT_EQ(DecodeConfig(copies), decoded);
    }
}

TEST_F(ConfigCodec, DecodesTheFieldsOfTheFirstImage) {
    const MouseConfig config = DecodeConfig(CopiesOf(defaults.eeprom[0]));
    EXPECT_EQ(config.dpi.count, 6);
    EXPECT_EQ(config.dpi.levels[0].value, 1);
    EXPECT_EQ(config.dpi.levels[6].value, 0x07);
    EXPECT_EQ(config.lighting.type, LightType::kFlowing);
    EXPECT_EQ(config.lighting.lamps, 13 - 3);
    EXPECT_EQ(config.office[0], (FunctionCode{0x01, 0x01, 0x00}));
    EXPECT_EQ(config.gaming[8], (FunctionCode{0x06, 0x00, 0xF0}));
    EXPECT_EQ(config.key_mode, 0);
    EXPECT_TRUE(config.fire_key.while_held);  // 0xF2 holds 0xFF
    EXPECT_EQ(config.fire_key.interval, 0x06);
    EXPECT_EQ(config.vendor_code, 0xFF);
    EXPECT_EQ(config.product_code, 0xFF);
}

// Each field writes its own bytes and nothing else, and reads back as it was set.
TEST_F(ConfigCodec, EachFieldChangesExactlyItsBytes) {
    struct Case {
        const char* name;
        std::function<void(MouseConfig&)> change;
        std::set<int> bytes;
    };
    const auto toggle = [](bool OptionsConfig::*field) {
        return [field](MouseConfig& c) { c.options.*field = !(c.options.*field); };
    };
    const std::vector<Case> cases = {
        {"LED switch keys", toggle(&OptionsConfig::led_switch_keys), {0x00}},
        {"gun function", toggle(&OptionsConfig::gun_function), {0x00}},
        {"LED mode keys", toggle(&OptionsConfig::led_mode_keys), {0x00}},
        {"remember key mode", toggle(&OptionsConfig::remember_key_mode), {0x00}},
        {"middle long press", toggle(&OptionsConfig::middle_long_press), {0x01}},
        {"DPI long press", toggle(&OptionsConfig::dpi_long_press), {0x01}},
        {"gun long press", toggle(&OptionsConfig::gun_long_press), {0x01}},
        {"smoothing", toggle(&OptionsConfig::smoothing), {0x01}},
        {"sensor orientation",
         [](MouseConfig& c) {
             c.options.sensor_orientation = (c.options.sensor_orientation + 3) % 8;
         },
         {0x00}},
        {"level count", [](MouseConfig& c) { c.dpi.count = c.dpi.count == 3 ? 5 : 3; }, {0x02}},
        {"current level",
         [](MouseConfig& c) { c.dpi.current = c.dpi.current == 1 ? 2 : 1; },
         {0x30, 0x31}},
        {"level 3 value",
         [](MouseConfig& c) { c.dpi.levels[2].value = c.dpi.levels[2].value == 9 ? 4 : 9; },
         {0x08}},
        {"level 7 colour",
         [](MouseConfig& c) {
             c.dpi.levels[6].colour = {1, 2, 3};
         },
         Range(0x2C, 0x2E)},
        {"light off", [](MouseConfig& c) { c.lighting.on = !c.lighting.on; }, {0x32, 0x33}},
        {"light mode",
         [](MouseConfig& c) { c.lighting.mode = c.lighting.mode == 4 ? 5 : 4; },
         {0x32, 0x33}},
        {"light step",
         [](MouseConfig& c) { c.lighting.step = c.lighting.step == 6 ? 2 : 6; },
         {0x32, 0x33}},
        {"half brightness",
         [](MouseConfig& c) { c.lighting.full_brightness = !c.lighting.full_brightness; },
         {0x03}},
        {"lamps",
         [](MouseConfig& c) { c.lighting.lamps = c.lighting.lamps == 7 ? 11 : 7; },
         {0x03}},
        {"modes offered",
         [](MouseConfig& c) { c.lighting.modes_offered[3] = !c.lighting.modes_offered[3]; },
         {0x04}},
        {"light type",
         [](MouseConfig& c) { c.lighting.type = LightType::kBreathing; },
         {0x00, 0x01, 0x32, 0x33}},
        {"office button 3",
         [](MouseConfig& c) {
             c.office[2] = {0x03, 0x00, 0xCD};
         },
         Range(0x46, 0x48)},
        {"gaming button 1",
         [](MouseConfig& c) {
             c.gaming[0] = {0x02, 0x01, 0x04};
         },
         Range(0x5B, 0x5D)},
        {"aim DPI", [](MouseConfig& c) { c.aim_dpi = 7; }, {0x4A, 0x68}},
        {"key mode", [](MouseConfig& c) { c.key_mode = 1 - c.key_mode; }, {0x34, 0x35}},
        {"vendor code", [](MouseConfig& c) { c.vendor_code = 0x12; }, {0x36}},
        {"product code", [](MouseConfig& c) { c.product_code = 0x34; }, {0x37}},
        {"fire key held",
         [](MouseConfig& c) { c.fire_key.while_held = !c.fire_key.while_held; },
         {0xF2}},
        {"fire key repeat",
         [](MouseConfig& c) {
             c.fire_key.while_held = false;
             c.fire_key.repeat = 9;
         },
         {0xF2}},
        {"fire key interval", [](MouseConfig& c) { c.fire_key.interval = 33; }, {0xF8}},
        {"fire slot 4 Y", [](MouseConfig& c) { c.fire_slots[3].y_adjust = -20; }, {0xB6, 0xB7}},
        {"fire slot 4 colour",
         [](MouseConfig& c) {
             c.fire_slots[3].colour = {9, 8, 7};
         },
         Range(0xD9, 0xDB)},
    };
    const SectionCopies original = RichCopies(defaults.eeprom[0]);
    const MouseConfig decoded = DecodeConfig(original);
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        MouseConfig wanted = decoded;
        c.change(wanted);
        ASSERT_NE(wanted, decoded);
        SectionCopies copies = original;
        EncodeConfig(wanted, decoded, copies);
        const std::set<int> changed = Changed(original, copies);
        EXPECT_FALSE(changed.empty());
        for (int address : changed) {
            EXPECT_TRUE(c.bytes.count(address)) << "byte " << address << " changed";
        }
        MouseConfig read_back = DecodeConfig(copies);
        if (c.name == std::string("aim DPI")) {
            wanted.office[3].p1 = 7;  // every aim key takes the new DPI
            wanted.gaming[4].p1 = 7;
        }
        if (c.name == std::string("light type")) {
            read_back.lighting.mode = wanted.lighting.mode;  // a breathing light has no mode
            read_back.lighting.step = wanted.lighting.step;
        }
        EXPECT_EQ(read_back, wanted);
    }
}

// The rules stored around a field: a complement, the light state rebuilt from its parts, the
// lamp count only within 4..13.
TEST_F(ConfigCodec, StoresTheBitsAroundAField) {
    const SectionCopies original = CopiesOf(defaults.eeprom[0]);
    const MouseConfig decoded = DecodeConfig(original);

    MouseConfig sync = decoded;
    sync.lighting.type = LightType::kSync;
    sync.lighting.on = false;
    SectionCopies copies = original;
    EncodeConfig(sync, decoded, copies);
    EXPECT_EQ(copies.parameter_b[kLedStateOffset], 0x08);  // no mode, no step, off
    EXPECT_EQ(copies.parameter_b[kLedStateOffset + 1], 0xF7);

    MouseConfig lamps = decoded;
    lamps.lighting.lamps = 14;
    copies = original;
    EncodeConfig(lamps, decoded, copies);
    EXPECT_EQ(copies.parameter_a, original.parameter_a);

    MouseConfig held = decoded;
    held.fire_key.while_held = true;
    held.fire_key.repeat = 4;
    copies = original;
    EncodeConfig(held, decoded, copies);
    EXPECT_EQ(copies.fire_key[kFireKeyCountOffset], 0xFF);
}

// The exact bits each field stores, at device addresses: every other byte of the copies stays
// as it was. Image 0: byte 0x00 = 44 (left + DPI on, orientation code 4, flowing light), 0x01 =
// F8, 0x03 = 38 (10 lamps, full brightness), 0x04 = FF, 0x32 = 22 (mode 2, step 1), 0x34 = 00,
// fire key count FF (while held), Y offsets (0, FF). Image 1: fire key count 02.
// While the light keeps its type, the light state byte changes only in the bits of the part that
// changed, and only in a part the light has: the mode of the flowing and two-colour lights, the
// flowing light's step. The stored bits of every other part stay, bit 4 too. A new light type
// starts the byte afresh, as the factory page's choice does.
TEST_F(ConfigCodec, TheLightStateKeepsTheBitsOfPartsThatDidNotChange) {
    struct Case {
        const char* name;
        LightType type;
        uint8_t state;  // stored before
        std::function<void(MouseConfig&)> change;
        uint8_t after;
    };
    const std::vector<Case> cases = {
        {"sync light off", LightType::kSync, 0x53, [](MouseConfig& c) { c.lighting.on = false; },
         0x5B},
        {"breathing light on", LightType::kBreathing, 0xED,
         [](MouseConfig& c) { c.lighting.on = true; }, 0xE5},
        {"sync light ignores a mode", LightType::kSync, 0x53,
         [](MouseConfig& c) { c.lighting.mode = 1; }, 0x53},
        {"flowing light off", LightType::kFlowing, 0x52,
         [](MouseConfig& c) { c.lighting.on = false; }, 0x5A},
        {"flowing mode 6", LightType::kFlowing, 0x52, [](MouseConfig& c) { c.lighting.mode = 6; },
         0x56},
        {"flowing step 5", LightType::kFlowing, 0x52, [](MouseConfig& c) { c.lighting.step = 5; },
         0xB2},
        {"two-colour mode 4", LightType::kTwoColour, 0x52,
         [](MouseConfig& c) { c.lighting.mode = 4; }, 0x54},
        {"two-colour light ignores a step", LightType::kTwoColour, 0x52,
         [](MouseConfig& c) { c.lighting.step = 6; }, 0x52},
        {"sync to flowing starts afresh in mode 2", LightType::kSync, 0x5B,
         [](MouseConfig& c) { ChooseLightType(c, LightType::kFlowing); }, 0x4A},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        SectionCopies original = CopiesOf(defaults.eeprom[0]);
        MouseConfig typed = DecodeConfig(original);
        typed.lighting.type = c.type;
        EncodeConfig(typed, DecodeConfig(original), original);
        original.parameter_b[kLedStateOffset] = c.state;
        original.parameter_b[kLedStateOffset + 1] = static_cast<uint8_t>(0xFF - c.state);
        const MouseConfig decoded = DecodeConfig(original);
        ASSERT_EQ(decoded.lighting.type, c.type);
        MouseConfig wanted = decoded;
        c.change(wanted);
        SectionCopies copies = original;
        EncodeConfig(wanted, decoded, copies);
        EXPECT_EQ(copies.parameter_b[kLedStateOffset], c.after);
        EXPECT_EQ(copies.parameter_b[kLedStateOffset + 1], 0xFF - c.after);
        const std::set<int> changed = Changed(original, copies);
        for (int address : changed) {
            EXPECT_TRUE(address == 0x32 || address == 0x33 ||
                        (c.type != wanted.lighting.type &&
                         (address == 0x00 || address == 0x01 || address == 0x04)))
                << "byte " << address << " changed";
        }
    }
}

TEST_F(ConfigCodec, EachFieldStoresItsExactBits) {
    struct Bits {
        int address;
        uint8_t mask;
        uint8_t bits;
    };
    struct Case {
        const char* name;
        std::size_t image;
        std::function<void(MouseConfig&)> change;
        std::vector<Bits> bits;
    };
    const std::vector<Case> cases = {
        {"LED switch keys on",
         0,
         [](MouseConfig& c) { c.options.led_switch_keys = true; },
         {{0x00, 0x01, 0x01}}},
        {"gun function on",
         0,
         [](MouseConfig& c) { c.options.gun_function = true; },
         {{0x00, 0x02, 0x02}}},
        {"LED mode keys off",
         0,
         [](MouseConfig& c) { c.options.led_mode_keys = false; },
         {{0x00, 0x04, 0x00}}},
        {"key mode forgotten sets bit 3",
         0,
         [](MouseConfig& c) { c.options.remember_key_mode = false; },
         {{0x00, 0x08, 0x08}}},
        {"orientation position 0 is code 7",
         0,
         [](MouseConfig& c) { c.options.sensor_orientation = 0; },
         {{0x00, 0x70, 0x70}}},
        {"orientation position 6 clears bits 4-6",
         0,
         [](MouseConfig& c) { c.options.sensor_orientation = 6; },
         {{0x00, 0x70, 0x00}}},
        {"orientation position 3 is code 1",
         0,
         [](MouseConfig& c) { c.options.sensor_orientation = 3; },
         {{0x00, 0x70, 0x10}}},
        {"orientation outside the list writes nothing",
         0,
         [](MouseConfig& c) { c.options.sensor_orientation = 8; },
         {}},
        {"two-colour light in mode 5",
         0,
         [](MouseConfig& c) {
             c.lighting.type = LightType::kTwoColour;
             c.lighting.mode = 5;
             c.lighting.modes_offered[2] = false;  // the flowing light's, not written now
         },
         {{0x00, 0x80, 0x80}, {0x32, 0xFF, 0x05}, {0x33, 0xFF, 0xFA}}},
        {"synchronous light drops mode and step",
         0,
         [](MouseConfig& c) { c.lighting.type = LightType::kSync; },
         {{0x00, 0x80, 0x80}, {0x01, 0x18, 0x00}, {0x32, 0xFF, 0x00}, {0x33, 0xFF, 0xFF}}},
        {"breathing light",
         0,
         [](MouseConfig& c) { c.lighting.type = LightType::kBreathing; },
         {{0x00, 0x80, 0x80}, {0x01, 0x18, 0x10}, {0x32, 0xFF, 0x00}, {0x33, 0xFF, 0xFF}}},
        {"middle long press",
         0,
         [](MouseConfig& c) { c.options.middle_long_press = true; },
         {{0x01, 0x01, 0x01}}},
        {"DPI long press",
         0,
         [](MouseConfig& c) { c.options.dpi_long_press = true; },
         {{0x01, 0x02, 0x02}}},
        {"gun long press",
         0,
         [](MouseConfig& c) { c.options.gun_long_press = true; },
         {{0x01, 0x04, 0x04}}},
        {"smoothing off",
         0,
         [](MouseConfig& c) { c.options.smoothing = false; },
         {{0x01, 0x20, 0x00}}},
        {"seven levels", 0, [](MouseConfig& c) { c.dpi.count = 7; }, {{0x02, 0xFF, 0x07}}},
        {"half brightness",
         0,
         [](MouseConfig& c) { c.lighting.full_brightness = false; },
         {{0x03, 0x08, 0x00}}},
        {"13 lamps are nibble 0",
         0,
         [](MouseConfig& c) { c.lighting.lamps = 13; },
         {{0x03, 0xF0, 0x00}}},
        {"4 lamps are nibble 9",
         0,
         [](MouseConfig& c) { c.lighting.lamps = 4; },
         {{0x03, 0xF0, 0x90}}},
        {"14 lamps write nothing", 0, [](MouseConfig& c) { c.lighting.lamps = 14; }, {}},
        {"3 lamps write nothing", 0, [](MouseConfig& c) { c.lighting.lamps = 3; }, {}},
        {"mode 3 not offered",
         0,
         [](MouseConfig& c) { c.lighting.modes_offered[2] = false; },
         {{0x04, 0x08, 0x00}}},
        {"mode 7 not offered",
         0,
         [](MouseConfig& c) { c.lighting.modes_offered[6] = false; },
         {{0x04, 0x80, 0x00}}},
        {"level 1 index 11",
         0,
         [](MouseConfig& c) { c.dpi.levels[0].value = 11; },
         {{0x06, 0xFF, 0x0B}}},
        {"level 3 without value stores FF",
         0,
         [](MouseConfig& c) { c.dpi.levels[2].value = 0xFF; },
         {{0x08, 0xFF, 0xFF}}},
        {"level 7 index 0",
         0,
         [](MouseConfig& c) { c.dpi.levels[6].value = 0; },
         {{0x0C, 0xFF, 0x00}}},
        {"level 1 red",
         0,
         [](MouseConfig& c) { c.dpi.levels[0].colour.r = 0x12; },
         {{0x1A, 0xFF, 0x12}}},
        {"level 7 blue",
         0,
         [](MouseConfig& c) { c.dpi.levels[6].colour.b = 0x44; },
         {{0x2E, 0xFF, 0x44}}},
        {"current level 2 (third) is 02 FD",
         0,
         [](MouseConfig& c) { c.dpi.current = 2; },
         {{0x30, 0xFF, 0x02}, {0x31, 0xFF, 0xFD}}},
        {"flowing mode 7",
         0,
         [](MouseConfig& c) { c.lighting.mode = 7; },
         {{0x32, 0x07, 0x07}, {0x33, 0x07, 0x00}}},
        {"step 7",
         0,
         [](MouseConfig& c) { c.lighting.step = 7; },
         {{0x32, 0xE0, 0xE0}, {0x33, 0xE0, 0x00}}},
        {"light off",
         0,
         [](MouseConfig& c) { c.lighting.on = false; },
         {{0x32, 0x08, 0x08}, {0x33, 0x08, 0x00}}},
        {"gaming key mode is 80 7F",
         0,
         [](MouseConfig& c) { c.key_mode = 1; },
         {{0x34, 0xFF, 0x80}, {0x35, 0xFF, 0x7F}}},
        {"vendor code", 0, [](MouseConfig& c) { c.vendor_code = 0x3A; }, {{0x36, 0xFF, 0x3A}}},
        {"product code", 0, [](MouseConfig& c) { c.product_code = 0x0B; }, {{0x37, 0xFF, 0x0B}}},
        {"fire key while held is FF",
         1,
         [](MouseConfig& c) { c.fire_key.while_held = true; },
         {{0xF2, 0xFF, 0xFF}}},
        {"fire key repeat 9",
         1,
         [](MouseConfig& c) { c.fire_key.repeat = 9; },
         {{0xF2, 0xFF, 0x09}}},
        {"fire key interval",
         0,
         [](MouseConfig& c) { c.fire_key.interval = 0x64; },
         {{0xF8, 0xFF, 0x64}}},
        {"fire slot 1 Y -16",
         0,
         [](MouseConfig& c) { c.fire_slots[0].y_adjust = -16; },
         {{0xB0, 0xFF, 0xF0}, {0xB1, 0xFF, 0x0F}}},
        {"fire slot 2 Y -128",
         0,
         [](MouseConfig& c) { c.fire_slots[1].y_adjust = -128; },
         {{0xB2, 0xFF, 0x80}, {0xB3, 0xFF, 0x7F}}},
        {"fire slot 10 Y 127",
         0,
         [](MouseConfig& c) { c.fire_slots[9].y_adjust = 127; },
         {{0xC2, 0xFF, 0x7F}, {0xC3, 0xFF, 0x80}}},
        {"fire slot 1 red",
         0,
         [](MouseConfig& c) { c.fire_slots[0].colour.r = 7; },
         {{0xD0, 0xFF, 0x07}}},
        {"fire slot 10 blue",
         0,
         [](MouseConfig& c) { c.fire_slots[9].colour.b = 0x44; },
         {{0xED, 0xFF, 0x44}}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const SectionCopies original = CopiesOf(defaults.eeprom[c.image]);
        const MouseConfig decoded = DecodeConfig(original);
        MouseConfig wanted = decoded;
        c.change(wanted);
        SectionCopies copies = original;
        EncodeConfig(wanted, decoded, copies);
        std::vector<uint8_t> expected = Flatten(original);
        for (const Bits& bits : c.bits) {
            uint8_t& byte = expected[static_cast<std::size_t>(bits.address)];
            byte = static_cast<uint8_t>((byte & ~bits.mask) | bits.bits);
        }
        EXPECT_EQ(Flatten(copies), expected);
    }
}

// Stored bytes and the fields they decode to.
TEST_F(ConfigCodec, DecodesStoredBitsIntoFields) {
    struct Case {
        const char* name;
        std::function<void(SectionCopies&)> store;
        std::function<void(const MouseConfig&)> check;
    };
    const std::vector<Case> cases = {
        {"orientation code 0 is position 6", [](SectionCopies& c) { c.parameter_a[0] &= 0x8F; },
         [](const MouseConfig& m) { EXPECT_EQ(m.options.sensor_orientation, 6); }},
        {"two-colour: bit 3 is tested before bit 4",
         [](SectionCopies& c) {
             c.parameter_a[0] = 0x80;
             c.parameter_a[1] = 0x18;
             c.parameter_b[2] = 0x05;
         },
         [](const MouseConfig& m) {
             EXPECT_EQ(m.lighting.type, LightType::kTwoColour);
             EXPECT_EQ(m.lighting.mode, 5);
         }},
        {"breathing",
         [](SectionCopies& c) {
             c.parameter_a[0] = 0x80;
             c.parameter_a[1] = 0x10;
         },
         [](const MouseConfig& m) { EXPECT_EQ(m.lighting.type, LightType::kBreathing); }},
        {"synchronous",
         [](SectionCopies& c) {
             c.parameter_a[0] = 0x80;
             c.parameter_a[1] = 0x00;
         },
         [](const MouseConfig& m) { EXPECT_EQ(m.lighting.type, LightType::kSync); }},
        {"lamp nibble 9 is four lamps", [](SectionCopies& c) { c.parameter_a[3] = 0x98; },
         [](const MouseConfig& m) { EXPECT_EQ(m.lighting.lamps, 4); }},
        {"light state EF: mode 7, off, step 7", [](SectionCopies& c) { c.parameter_b[2] = 0xEF; },
         [](const MouseConfig& m) {
             EXPECT_EQ(m.lighting.mode, 7);
             EXPECT_EQ(m.lighting.step, 7);
             EXPECT_FALSE(m.lighting.on);
         }},
        {"fire count FF repeats while held and shows the list's 3 shots",
         [](SectionCopies& c) { c.fire_key[2] = 0xFF; },
         [](const MouseConfig& m) {
             EXPECT_TRUE(m.fire_key.while_held);
             EXPECT_EQ(m.fire_key.repeat, 2);
         }},
        {"Y offsets are signed",
         [](SectionCopies& c) {
             c.fire_y_offset[0] = 0xF0;
             c.fire_y_offset[2] = 0x7F;
             c.fire_y_offset[18] = 0x80;
         },
         [](const MouseConfig& m) {
             EXPECT_EQ(m.fire_slots[0].y_adjust, -16);
             EXPECT_EQ(m.fire_slots[1].y_adjust, 127);
             EXPECT_EQ(m.fire_slots[9].y_adjust, -128);
         }},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        SectionCopies copies = CopiesOf(defaults.eeprom[0]);
        c.store(copies);
        c.check(DecodeConfig(copies));
    }
}

// Every orientation position is stored and read back as itself.
TEST_F(ConfigCodec, EveryOrientationPositionRoundTrips) {
    const SectionCopies original = CopiesOf(defaults.eeprom[0]);
    const MouseConfig decoded = DecodeConfig(original);
    for (uint8_t position = 0; position < 8; ++position) {
        MouseConfig wanted = decoded;
        wanted.options.sensor_orientation = position;
        SectionCopies copies = original;
        EncodeConfig(wanted, decoded, copies);
        EXPECT_EQ(DecodeConfig(copies).options.sensor_orientation, position);
    }
}

}  // namespace
}  // namespace velq
