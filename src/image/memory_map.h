#pragma once

#include <array>
#include <cstddef>
#include <cstdint>

#include "common/dpi.h"
#include "common/macro_slot_size.h"

namespace velq {

// The mouse's 2048-byte parameter memory and the image the program keeps of it: byte i is the
// byte at device address i. Multi-byte values are stored in the order the layout lists them.
inline constexpr std::size_t kDataBufSize = 2048;
using DataBuf = std::array<uint8_t, kDataBufSize>;

// A fixed range of device addresses.
struct SectionRange {
    uint16_t address;
    uint16_t size;
    constexpr uint16_t End() const { return static_cast<uint16_t>(address + size); }
};

// The parameter sections and the areas after them.
inline constexpr SectionRange kParameterARange{0x000, 48};
inline constexpr SectionRange kParameterBRange{0x030, 8};
inline constexpr SectionRange kProfileRange{0x040, 55};
inline constexpr SectionRange kFireEntryRange{0x080, 30};
inline constexpr SectionRange kFireYOffsetRange{0x0B0, 20};
inline constexpr SectionRange kFireColorRange{0x0D0, 30};
inline constexpr SectionRange kFireKeyRange{0x0F0, 11};
inline constexpr SectionRange kMacroSlots1To4Range{0x100, 1024};
inline constexpr SectionRange kFireAreaRange{0x500, 256};
inline constexpr SectionRange kMacroSlots5To6Range{0x600, 512};

// What Apply writes and a parameters-only read fetches: 0x000..0x0FE, 255 bytes. The last byte
// of the first 256 (0x0FF) is never written by Apply.
inline constexpr SectionRange kParameterAreaRange{0x000, 255};

// Sizes of the sections as the working copies hold them.
inline constexpr std::size_t kParameterASize = kParameterARange.size;
inline constexpr std::size_t kParameterBSize = kParameterBRange.size;
inline constexpr std::size_t kProfileSize = kProfileRange.size;
inline constexpr std::size_t kFireEntrySize = kFireEntryRange.size;
inline constexpr std::size_t kFireYOffsetSize = kFireYOffsetRange.size;
inline constexpr std::size_t kFireColorSize = kFireColorRange.size;
inline constexpr std::size_t kFireKeySize = kFireKeyRange.size;

// Where each checksum byte sits inside its section (the bytes before it are covered).
inline constexpr std::size_t kParameterAChecksumOffset = 47;
inline constexpr std::size_t kProfileChecksumOffset = 54;
inline constexpr std::size_t kFireKeyChecksumOffset = 10;

// `ParameterASection` field offsets.
inline constexpr std::size_t kOptionByte0 = 0x00;
inline constexpr std::size_t kOptionByte1 = 0x01;
inline constexpr std::size_t kLevelCountOffset = 0x02;
inline constexpr std::size_t kLedOptionsOffset = 0x03;
inline constexpr std::size_t kFlowingModesOffset = 0x04;
inline constexpr std::size_t kDpiValueOffset = 0x06;  // level n at 0x06 + (n - 1)
inline constexpr std::size_t kDpiColorOffset = 0x1A;  // level n at 0x1A + 3 (n - 1): R, G, B

// `ParameterBSection` offsets (inside the section; device address 0x30 + offset).
inline constexpr std::size_t kCurrentLevelOffset = 0;  // complement at 1
inline constexpr std::size_t kLedStateOffset = 2;      // complement at 3
inline constexpr std::size_t kKeyModeOffset = 4;       // complement at 5
inline constexpr std::size_t kVendorCodeOffset = 6;
inline constexpr std::size_t kProductCodeOffset = 7;

// The `DeviceCodes`: vendor and product code bytes, read on their own at every connection.
inline constexpr SectionRange kDeviceCodesRange{0x036, 2};

// `ProfileSection`: nine three-byte function codes per profile, type byte first.
inline constexpr int kButtonsPerProfile = 9;
inline constexpr std::size_t kFunctionCodeSize = 3;
inline constexpr std::size_t kProfile1Offset = 0x00;  // device address 0x40
inline constexpr std::size_t kProfile2Offset = 0x1B;  // device address 0x5B

// `FireKeySection` offsets.
inline constexpr std::size_t kFireKeyCountOffset = 2;     // repeat value, 0xFF = while held
inline constexpr std::size_t kFireKeyIntervalOffset = 8;  // wait between shots
inline constexpr uint8_t kFireKeyWhileHeld = 0xFF;

// Ten fire macro slots; the Y offset table holds (value, 255 - value) per slot, the colour
// table (R, G, B) per slot.
inline constexpr int kFireSlots = 10;

// The six macro slots (kMacroSlotCount): 256 bytes each, a 32-byte name and a 224-byte content.
inline constexpr std::array<uint16_t, kMacroSlotCount> kMacroSlotBase = {0x100, 0x200, 0x300,
                                                                         0x400, 0x600, 0x700};
// The address a macro function code names: the content's length byte, slot base + 0x21.
inline constexpr std::array<uint16_t, kMacroSlotCount> MacroSlotAddress = {0x0121, 0x0221, 0x0321,
                                                                           0x0421, 0x0621, 0x0721};

// The companion driver's configuration image (driver mode): the same parameter sections at
// their image offsets, the fire key section two bytes later behind two zero bytes, the four
// state bytes, and the driver-mode macros.
inline constexpr std::size_t kDriverImageSize = 40960;
inline constexpr SectionRange kDriverFireKeyRecordRange{0x0F0, 13};
inline constexpr std::size_t kDriverFireKeyOffset = 242;
inline constexpr SectionRange kDriverStateRange{160, 4};
inline constexpr std::size_t kDriverMacroOffset = 256;

}  // namespace velq
