#pragma once

#include <array>
#include <string>

#include "image/engineering_values.h"
#include "image/sections.h"

namespace velq {

// The per-button text form of the profile section: six upper-case hexadecimal digits of each
// button's three-byte function code, buttons 1..9.
struct ProfileKeys {
    std::array<std::string, kButtonsPerProfile> Profile1Keys;
    std::array<std::string, kButtonsPerProfile> Profile2Keys;
};

ProfileKeys ProfileKeysFromSection(const ProfileSection& profile);

// Writes every field the engineering page feeds into the section copies. It starts from the
// copies as they are, so every bit no control feeds keeps its value. Checksums are left to
// StoreSectionCopies; the complements of B are rewritten here. Numbers outside a field's range
// are clamped to it; a list with no entry leaves its byte as it was, except a DPI level's list,
// whose empty state is the stored byte 0xFF.
void UIToDataBuf(const EngineeringValues& values, SectionCopies& copies);

// Sets the record from the section copies and builds the 18 button texts. Fields whose stored
// value has no control state (a lamp count nibble above 9, the current mode of a lighting type
// that is not selected) keep the value they had.
void DataBufToUI(const SectionCopies& copies, EngineeringValues& values, ProfileKeys& keys);

// The stored orientation code (bits 4-6 of byte 0x00) of each `cb_SensorOri` position.
inline constexpr std::array<uint8_t, 8> kSensorOrientationCode = {7, 2, 4, 1, 6, 5, 0, 3};

}  // namespace velq
