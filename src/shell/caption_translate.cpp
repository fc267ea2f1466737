#include "shell/caption_translate.h"

namespace velq {

std::optional<std::string> FindCaptionKey(std::string_view caption,
                                          std::span<const CaptionLookup* const> tables) {
    std::optional<std::string> found;
    if (caption.empty()) {
        return found;
    }
    for (const CaptionLookup* table : tables) {
        if (table == nullptr) {
            continue;
        }
        for (int number = 0; number <= kLastSearchedCaptionNumber; ++number) {
            std::string key = "Str" + std::to_string(number);
            if (table->Caption(key) == caption) {
                found = std::move(key);
            }
        }
    }
    return found;
}

std::string TranslateLabelCaption(std::string_view caption,
                                  std::span<const CaptionLookup* const> tables,
                                  const CaptionLookup& target) {
    const std::optional<std::string> key = FindCaptionKey(caption, tables);
    if (!key) {
        return std::string(caption);
    }
    std::string text = target.Caption(*key);
    return text.empty() ? std::string(caption) : text;
}

}  // namespace velq
