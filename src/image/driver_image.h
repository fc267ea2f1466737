#pragma once

#include <array>
#include <cstdint>
#include <span>

#include "image/sections.h"

namespace velq {

// The four state bytes the mouse receives in driver mode, kept at 160..163 of driver images.
using DriverStateBytes = std::array<uint8_t, 4>;

// The fire key record of the driver's image: two zero bytes, then the fire key section.
using DriverFireKeyRecord = std::array<uint8_t, kDriverFireKeyRecordRange.size>;

// What a driver image (a built-in driver default or a driver profile file) gives the driver.
struct DriverImageSections {
    ParameterASection parameter_a{};
    ParameterBSection parameter_b{};
    ProfileSection profile{};
    FireKeySection fire_key{};
    DriverStateBytes state{};
};

// The shortest driver image that holds every section: up to the end of the fire key record.
inline constexpr std::size_t kMinDriverImageSize = kDriverFireKeyRecordRange.End();

// Takes the sections from their fixed offsets; false (and `sections` unchanged) when the image
// is too short to hold them.
[[nodiscard]] bool TakeDriverImageSections(std::span<const uint8_t> image,
                                           DriverImageSections& sections);

DriverFireKeyRecord MakeDriverFireKeyRecord(const FireKeySection& fire_key);

// Puts the state bytes at 160..163; false when the image is too short.
[[nodiscard]] bool PutDriverStateBytes(std::span<uint8_t> image, const DriverStateBytes& state);

}  // namespace velq
