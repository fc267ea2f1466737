#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <span>
#include <string>

namespace velq {

inline constexpr std::size_t kButtonsPerProfile = 9;
// The profile section: nine codes of profile 1, nine of profile 2, then the checksum.
inline constexpr std::size_t kProfileSectionSize = 55;
inline constexpr std::size_t kProfile2Offset = 3 * kButtonsPerProfile;

// The code texts of the nine buttons of one profile, index 0 = button 1.
using ProfileKeys = std::array<std::string, kButtonsPerProfile>;

// Driver mode keeps the fire key's stop rule in its type byte: before the profile section is
// written, every fire key button of either profile gets type 0x0E when continuous fire is
// ticked (stop at release) and 0x06 otherwise; P1 P2 stay 00 F0 and the texts keep "0600F0".
// A button is a fire key by its code text, so a macro or gun that happens to carry the fire
// key's caption is never touched. The caller recomputes the section checksum afterwards.
void ApplyFireKeyStopRule(const ProfileKeys& profile1, const ProfileKeys& profile2,
                          std::span<uint8_t, kProfileSectionSize> profile_section,
                          bool fire_continue);

// Reading back in driver mode: a stored "0E00F0" is the fire key. Its text and its type byte
// in the section are both rewritten to "0600F0". Returns whether any byte changed (the section
// checksum then needs recomputing).
bool TakeStoredFireKeys(ProfileKeys& profile1, ProfileKeys& profile2,
                        std::span<uint8_t, kProfileSectionSize> profile_section);

}  // namespace velq
