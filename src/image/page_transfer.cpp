#include "image/page_transfer.h"

#include <algorithm>
#include <cstdio>

namespace velq {
namespace {

using V = EngineeringValues;

// A single option bit of A fed by a check box or a radio pair. The bit is 1 when the field
// equals `set_when` (byte 0x00 bit 3 is set when the key mode is NOT remembered).
struct OptionBit {
    std::size_t offset;
    uint8_t mask;
    bool V::*field;
    bool set_when;
};
constexpr std::array<OptionBit, 9> kOptionBits = {{
    {kOptionByte0, 0x01, &V::rb_B4CPIOn, true},
    {kOptionByte0, 0x02, &V::rb_FireFnOn, true},
    {kOptionByte0, 0x04, &V::rb_LCPIOn, true},
    {kOptionByte0, 0x08, &V::rb_Save, false},
    {kOptionByte1, 0x01, &V::cb_MidPress, true},
    {kOptionByte1, 0x02, &V::cb_CPIPress, true},
    {kOptionByte1, 0x04, &V::cb_GunPress, true},
    {kOptionByte1, 0x20, &V::cb_Smooth, true},
    {kLedOptionsOffset, 0x08, &V::rb_MCULED3Control, true},
}};

// The LED type spread over byte 0x00 bit 7 and byte 0x01 bits 3 and 4; a bit marked
// kKeep is not written for that type.
constexpr int kKeep = -1;
struct LedTypeBits {
    LedType type;
    int byte0_bit7;
    int byte1_bit3;
    int byte1_bit4;
};
constexpr std::array<LedTypeBits, 4> kLedTypeBits = {{
    {LedType::kMCULED, 0, 1, kKeep},
    {LedType::kRBLED, 1, 1, kKeep},
    {LedType::kSyncLED, 1, 0, 0},
    {LedType::kBreLED, 1, 0, 1},
}};

constexpr uint8_t kSensorMask = 0x70;
constexpr int kSensorShift = 4;
constexpr uint8_t kLedTypeHighMask = 0x80;
constexpr uint8_t kLedTypeLowMask3 = 0x08;
constexpr uint8_t kLedTypeLowMask4 = 0x10;
constexpr uint8_t kFlowingModesPresent = 0x01;
constexpr int kMinLamps = 4;
constexpr int kMaxLamps = 13;
constexpr uint8_t kLedModeMask = 0x07;
constexpr uint8_t kLedOffBit = 0x08;
constexpr int kLedStepShift = 5;
constexpr int kMaxLedStep = 7;
constexpr uint8_t kKeyModeProfile2 = 0x80;
constexpr int kLedModeCount = 7;

constexpr std::array<int V::*, kDpiLevels> kCpiLists = {
    &V::cb_CPI1, &V::cb_CPI2, &V::cb_CPI3, &V::cb_CPI4, &V::cb_CPI5, &V::cb_CPI6, &V::cb_CPI7};

constexpr std::array<std::array<int V::*, 3>, kDpiLevels> kCpiColors = {{
    {&V::edt_CPI1R, &V::edt_CPI1G, &V::edt_CPI1B},
    {&V::edt_CPI2R, &V::edt_CPI2G, &V::edt_CPI2B},
    {&V::edt_CPI3R, &V::edt_CPI3G, &V::edt_CPI3B},
    {&V::edt_CPI4R, &V::edt_CPI4G, &V::edt_CPI4B},
    {&V::edt_CPI5R, &V::edt_CPI5G, &V::edt_CPI5B},
    {&V::edt_CPI6R, &V::edt_CPI6G, &V::edt_CPI6B},
    {&V::edt_CPI7R, &V::edt_CPI7G, &V::edt_CPI7B},
}};

// Flowing-light mode n enables bit n of byte 0x04.
constexpr std::array<bool V::*, kLedModeCount> kModeBoxes = {
    &V::cb_Mode1, &V::cb_Mode2, &V::cb_Mode3, &V::cb_Mode4,
    &V::cb_Mode5, &V::cb_Mode6, &V::cb_Mode7};

constexpr std::array<int V::*, kFireSlots> kYOffsets = {
    &V::edt_YOffset1, &V::edt_YOffset2, &V::edt_YOffset3, &V::edt_YOffset4, &V::edt_YOffset5,
    &V::edt_YOffset6, &V::edt_YOffset7, &V::edt_YOffset8, &V::edt_YOffset9, &V::edt_YOffset10};

constexpr std::array<std::array<int V::*, 3>, kFireSlots> kFireColors = {{
    {&V::edt_FireMacroColor1R, &V::edt_FireMacroColor1G, &V::edt_FireMacroColor1B},
    {&V::edt_FireMacroColor2R, &V::edt_FireMacroColor2G, &V::edt_FireMacroColor2B},
    {&V::edt_FireMacroColor3R, &V::edt_FireMacroColor3G, &V::edt_FireMacroColor3B},
    {&V::edt_FireMacroColor4R, &V::edt_FireMacroColor4G, &V::edt_FireMacroColor4B},
    {&V::edt_FireMacroColor5R, &V::edt_FireMacroColor5G, &V::edt_FireMacroColor5B},
    {&V::edt_FireMacroColor6R, &V::edt_FireMacroColor6G, &V::edt_FireMacroColor6B},
    {&V::edt_FireMacroColor7R, &V::edt_FireMacroColor7G, &V::edt_FireMacroColor7B},
    {&V::edt_FireMacroColor8R, &V::edt_FireMacroColor8G, &V::edt_FireMacroColor8B},
    {&V::edt_FireMacroColor9R, &V::edt_FireMacroColor9G, &V::edt_FireMacroColor9B},
    {&V::edt_FireMacroColor10R, &V::edt_FireMacroColor10G, &V::edt_FireMacroColor10B},
}};

void SetBits(uint8_t& byte, uint8_t mask, bool on) {
    byte = static_cast<uint8_t>(on ? (byte | mask) : (byte & ~mask));
}

uint8_t ClampByte(int value) {
    return static_cast<uint8_t>(std::clamp(value, 0, 0xFF));
}

bool InRange(int value, int low, int high) {
    return value >= low && value <= high;
}

// Writes a list position into a byte when the list shows an entry in 0..max.
void StorePosition(uint8_t& byte, int position, int max, int add = 0) {
    if (InRange(position, 0, max)) {
        byte = static_cast<uint8_t>(position + add);
    }
}

void StoreComplement(ParameterBSection& b, std::size_t offset) {
    b[offset + 1] = static_cast<uint8_t>(0xFF - b[offset]);
}

const LedTypeBits& BitsOfType(LedType type) {
    for (const LedTypeBits& bits : kLedTypeBits) {
        if (bits.type == type) {
            return bits;
        }
    }
    return kLedTypeBits[0];
}

void WriteLedType(LedType type, ParameterASection& a) {
    const LedTypeBits& bits = BitsOfType(type);
    SetBits(a[kOptionByte0], kLedTypeHighMask, bits.byte0_bit7 == 1);
    SetBits(a[kOptionByte1], kLedTypeLowMask3, bits.byte1_bit3 == 1);
    if (bits.byte1_bit4 != kKeep) {
        SetBits(a[kOptionByte1], kLedTypeLowMask4, bits.byte1_bit4 == 1);
    }
}

// Bit 7 of byte 0x00 clear: flowing; else byte 0x01 bit 3 gives two-colour, bit 4 breathing,
// neither synchronous.
LedType ReadLedType(const ParameterASection& a) {
    if ((a[kOptionByte0] & kLedTypeHighMask) == 0) {
        return LedType::kMCULED;
    }
    if ((a[kOptionByte1] & kLedTypeLowMask3) != 0) {
        return LedType::kRBLED;
    }
    if ((a[kOptionByte1] & kLedTypeLowMask4) != 0) {
        return LedType::kBreLED;
    }
    return LedType::kSyncLED;
}

void WriteParameterA(const V& values, ParameterASection& a) {
    for (const OptionBit& bit : kOptionBits) {
        SetBits(a[bit.offset], bit.mask, (values.*bit.field) == bit.set_when);
    }
    if (InRange(values.cb_SensorOri, 0, static_cast<int>(kSensorOrientationCode.size()) - 1)) {
        const uint8_t code = kSensorOrientationCode[static_cast<std::size_t>(values.cb_SensorOri)];
        a[kOptionByte0] =
            static_cast<uint8_t>((a[kOptionByte0] & ~kSensorMask) | (code << kSensorShift));
    }
    WriteLedType(values.gbLEDType, a);

    StorePosition(a[kLevelCountOffset], values.cb_CPIStep, kDpiLevels - kMinLevelCount,
                  kMinLevelCount);

    // The lamp count is kept as 13 minus the count in the high nibble; counts the field would
    // not accept leave the nibble alone.
    if (InRange(values.edt_MCULEDNum, kMinLamps, kMaxLamps)) {
        a[kLedOptionsOffset] = static_cast<uint8_t>((a[kLedOptionsOffset] & 0x0F) |
                                                    ((kMaxLamps - values.edt_MCULEDNum) << 4));
    }
    // The offered flowing-light modes exist only for the flowing LED; other types keep them.
    if (values.gbLEDType == LedType::kMCULED) {
        uint8_t modes = kFlowingModesPresent;
        for (std::size_t n = 0; n < kModeBoxes.size(); ++n) {
            if (values.*kModeBoxes[n]) {
                modes = static_cast<uint8_t>(modes | (1u << (n + 1)));
            }
        }
        a[kFlowingModesOffset] = modes;
    }

    for (std::size_t level = 0; level < kCpiLists.size(); ++level) {
        const int position = values.*kCpiLists[level];
        a[kDpiValueOffset + level] =
            InRange(position, 0, kDpiValueCount - 1) ? static_cast<uint8_t>(position) : 0xFF;
        for (std::size_t c = 0; c < 3; ++c) {
            a[kDpiColorOffset + 3 * level + c] = ClampByte(values.*kCpiColors[level][c]);
        }
    }
}

void WriteParameterB(const V& values, ParameterBSection& b) {
    StorePosition(b[kCurrentLevelOffset], values.cb_CurrentCPI, kDpiLevels - 1);
    StoreComplement(b, kCurrentLevelOffset);

    // The LED state is rebuilt from nothing: the current mode of the selected type (none for
    // the seven-colour types), the off flag and, for the flowing LED, its step.
    int mode_position = kNoEntry;
    if (values.gbLEDType == LedType::kMCULED) {
        mode_position = values.cb_MCULEDCurrentMode;
    } else if (values.gbLEDType == LedType::kRBLED) {
        mode_position = values.cb_RBLEDCurrentMode;
    }
    uint8_t state = 0;
    if (InRange(mode_position, 0, kLedModeCount - 1)) {
        state = static_cast<uint8_t>(mode_position + 1);
    }
    SetBits(state, kLedOffBit, !values.rb_LEDOn);
    if (values.gbLEDType == LedType::kMCULED) {
        const int step = std::clamp(values.edt_MCULEDCrtStep, 0, kMaxLedStep);
        state = static_cast<uint8_t>(state | (step << kLedStepShift));
    }
    b[kLedStateOffset] = state;
    StoreComplement(b, kLedStateOffset);

    if (InRange(values.cb_KeyMode, 0, 1)) {
        b[kKeyModeOffset] = values.cb_KeyMode == 1 ? kKeyModeProfile2 : 0x00;
    }
    StoreComplement(b, kKeyModeOffset);

    b[kVendorCodeOffset] = ClampByte(values.edt_VendorID);
    b[kProductCodeOffset] = ClampByte(values.edt_ProductID);
}

void WriteFireKey(const V& values, FireKeySection& fire_key) {
    if (values.cb_IsFireContinue) {
        fire_key[kFireKeyCountOffset] = kFireKeyWhileHeld;
    } else {
        StorePosition(fire_key[kFireKeyCountOffset], values.cb_FireCount, 0xFF);
    }
    fire_key[kFireKeyIntervalOffset] = ClampByte(values.edt_FireTime);
}

void WriteFireTables(const V& values, SectionCopies& copies) {
    for (std::size_t slot = 0; slot < kFireSlots; ++slot) {
        const int y = std::clamp(values.*kYOffsets[slot], -128, 127);
        const auto y_byte = static_cast<uint8_t>(static_cast<int8_t>(y));
        copies.fire_y_offset[2 * slot] = y_byte;
        copies.fire_y_offset[2 * slot + 1] = static_cast<uint8_t>(0xFF - y_byte);
        for (std::size_t c = 0; c < 3; ++c) {
            copies.fire_color[3 * slot + c] = ClampByte(values.*kFireColors[slot][c]);
        }
    }
}

// A stored list position, or kNoEntry when the byte is not one of the list's positions.
int PositionOf(int stored, int count) {
    return InRange(stored, 0, count - 1) ? stored : kNoEntry;
}

void ReadParameterA(const ParameterASection& a, V& values) {
    for (const OptionBit& bit : kOptionBits) {
        values.*bit.field = ((a[bit.offset] & bit.mask) != 0) == bit.set_when;
    }
    const uint8_t code = static_cast<uint8_t>((a[kOptionByte0] & kSensorMask) >> kSensorShift);
    const auto* found =
        std::find(kSensorOrientationCode.begin(), kSensorOrientationCode.end(), code);
    values.cb_SensorOri = static_cast<int>(found - kSensorOrientationCode.begin());
    values.gbLEDType = ReadLedType(a);

    values.cb_CPIStep =
        PositionOf(a[kLevelCountOffset] - kMinLevelCount, kDpiLevels - kMinLevelCount + 1);

    const int nibble = a[kLedOptionsOffset] >> 4;
    if (nibble <= kMaxLamps - kMinLamps) {
        values.edt_MCULEDNum = kMaxLamps - nibble;
    }
    for (std::size_t n = 0; n < kModeBoxes.size(); ++n) {
        values.*kModeBoxes[n] = (a[kFlowingModesOffset] & (1u << (n + 1))) != 0;
    }
    for (std::size_t level = 0; level < kCpiLists.size(); ++level) {
        values.*kCpiLists[level] = PositionOf(a[kDpiValueOffset + level], kDpiValueCount);
        for (std::size_t c = 0; c < 3; ++c) {
            values.*kCpiColors[level][c] = a[kDpiColorOffset + 3 * level + c];
        }
    }
}

void ReadParameterB(const ParameterBSection& b, V& values) {
    // `cb_CurrentCPI` lists the levels in use only.
    const int levels =
        values.cb_CPIStep == kNoEntry ? kDpiLevels : values.cb_CPIStep + kMinLevelCount;
    values.cb_CurrentCPI = PositionOf(b[kCurrentLevelOffset], levels);

    const uint8_t state = b[kLedStateOffset];
    const int mode_position = (state & kLedModeMask) - 1;
    if (values.gbLEDType == LedType::kMCULED) {
        values.cb_MCULEDCurrentMode = mode_position;
        values.edt_MCULEDCrtStep = state >> kLedStepShift;
    } else if (values.gbLEDType == LedType::kRBLED) {
        values.cb_RBLEDCurrentMode = mode_position;
    }
    values.rb_LEDOn = (state & kLedOffBit) == 0;

    values.cb_KeyMode = (b[kKeyModeOffset] & kKeyModeProfile2) != 0 ? 1 : 0;
    values.edt_VendorID = b[kVendorCodeOffset];
    values.edt_ProductID = b[kProductCodeOffset];
}

void ReadFireKey(const FireKeySection& fire_key, V& values) {
    const uint8_t count = fire_key[kFireKeyCountOffset];
    values.cb_IsFireContinue = count == kFireKeyWhileHeld;
    // While held, the repeat field shows "3", which puts the list on the position of "3".
    values.cb_FireCount = values.cb_IsFireContinue ? 2 : count;
    values.edt_FireTime = fire_key[kFireKeyIntervalOffset];
}

void ReadFireTables(const SectionCopies& copies, V& values) {
    for (std::size_t slot = 0; slot < kFireSlots; ++slot) {
        values.*kYOffsets[slot] = static_cast<int8_t>(copies.fire_y_offset[2 * slot]);
        for (std::size_t c = 0; c < 3; ++c) {
            values.*kFireColors[slot][c] = copies.fire_color[3 * slot + c];
        }
    }
}

std::string CodeText(const ProfileSection& profile, std::size_t offset) {
    char text[7];
    std::snprintf(text, sizeof text, "%02X%02X%02X", profile[offset], profile[offset + 1],
                  profile[offset + 2]);
    return text;
}

}  // namespace

ProfileKeys ProfileKeysFromSection(const ProfileSection& profile) {
    ProfileKeys keys;
    for (std::size_t b = 0; b < kButtonsPerProfile; ++b) {
        keys.Profile1Keys[b] = CodeText(profile, kProfile1Offset + b * kFunctionCodeSize);
        keys.Profile2Keys[b] = CodeText(profile, kProfile2Offset + b * kFunctionCodeSize);
    }
    return keys;
}

void UIToDataBuf(const EngineeringValues& values, SectionCopies& copies) {
    WriteParameterA(values, copies.parameter_a);
    WriteParameterB(values, copies.parameter_b);
    WriteFireKey(values, copies.fire_key);
    WriteFireTables(values, copies);
}

void DataBufToUI(const SectionCopies& copies, EngineeringValues& values, ProfileKeys& keys) {
    keys = ProfileKeysFromSection(copies.profile);
    ReadParameterA(copies.parameter_a, values);
    ReadParameterB(copies.parameter_b, values);
    ReadFireKey(copies.fire_key, values);
    ReadFireTables(copies, values);
}

}  // namespace velq
