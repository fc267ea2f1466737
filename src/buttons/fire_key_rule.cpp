#include "buttons/fire_key_rule.h"

#include "buttons/function_code.h"

namespace velq {

namespace {

constexpr uint8_t kTypeMacroRun = static_cast<uint8_t>(CodeType::kMacroRun);
constexpr uint8_t kTypeMacroHold = static_cast<uint8_t>(CodeType::kMacroHold);

// The type byte of button b (0..8) of the profile starting at `offset`.
uint8_t& TypeByte(std::span<uint8_t, kProfileSectionSize> section, std::size_t offset,
                  std::size_t b) {
    return section[offset + 3 * b];
}

}  // namespace

void ApplyFireKeyStopRule(const ProfileKeys& profile1, const ProfileKeys& profile2,
                          std::span<uint8_t, kProfileSectionSize> profile_section,
                          bool fire_continue) {
    const uint8_t type = fire_continue ? kTypeMacroHold : kTypeMacroRun;
    for (std::size_t b = 0; b < kButtonsPerProfile; ++b) {
        if (profile1[b] == kFireKeyText) {
            TypeByte(profile_section, 0, b) = type;
        }
        if (profile2[b] == kFireKeyText) {
            TypeByte(profile_section, kProfile2Offset, b) = type;
        }
    }
}

bool TakeStoredFireKeys(ProfileKeys& profile1, ProfileKeys& profile2,
                        std::span<uint8_t, kProfileSectionSize> profile_section) {
    bool changed = false;
    auto take = [&](ProfileKeys& keys, std::size_t offset) {
        for (std::size_t b = 0; b < kButtonsPerProfile; ++b) {
            if (keys[b] == kFireKeyHoldText) {
                keys[b] = std::string(kFireKeyText);
                TypeByte(profile_section, offset, b) = kTypeMacroRun;
                changed = true;
            }
        }
    };
    take(profile1, 0);
    take(profile2, kProfile2Offset);
    return changed;
}

}  // namespace velq
