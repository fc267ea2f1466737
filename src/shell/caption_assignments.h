#pragma once

#include <array>
#include <string>
#include <string_view>
#include <vector>

#include "common/caption_lookup.h"
#include "shell/caption_targets.h"

namespace velq {

// One caption to put on a control of the main window when a table is applied.
struct CaptionAssignment {
    std::string_view control;
    CaptionUse use;
    uint8_t item;  // list position, for CaptionUse::kListItem
    std::string text;
};

// A function menu entry's caption: a blank, the bullet text (Str200), a blank, the entry's text.
std::string MenuEntryCaption(const CaptionLookup& captions, std::string_view key);

// The captions of every control of kCaptionTargets from `captions`, in table order, menu entries
// already carrying their bullet. A key the table lacks gives an empty caption.
std::vector<CaptionAssignment> BuildCaptionAssignments(const CaptionLookup& captions);

// The texts the main window keeps from the table it applied last (kKeptCaptionKeys).
class KeptCaptions {
public:
    KeptCaptions() = default;
    explicit KeptCaptions(const CaptionLookup& captions);

    // The kept text of `key`; empty for a key that is not kept or was missing from the table.
    const std::string& Text(std::string_view key) const;

private:
    std::array<std::string, kKeptCaptionKeys.size()> texts_;
};

}  // namespace velq
