#include "shell/language_font.h"

#include <array>
#include <span>

namespace velq {
namespace {

struct FontSubstitution {
    std::string_view face;
    std::span<const std::string_view> families;
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

constexpr std::array<FontSubstitution, 4> kSubstitutions = {{
    {"Calibri", kCalibriFamilies},
    {"宋体", kSongFamilies},
    {"SimSun", kSongFamilies},
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

std::vector<std::string> FontFamiliesFor(std::string_view font_name) {
    std::vector<std::string> out;
    if (!font_name.empty()) {
        out.emplace_back(font_name);
    }
    std::span<const std::string_view> families = kSansSerifFamilies;
    for (const FontSubstitution& substitution : kSubstitutions) {
        if (substitution.face == font_name) {
            families = substitution.families;
            break;
        }
    }
    for (std::string_view family : families) {
        AddOnce(out, family);
    }
    for (std::string_view family : kCjkFallbacks) {
        AddOnce(out, family);
    }
    return out;
}

}  // namespace velq
