#pragma once

#include <cstdint>
#include <map>
#include <string>
#include <string_view>
#include <vector>

#include "common/caption_lookup.h"

namespace velq::test {

// UTF-16 little-endian bytes of UTF-8 text, with the byte order mark FF FE in front when `bom`.
inline std::vector<uint8_t> Utf16Le(std::string_view utf8, bool bom = true) {
    std::vector<uint8_t> out;
    if (bom) {
        out = {0xFF, 0xFE};
    }
    auto put = [&out](uint32_t unit) {
        out.push_back(static_cast<uint8_t>(unit & 0xFF));
        out.push_back(static_cast<uint8_t>(unit >> 8));
    };
    for (size_t i = 0; i < utf8.size();) {
        const auto c = static_cast<unsigned char>(utf8[i]);
        uint32_t cp = c;
        size_t len = 1;
        if (c >= 0xF0) {
            cp = c & 0x07;
            len = 4;
        } else if (c >= 0xE0) {
            cp = c & 0x0F;
            len = 3;
        } else if (c >= 0xC0) {
            cp = c & 0x1F;
            len = 2;
        }
        for (size_t k = 1; k < len; ++k) {
            cp = (cp << 6) | (static_cast<unsigned char>(utf8[i + k]) & 0x3F);
        }
        i += len;
        if (cp >= 0x10000) {
            put(0xD800 + ((cp - 0x10000) >> 10));
            put(0xDC00 + ((cp - 0x10000) & 0x3FF));
        } else {
            put(cp);
        }
    }
    return out;
}

// A caption table made of a few keys, for rules that do not depend on the shipped texts.
class FakeCaptions final : public CaptionLookup {
public:
    FakeCaptions(std::initializer_list<std::pair<const std::string, std::string>> texts)
        : texts_(texts) {}
    std::string Caption(std::string_view key) const override {
        auto it = texts_.find(std::string(key));
        return it == texts_.end() ? std::string() : it->second;
    }

private:
    std::map<std::string, std::string> texts_;
};

}  // namespace velq::test
