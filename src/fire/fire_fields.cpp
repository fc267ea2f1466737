#include "fire/fire_fields.h"

#include <algorithm>
#include <cctype>

namespace velq {
namespace {

// Far outside every field's range, and far inside int.
constexpr long long kSaturated = 1'000'000;

// The text as a number, held at +-kSaturated; none when it is empty or no number.
std::optional<long long> Parse(std::string_view text) {
    bool negative = false;
    if (!text.empty() && text.front() == '-') {
        negative = true;
        text.remove_prefix(1);
    }
    if (text.empty()) {
        return std::nullopt;
    }
    long long value = 0;
    for (const char c : text) {
        if (std::isdigit(static_cast<unsigned char>(c)) == 0) {
            return std::nullopt;
        }
        value = std::min(kSaturated, value * 10 + (c - '0'));
    }
    return negative ? -value : value;
}

FireFieldValue Shown(long long value) {
    return {std::to_string(value), static_cast<int>(value)};
}

}  // namespace

FireFieldValue NormaliseFireField(FireParam param, std::string_view text) {
    const bool signed_field = param == FireParam::kX;
    if (signed_field && text == "-") {
        return {std::string(text), std::nullopt};
    }
    const std::optional<long long> parsed = Parse(text);
    switch (param) {
        case FireParam::kCount:
            // 0 would be one pass too: the field says what is stored.
            return Shown(std::clamp(parsed.value_or(1), 1LL, 256LL));
        case FireParam::kX:
            return Shown(std::clamp(parsed.value_or(0), -128LL, 127LL));
        case FireParam::kY:
            return Shown(std::clamp(parsed.value_or(0), 0LL, 127LL));
        case FireParam::kTime:
            return Shown(std::clamp(parsed.value_or(0), 0LL, 2040LL));
    }
    return {std::string(text), std::nullopt};
}

FireFieldValue NormaliseFireYAdjustment(std::string_view text, int y) {
    if (text == "-") {
        return {std::string(text), std::nullopt};
    }
    long long value = std::clamp(Parse(text).value_or(0), -128LL, 127LL);
    if (y + value >= 128) {
        value = 127 - y;
    } else if (y + value < -128) {
        value = -128 - y;
    }
    return Shown(value);
}

}  // namespace velq
