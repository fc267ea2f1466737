#include "image/sections.h"

#include <algorithm>
#include <span>

#include "common/checksum.h"

namespace velq {
namespace {

constexpr ParameterASection kDefaultParameterA = {
    0xFF, 0xFE, 0x04, 0x00, 0xFF, 0x00,              // options, 4 levels, LED options
    0x01, 0x02, 0x03, 0x04, 0x05, 0x06, 0x07,        // DPI value index of levels 1-7
    0x01, 0x04, 0x03, 0x00, 0x02, 0x05, 0x06, 0xFF,  // not written by the pages
    0x00, 0x00, 0x00, 0xFF, 0x00,                    //
    0xFF, 0x00, 0x00, 0x00, 0xFF, 0x00, 0xFF, 0xFF,  // red, green, yellow
    0x00, 0x00, 0x00, 0xFF, 0xFF, 0x00, 0xFF, 0x00,  // blue, magenta
    0xFF, 0xFF, 0xFF, 0xFF, 0xFF,                    // cyan, white
    0x79};

// The nine function codes both profiles get by default.
constexpr std::array<std::array<uint8_t, kFunctionCodeSize>, kButtonsPerProfile>
    kDefaultButtonCodes = {{{0x01, 0x01, 0x00},
                            {0x01, 0x04, 0x00},
                            {0x01, 0x02, 0x00},
                            {0x01, 0x08, 0x00},
                            {0x01, 0x10, 0x00},
                            {0x05, 0x00, 0x00},
                            {0x0F, 0x00, 0x00},
                            {0x02, 0x08, 0x07},
                            {0x09, 0x00, 0x00}}};

// Fire key macro: repeat group of three shots, left down, wait 3, left up, wait 100.
constexpr FireKeySection kDefaultFireKey = {0x0A, 0xFD, 0x02, 0xA1, 0xFE, 0x03,
                                            0x21, 0xFE, 0x64, 0xFC, 0x70};

// A failing complement pair of B is reset to these values: level 1, LED mode 1, profile 1.
struct PairDefault {
    std::size_t offset;
    uint8_t value;
};
constexpr std::array<PairDefault, 3> kParameterBPairDefaults = {
    {{kCurrentLevelOffset, 0x01}, {kLedStateOffset, 0x01}, {kKeyModeOffset, 0x00}}};

template <std::size_t N>
uint8_t ChecksumOfAllButLast(const std::array<uint8_t, N>& section) {
    return SectionChecksum(std::span<const uint8_t>(section.data(), N - 1));
}

template <std::size_t N>
bool ChecksumValid(const std::array<uint8_t, N>& section) {
    return ChecksumOfAllButLast(section) == section[N - 1];
}

template <std::size_t N>
void CopyFromImage(const DataBuf& image, SectionRange range, std::array<uint8_t, N>& section) {
    static_assert(N > 0);
    std::copy_n(image.begin() + range.address, N, section.begin());
}

template <std::size_t N>
void CopyToImage(const std::array<uint8_t, N>& section, SectionRange range, DataBuf& image) {
    std::copy_n(section.begin(), N, image.begin() + range.address);
}

}  // namespace

void StoreParameterAChecksum(ParameterASection& section) {
    section[kParameterAChecksumOffset] = ChecksumOfAllButLast(section);
}

void StoreProfileChecksum(ProfileSection& section) {
    section[kProfileChecksumOffset] = ChecksumOfAllButLast(section);
}

void StoreFireKeyChecksum(FireKeySection& section) {
    section[kFireKeyChecksumOffset] = ChecksumOfAllButLast(section);
}

ParameterASection DefaultParameterASection() {
    ParameterASection section = kDefaultParameterA;
    StoreParameterAChecksum(section);
    return section;
}

ProfileSection DefaultProfileSection() {
    ProfileSection section;
    section.fill(0xFF);
    for (std::size_t profile_offset : {kProfile1Offset, kProfile2Offset}) {
        for (std::size_t b = 0; b < kDefaultButtonCodes.size(); ++b) {
            std::copy(kDefaultButtonCodes[b].begin(), kDefaultButtonCodes[b].end(),
                      section.begin() + profile_offset + b * kFunctionCodeSize);
        }
    }
    StoreProfileChecksum(section);
    return section;
}

FireKeySection DefaultFireKeySection() {
    FireKeySection section = kDefaultFireKey;
    StoreFireKeyChecksum(section);
    return section;
}

bool CheckParameterASection(ParameterASection& section) {
    if (ChecksumValid(section)) {
        return false;
    }
    section = DefaultParameterASection();
    return true;
}

bool CheckParameterBSection(ParameterBSection& section) {
    bool repaired = false;
    for (const PairDefault& pair : kParameterBPairDefaults) {
        if (section[pair.offset] + section[pair.offset + 1] != 0xFF) {
            section[pair.offset] = pair.value;
            section[pair.offset + 1] = static_cast<uint8_t>(0xFF - pair.value);
            repaired = true;
        }
    }
    return repaired;
}

bool CheckProfileSection(ProfileSection& section) {
    if (ChecksumValid(section)) {
        return false;
    }
    section = DefaultProfileSection();
    return true;
}

bool CheckFireKeySection(FireKeySection& section) {
    if (ChecksumValid(section)) {
        return false;
    }
    section = DefaultFireKeySection();
    return true;
}

SectionRepairs FillSectionCopies(const DataBuf& image, SectionCopies& copies) {
    SectionRepairs repairs;
    CopyFromImage(image, kParameterARange, copies.parameter_a);
    repairs.parameter_a = CheckParameterASection(copies.parameter_a);
    CopyFromImage(image, kParameterBRange, copies.parameter_b);
    repairs.parameter_b = CheckParameterBSection(copies.parameter_b);
    CopyFromImage(image, kProfileRange, copies.profile);
    repairs.profile = CheckProfileSection(copies.profile);
    CopyFromImage(image, kFireEntryRange, copies.fire_entry);
    CopyFromImage(image, kFireYOffsetRange, copies.fire_y_offset);
    CopyFromImage(image, kFireColorRange, copies.fire_color);
    CopyFromImage(image, kFireKeyRange, copies.fire_key);
    repairs.fire_key = CheckFireKeySection(copies.fire_key);
    return repairs;
}

void StoreSectionCopies(SectionCopies& copies, DataBuf& image) {
    StoreParameterAChecksum(copies.parameter_a);
    StoreProfileChecksum(copies.profile);
    StoreFireKeyChecksum(copies.fire_key);
    CopyToImage(copies.parameter_a, kParameterARange, image);
    CopyToImage(copies.parameter_b, kParameterBRange, image);
    CopyToImage(copies.profile, kProfileRange, image);
    CopyToImage(copies.fire_entry, kFireEntryRange, image);
    CopyToImage(copies.fire_y_offset, kFireYOffsetRange, image);
    CopyToImage(copies.fire_color, kFireColorRange, image);
    CopyToImage(copies.fire_key, kFireKeyRange, image);
}

}  // namespace velq
