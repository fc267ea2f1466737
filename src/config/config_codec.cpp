#include "config/config_codec.h"

#include <algorithm>

namespace velq {
namespace {

constexpr uint8_t kSensorMask = 0x70;
constexpr int kSensorShift = 4;
constexpr uint8_t kLedTypeHigh = 0x80;     // byte 0x00
constexpr uint8_t kLedTypeLow3 = 0x08;     // byte 0x01
constexpr uint8_t kLedTypeLow4 = 0x10;     // byte 0x01
constexpr uint8_t kFullBrightness = 0x08;  // byte 0x03
constexpr uint8_t kFlowingModesPresent = 0x01;
constexpr uint8_t kLightModeMask = 0x07;
constexpr uint8_t kLightOffBit = 0x08;
constexpr int kLightStepShift = 5;
constexpr uint8_t kLightStepMask = 0xE0;
constexpr uint8_t kKeyModeGaming = 0x80;

// An option bit of A and the field it holds; `inverted` when the bit is set for false.
struct OptionBit {
    std::size_t offset;
    uint8_t mask;
    bool OptionsConfig::*field;
    bool inverted;
};
constexpr std::array<OptionBit, 8> kOptionBits = {{
    {kOptionByte0, 0x01, &OptionsConfig::led_switch_keys, false},
    {kOptionByte0, 0x02, &OptionsConfig::gun_function, false},
    {kOptionByte0, 0x04, &OptionsConfig::led_mode_keys, false},
    {kOptionByte0, 0x08, &OptionsConfig::remember_key_mode, true},
    {kOptionByte1, 0x01, &OptionsConfig::middle_long_press, false},
    {kOptionByte1, 0x02, &OptionsConfig::dpi_long_press, false},
    {kOptionByte1, 0x04, &OptionsConfig::gun_long_press, false},
    {kOptionByte1, 0x20, &OptionsConfig::smoothing, false},
}};

void SetBits(uint8_t& byte, uint8_t mask, bool on) {
    byte = static_cast<uint8_t>(on ? (byte | mask) : (byte & ~mask));
}

void StoreWithComplement(ParameterBSection& b, std::size_t offset, uint8_t value) {
    b[offset] = value;
    b[offset + 1] = static_cast<uint8_t>(0xFF - value);
}

// Bit 7 of byte 0x00 clear: flowing; else byte 0x01 bit 3 gives two-colour, bit 4 breathing,
// neither synchronous.
LightType DecodeLightType(const ParameterASection& a) {
    if ((a[kOptionByte0] & kLedTypeHigh) == 0) {
        return LightType::kFlowing;
    }
    if ((a[kOptionByte1] & kLedTypeLow3) != 0) {
        return LightType::kTwoColour;
    }
    return (a[kOptionByte1] & kLedTypeLow4) != 0 ? LightType::kBreathing : LightType::kSync;
}

void EncodeLightType(LightType type, ParameterASection& a) {
    const bool seven_colour = type == LightType::kSync || type == LightType::kBreathing;
    SetBits(a[kOptionByte0], kLedTypeHigh, type != LightType::kFlowing);
    SetBits(a[kOptionByte1], kLedTypeLow3, !seven_colour);
    if (seven_colour) {
        SetBits(a[kOptionByte1], kLedTypeLow4, type == LightType::kBreathing);
    }
}

// The light state byte of B as a newly chosen light type starts it, built from its parts: the
// mode of a light that has modes, the off flag and the flowing light's step.
uint8_t LightState(const LightingConfig& lighting) {
    uint8_t state = 0;
    if (lighting.type == LightType::kFlowing || lighting.type == LightType::kTwoColour) {
        state = static_cast<uint8_t>(lighting.mode & kLightModeMask);
    }
    SetBits(state, kLightOffBit, !lighting.on);
    if (lighting.type == LightType::kFlowing) {
        state = static_cast<uint8_t>(state | ((lighting.step & 0x07) << kLightStepShift));
    }
    return state;
}

// The light state byte of a light that keeps its type: only the bits of the parts that
// changed, and of those only the ones the light has (a mode for the flowing and two-colour
// lights, a step for the flowing light); every other bit keeps its stored value.
uint8_t ChangedLightState(uint8_t state, const LightingConfig& now, const LightingConfig& before) {
    if (now.on != before.on) {
        SetBits(state, kLightOffBit, !now.on);
    }
    const bool modes = now.type == LightType::kFlowing || now.type == LightType::kTwoColour;
    if (modes && now.mode != before.mode) {
        state = static_cast<uint8_t>((state & ~kLightModeMask) | (now.mode & kLightModeMask));
    }
    if (now.type == LightType::kFlowing && now.step != before.step) {
        state = static_cast<uint8_t>((state & ~kLightStepMask) |
                                     ((now.step & 0x07) << kLightStepShift));
    }
    return state;
}

std::size_t ButtonOffset(int profile, std::size_t button) {
    return (profile == 0 ? kProfile1Offset : kProfile2Offset) + kFunctionCodeSize * button;
}

void DecodeButtons(const ProfileSection& profile, MouseConfig& config) {
    for (std::size_t b = 0; b < kButtonsPerProfile; ++b) {
        for (int p = 0; p < 2; ++p) {
            const FunctionCode code =
                CodeFromBytes(std::span<const uint8_t, 3>(profile.data() + ButtonOffset(p, b), 3));
            (p == 0 ? config.office : config.gaming)[b] = code;
        }
    }
    for (const ProfileButtons* buttons : {&config.office, &config.gaming}) {
        for (const FunctionCode& code : *buttons) {
            if (code.type == static_cast<uint8_t>(CodeType::kAIMKey)) {
                config.aim_dpi = code.p1;
            }
        }
    }
}

void EncodeButtons(const MouseConfig& wanted, const MouseConfig& decoded, ProfileSection& profile) {
    for (int p = 0; p < 2; ++p) {
        const ProfileButtons& now = p == 0 ? wanted.office : wanted.gaming;
        const ProfileButtons& before = p == 0 ? decoded.office : decoded.gaming;
        for (std::size_t b = 0; b < kButtonsPerProfile; ++b) {
            FunctionCode code = now[b];
            const bool aim = code.type == static_cast<uint8_t>(CodeType::kAIMKey);
            if (aim && wanted.aim_dpi != decoded.aim_dpi) {
                code.p1 = wanted.aim_dpi;
            }
            if (code != before[b]) {
                StoreCode(code, std::span<uint8_t, 3>(profile.data() + ButtonOffset(p, b), 3));
            }
        }
    }
}

}  // namespace

MouseConfig DecodeConfig(const SectionCopies& copies) {
    MouseConfig config;
    const ParameterASection& a = copies.parameter_a;
    const ParameterBSection& b = copies.parameter_b;

    for (const OptionBit& bit : kOptionBits) {
        config.options.*bit.field = ((a[bit.offset] & bit.mask) != 0) != bit.inverted;
    }
    const auto code = static_cast<uint8_t>((a[kOptionByte0] & kSensorMask) >> kSensorShift);
    config.options.sensor_orientation = static_cast<uint8_t>(
        std::find(kSensorOrientationCodes.begin(), kSensorOrientationCodes.end(), code) -
        kSensorOrientationCodes.begin());

    config.dpi.count = a[kLevelCountOffset];
    config.dpi.current = b[kCurrentLevelOffset];
    for (std::size_t level = 0; level < kDpiLevels; ++level) {
        DpiLevel& l = config.dpi.levels[level];
        l.value = a[kDpiValueOffset + level];
        l.colour = {a[kDpiColorOffset + 3 * level], a[kDpiColorOffset + 3 * level + 1],
                    a[kDpiColorOffset + 3 * level + 2]};
    }

    LightingConfig& lighting = config.lighting;
    lighting.type = DecodeLightType(a);
    const uint8_t state = b[kLedStateOffset];
    lighting.on = (state & kLightOffBit) == 0;
    lighting.mode = state & kLightModeMask;
    lighting.step = static_cast<uint8_t>(state >> kLightStepShift);
    lighting.full_brightness = (a[kLedOptionsOffset] & kFullBrightness) != 0;
    lighting.lamps = kMaxLamps - (a[kLedOptionsOffset] >> 4);
    for (std::size_t n = 0; n < lighting.modes_offered.size(); ++n) {
        lighting.modes_offered[n] = (a[kFlowingModesOffset] & (1u << (n + 1))) != 0;
    }

    DecodeButtons(copies.profile, config);
    config.key_mode = (b[kKeyModeOffset] & kKeyModeGaming) != 0 ? 1 : 0;
    config.vendor_code = b[kVendorCodeOffset];
    config.product_code = b[kProductCodeOffset];

    // While held, the repeat count has no stored value: it shows 3 shots, as the list does.
    const uint8_t repeat = copies.fire_key[kFireKeyCountOffset];
    const bool while_held = repeat == kFireKeyWhileHeld;
    config.fire_key = {while_held, while_held ? FireKeyConfig{}.repeat : repeat,
                       copies.fire_key[kFireKeyIntervalOffset]};
    for (std::size_t slot = 0; slot < kFireSlots; ++slot) {
        FireSlotConfig& s = config.fire_slots[slot];
        s.y_adjust = static_cast<int8_t>(copies.fire_y_offset[2 * slot]);
        s.colour = {copies.fire_color[3 * slot], copies.fire_color[3 * slot + 1],
                    copies.fire_color[3 * slot + 2]};
    }
    return config;
}

void EncodeConfig(const MouseConfig& wanted, const MouseConfig& decoded, SectionCopies& copies) {
    ParameterASection& a = copies.parameter_a;
    ParameterBSection& b = copies.parameter_b;

    for (const OptionBit& bit : kOptionBits) {
        const bool now = wanted.options.*bit.field;
        if (now != decoded.options.*bit.field) {
            SetBits(a[bit.offset], bit.mask, now != bit.inverted);
        }
    }
    const uint8_t orientation = wanted.options.sensor_orientation;
    if (orientation != decoded.options.sensor_orientation &&
        orientation < kSensorOrientationCodes.size()) {
        a[kOptionByte0] =
            static_cast<uint8_t>((a[kOptionByte0] & ~kSensorMask) |
                                 (kSensorOrientationCodes[orientation] << kSensorShift));
    }

    if (wanted.dpi.count != decoded.dpi.count) {
        a[kLevelCountOffset] = wanted.dpi.count;
    }
    if (wanted.dpi.current != decoded.dpi.current) {
        StoreWithComplement(b, kCurrentLevelOffset, wanted.dpi.current);
    }
    for (std::size_t level = 0; level < kDpiLevels; ++level) {
        const DpiLevel& now = wanted.dpi.levels[level];
        const DpiLevel& before = decoded.dpi.levels[level];
        if (now.value != before.value) {
            a[kDpiValueOffset + level] = now.value;
        }
        if (now.colour != before.colour) {
            a[kDpiColorOffset + 3 * level] = now.colour.r;
            a[kDpiColorOffset + 3 * level + 1] = now.colour.g;
            a[kDpiColorOffset + 3 * level + 2] = now.colour.b;
        }
    }

    const LightingConfig& light = wanted.lighting;
    const LightingConfig& light_before = decoded.lighting;
    if (light.type != light_before.type) {
        EncodeLightType(light.type, a);
    }
    if (light.type != light_before.type) {
        StoreWithComplement(b, kLedStateOffset, LightState(light));
    } else if (light.on != light_before.on || light.mode != light_before.mode ||
               light.step != light_before.step) {
        StoreWithComplement(b, kLedStateOffset,
                            ChangedLightState(b[kLedStateOffset], light, light_before));
    }
    if (light.full_brightness != light_before.full_brightness) {
        SetBits(a[kLedOptionsOffset], kFullBrightness, light.full_brightness);
    }
    // A lamp count the field would not accept leaves the nibble alone.
    if (light.lamps != light_before.lamps && light.lamps >= kMinLamps && light.lamps <= kMaxLamps) {
        a[kLedOptionsOffset] =
            static_cast<uint8_t>((a[kLedOptionsOffset] & 0x0F) | ((kMaxLamps - light.lamps) << 4));
    }
    // The offered modes belong to the flowing light; other lights keep the byte.
    if (light.type == LightType::kFlowing &&
        (light.modes_offered != light_before.modes_offered || light.type != light_before.type)) {
        uint8_t modes = kFlowingModesPresent;
        for (std::size_t n = 0; n < light.modes_offered.size(); ++n) {
            SetBits(modes, static_cast<uint8_t>(1u << (n + 1)), light.modes_offered[n]);
        }
        a[kFlowingModesOffset] = modes;
    }

    EncodeButtons(wanted, decoded, copies.profile);
    if (wanted.key_mode != decoded.key_mode) {
        StoreWithComplement(b, kKeyModeOffset, wanted.key_mode == 1 ? kKeyModeGaming : 0x00);
    }
    if (wanted.vendor_code != decoded.vendor_code) {
        b[kVendorCodeOffset] = wanted.vendor_code;
    }
    if (wanted.product_code != decoded.product_code) {
        b[kProductCodeOffset] = wanted.product_code;
    }

    const FireKeyConfig& fire = wanted.fire_key;
    if (fire.while_held != decoded.fire_key.while_held || fire.repeat != decoded.fire_key.repeat) {
        copies.fire_key[kFireKeyCountOffset] = fire.while_held ? kFireKeyWhileHeld : fire.repeat;
    }
    if (fire.interval != decoded.fire_key.interval) {
        copies.fire_key[kFireKeyIntervalOffset] = fire.interval;
    }
    for (std::size_t slot = 0; slot < kFireSlots; ++slot) {
        const FireSlotConfig& now = wanted.fire_slots[slot];
        const FireSlotConfig& before = decoded.fire_slots[slot];
        if (now.y_adjust != before.y_adjust) {
            const auto y = static_cast<uint8_t>(now.y_adjust);
            copies.fire_y_offset[2 * slot] = y;
            copies.fire_y_offset[2 * slot + 1] = static_cast<uint8_t>(0xFF - y);
        }
        if (now.colour != before.colour) {
            copies.fire_color[3 * slot] = now.colour.r;
            copies.fire_color[3 * slot + 1] = now.colour.g;
            copies.fire_color[3 * slot + 2] = now.colour.b;
        }
    }
}

}  // namespace velq
