#pragma once

#include <optional>
#include <span>
#include <string>
#include <string_view>

#include "common/caption_lookup.h"

namespace velq {

// The highest caption number a caption is searched under ("Str700").
inline constexpr int kLastSearchedCaptionNumber = 700;

// Finds the key of a caption shown on a button label. The tables are searched in the order
// given (language 1, 2, 3); in each, the keys "Str0" .. "Str700" (decimal, no leading zeros) in
// increasing order. Every key whose text equals the caption becomes the answer, so the last
// match wins: "Pare" (media stop and web stop) gives "Str264", and "DPI" gives "Str230" because
// the lighting mode "Str821" with the same text lies above 700. An empty caption has no key.
// Null entries in `tables` (a table that could not be read) are skipped.
[[nodiscard]] std::optional<std::string> FindCaptionKey(
    std::string_view caption, std::span<const CaptionLookup* const> tables);

// The caption a button label shows after a switch to the language of `target`: the target's
// text of the caption's key. A caption with no key keeps its text, and so does one whose key
// the target table lacks, so a button's name is never blanked by a short table.
[[nodiscard]] std::string TranslateLabelCaption(std::string_view caption,
                                                std::span<const CaptionLookup* const> tables,
                                                const CaptionLookup& target);

}  // namespace velq
