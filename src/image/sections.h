#pragma once

#include <array>
#include <cstdint>

#include "image/memory_map.h"

namespace velq {

using ParameterASection = std::array<uint8_t, kParameterASize>;
using ParameterBSection = std::array<uint8_t, kParameterBSize>;
using ProfileSection = std::array<uint8_t, kProfileSize>;
using FireEntryTable = std::array<uint8_t, kFireEntrySize>;
using FireYOffsetTable = std::array<uint8_t, kFireYOffsetSize>;
using FireColorTable = std::array<uint8_t, kFireColorSize>;
using FireKeySection = std::array<uint8_t, kFireKeySize>;

// The working copies of the seven parameter sections. The pages read and change only these;
// they are filled from `DataBuf` (each checked and repaired) and stored back before a write.
struct SectionCopies {
    ParameterASection parameter_a{};
    ParameterBSection parameter_b{};
    ProfileSection profile{};
    FireEntryTable fire_entry{};
    FireYOffsetTable fire_y_offset{};
    FireColorTable fire_color{};
    FireKeySection fire_key{};
};

// Each stores the section's checksum byte, computed over the bytes before it.
void StoreParameterAChecksum(ParameterASection& section);
void StoreProfileChecksum(ProfileSection& section);
void StoreFireKeyChecksum(FireKeySection& section);

// The sections a repair falls back to, checksums included.
ParameterASection DefaultParameterASection();
ProfileSection DefaultProfileSection();
FireKeySection DefaultFireKeySection();

// The section checks. A section that fails is repaired in place, silently: A, the profile and
// the fire key section are replaced whole by their defaults; in B only a failing complement
// pair is reset. A section whose checksum happens to match is accepted whatever it holds.
// Each returns true when it repaired something.
bool CheckParameterASection(ParameterASection& section);
bool CheckParameterBSection(ParameterBSection& section);
bool CheckProfileSection(ProfileSection& section);
bool CheckFireKeySection(FireKeySection& section);

// The sections a fill repaired: in place of what the image held there, the copies hold the
// defaults (for B, the defaults of the pairs that failed).
struct SectionRepairs {
    bool parameter_a = false;
    bool parameter_b = false;
    bool profile = false;
    bool fire_key = false;

    bool Any() const { return parameter_a || parameter_b || profile || fire_key; }
    explicit operator bool() const { return Any(); }
    bool operator==(const SectionRepairs&) const = default;
};

// Fills the copies from the image in the fixed order: A, B and the profile, each checked; the
// three fire tables; the fire key section, checked. Says which sections were repaired.
SectionRepairs FillSectionCopies(const DataBuf& image, SectionCopies& copies);

// Recomputes the checksums of A, the profile and the fire key section in the copies and
// copies all seven sections into the image. Nothing outside the sections is touched.
void StoreSectionCopies(SectionCopies& copies, DataBuf& image);

}  // namespace velq
