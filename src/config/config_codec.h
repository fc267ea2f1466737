#pragma once

#include "config/mouse_config.h"
#include "image/sections.h"

namespace velq {

// The settings the section copies hold. Reads every field; nothing is checked or repaired
// here (the section checks ran when the copies were filled).
MouseConfig DecodeConfig(const SectionCopies& copies);

// Writes into the section copies every field of `wanted` that differs from `decoded` (what
// the copies held when they were decoded), each as the mouse stores it, together with the
// bits stored around it (a complement; the light state byte rebuilt from its parts when the
// light type changed, else only the bits of the parts that changed). A field that
// did not change is not written, so every bit no change touches keeps its stored value, and
// encoding an unchanged configuration changes nothing. The aim keys get the new aim DPI only
// when it changed. Checksums are left to StoreSectionCopies.
void EncodeConfig(const MouseConfig& wanted, const MouseConfig& decoded, SectionCopies& copies);

// The stored orientation code (bits 4-6 of byte 0x00) of each orientation list position.
inline constexpr std::array<uint8_t, 8> kSensorOrientationCodes = {7, 2, 4, 1, 6, 5, 0, 3};

// The lamp counts the flowing light can have.
inline constexpr int kMinLamps = 4;
inline constexpr int kMaxLamps = 13;

}  // namespace velq
