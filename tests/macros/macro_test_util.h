#pragma once

#include <algorithm>
#include <cstdint>
#include <vector>

#include "common/checksum.h"
#include "macros/macro_content.h"

namespace velq::test {

// A device-form content holding `tokens`, closed by its checksum.
inline MacroContent DeviceContent(const std::vector<uint8_t>& tokens, uint8_t flag = 0) {
    MacroContent content{};
    content[0] = flag;
    content[1] = static_cast<uint8_t>(tokens.size() + 1);
    std::copy(tokens.begin(), tokens.end(), content.begin() + 2);
    content[tokens.size() + 2] =
        SectionChecksum(std::span<const uint8_t>(content).subspan(1, tokens.size() + 1));
    return content;
}

// A utility-form content holding `tokens`, closed by its checksum.
inline DriverMacroContent UtilityContent(const std::vector<uint8_t>& tokens, uint8_t flag = 0) {
    DriverMacroContent content{};
    const std::size_t length = tokens.size() + 1;
    content[0] = flag;
    content[1] = static_cast<uint8_t>(length >> 8);
    content[2] = static_cast<uint8_t>(length & 0xFF);
    std::copy(tokens.begin(), tokens.end(), content.begin() + 3);
    content[tokens.size() + 3] =
        SectionChecksum(std::span<const uint8_t>(content).subspan(1, tokens.size() + 2));
    return content;
}

}  // namespace velq::test
