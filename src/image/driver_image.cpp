#include "image/driver_image.h"

#include <algorithm>

namespace velq {
namespace {

template <std::size_t N>
void Take(std::span<const uint8_t> image, std::size_t offset, std::array<uint8_t, N>& out) {
    std::copy_n(image.begin() + static_cast<std::ptrdiff_t>(offset), N, out.begin());
}

}  // namespace

bool TakeDriverImageSections(std::span<const uint8_t> image, DriverImageSections& sections) {
    if (image.size() < kMinDriverImageSize) {
        return false;
    }
    Take(image, kParameterARange.address, sections.parameter_a);
    Take(image, kParameterBRange.address, sections.parameter_b);
    Take(image, kProfileRange.address, sections.profile);
    Take(image, kDriverFireKeyOffset, sections.fire_key);
    Take(image, kDriverStateRange.address, sections.state);
    return true;
}

DriverFireKeyRecord MakeDriverFireKeyRecord(const FireKeySection& fire_key) {
    DriverFireKeyRecord record{};
    std::copy(fire_key.begin(), fire_key.end(),
              record.begin() + (kDriverFireKeyOffset - kDriverFireKeyRecordRange.address));
    return record;
}

bool PutDriverStateBytes(std::span<uint8_t> image, const DriverStateBytes& state) {
    if (image.size() < kDriverStateRange.End()) {
        return false;
    }
    std::copy(state.begin(), state.end(), image.begin() + kDriverStateRange.address);
    return true;
}

}  // namespace velq
