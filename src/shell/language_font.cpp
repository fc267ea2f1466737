#include "shell/language_font.h"

#include <array>
#include <span>

namespace velq {
namespace {

struct FontSubstitution {
    std::string_view face;
    std::span<const std::string_view> families;
    bool chinese_face = false;  // a Simplified Chinese face, which Traditional captions go before
};

// Song (Ming) style first, as 宋体 is a serif face; then the sans CJK faces as a last resort.
constexpr std::array<std::string_view, 9> kSongFamilies = {
    "SimSun",
    "Noto Serif CJK SC",
    "Source Han Serif SC",
    "AR PL UMing CN",
    "AR PL SungtiL GB",
    "Noto Sans CJK SC",
    "WenQuanYi Zen Hei",
    "WenQuanYi Micro Hei",
    "Droid Sans Fallback",
};

constexpr std::array<std::string_view, 3> kCalibriFamilies = {
    "Carlito",
    "Liberation Sans",
    "DejaVu Sans",
};

constexpr std::array<std::string_view, 2> kSansSerifFamilies = {
    "Liberation Sans",
    "DejaVu Sans",
};

// Sans CJK faces put after every Latin list, for Chinese text in a Latin-named font.
constexpr std::array<std::string_view, 3> kCjkFallbacks = {
    "Noto Sans CJK SC",
    "WenQuanYi Zen Hei",
    "WenQuanYi Micro Hei",
};

// Traditional Chinese faces, Ming (serif) style first to match 宋体, then sans; all before any
// Simplified face, whose glyph forms differ. PMingLiU is Windows' Traditional counterpart of
// SimSun, used where a machine has it.
constexpr std::array<std::string_view, 7> kTraditionalFamilies = {
    "PMingLiU",       "Noto Serif CJK TC", "Source Han Serif TC", "AR PL UMing TW",
    "AR PL UMing HK", "Noto Sans CJK TC",  "Source Han Sans TC",
};

constexpr std::array<FontSubstitution, 4> kSubstitutions = {{
    {"Calibri", kCalibriFamilies},
    {"宋体", kSongFamilies, true},
    {"SimSun", kSongFamilies, true},
    {"MS Sans Serif", kSansSerifFamilies},
}};

void AddOnce(std::vector<std::string>& out, std::string_view family) {
    for (const std::string& present : out) {
        if (present == family) {
            return;
        }
    }
    out.emplace_back(family);
}

}  // namespace

CaptionScript CaptionScriptOf(int language_number) {
    switch (language_number) {
        case 2:
            return CaptionScript::kSimplifiedChinese;
        case 3:
            return CaptionScript::kTraditionalChinese;
        default:
            return CaptionScript::kLatin;
    }
}

std::vector<std::string> FontFamiliesFor(std::string_view font_name, CaptionScript script) {
    const FontSubstitution* substitution = nullptr;
    for (const FontSubstitution& candidate : kSubstitutions) {
        if (candidate.face == font_name) {
            substitution = &candidate;
            break;
        }
    }
    const std::span<const std::string_view> families =
        substitution != nullptr ? substitution->families : kSansSerifFamilies;
    const bool traditional = script == CaptionScript::kTraditionalChinese;
    // A Latin face keeps its place in a Traditional table (its letters look as intended, and
    // Han characters fall through to the Traditional families after it); a Chinese face or none
    // gives way to them.
    const bool traditional_first =
        traditional &&
        (font_name.empty() || (substitution != nullptr && substitution->chinese_face));

    std::vector<std::string> out;
    const auto add = [&out](std::span<const std::string_view> list) {
        for (std::string_view family : list) {
            AddOnce(out, family);
        }
    };
    if (traditional_first) {
        add(kTraditionalFamilies);
    }
    if (!font_name.empty()) {
        AddOnce(out, font_name);
    }
    add(families);
    if (traditional) {
        add(kTraditionalFamilies);
    }
    add(kCjkFallbacks);
    return out;
}

}  // namespace velq
