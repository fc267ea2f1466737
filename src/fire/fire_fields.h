#pragma once

#include <optional>
#include <string>
#include <string_view>

#include "fire/fire_scan.h"

namespace velq {

// The fire page's numeric fields correct their own text on every change, without a message,
// and only then store the value: `text` is what the field shows afterwards, `value` what is
// stored (none when nothing is: a lone "-" the user is still typing).
struct FireFieldValue {
    std::string text;
    std::optional<int> value;
    bool operator==(const FireFieldValue&) const = default;
};

// Count 1..256 (256 repeats without end), X -128..127, Y 0..127, Time 0..2040 ms. A text that
// is no number (left by a paste) counts as empty; digits beyond any range count as too large.
FireFieldValue NormaliseFireField(FireParam param, std::string_view text);

// The row's Y adjustment: -128..127, and held so that Y + adjustment stays a signed byte
// (127 - Y at most, -128 - Y at least).
FireFieldValue NormaliseFireYAdjustment(std::string_view text, int y);

}  // namespace velq
