#include "shell/caption_assignments.h"

#include <algorithm>

namespace velq {

std::string MenuEntryCaption(const CaptionLookup& captions, std::string_view key) {
    return " " + captions.Caption(kMenuBulletKey) + " " + captions.Caption(key);
}

std::vector<CaptionAssignment> BuildCaptionAssignments(const CaptionLookup& captions) {
    std::vector<CaptionAssignment> out;
    out.reserve(kCaptionTargets.size());
    for (const CaptionTarget& target : kCaptionTargets) {
        std::string text = target.use == CaptionUse::kMenuEntry
                               ? MenuEntryCaption(captions, target.key)
                               : captions.Caption(target.key);
        out.push_back({target.control, target.use, target.item, std::move(text)});
    }
    return out;
}

KeptCaptions::KeptCaptions(const CaptionLookup& captions) {
    for (size_t i = 0; i < kKeptCaptionKeys.size(); ++i) {
        texts_[i] = captions.Caption(kKeptCaptionKeys[i]);
    }
}

const std::string& KeptCaptions::Text(std::string_view key) const {
    static const std::string kEmpty;
    const auto* it = std::find(kKeptCaptionKeys.begin(), kKeptCaptionKeys.end(), key);
    if (it == kKeptCaptionKeys.end()) {
        return kEmpty;
    }
    return texts_[static_cast<size_t>(it - kKeptCaptionKeys.begin())];
}

}  // namespace velq
