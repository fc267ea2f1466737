#include "settings/level_rules.h"

#include <charconv>

namespace velq {
namespace {

constexpr int kMaxColour = 255;
constexpr int kMaxStep = 7;
constexpr int kMinLamps = 4;
constexpr int kMaxLamps = 13;

// The number a field's text holds; texts that are no number (the fields take digits only) and
// numbers too long for an int count as very large.
int NumberOf(const std::string& text) {
    int value = 0;
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (error == std::errc::result_out_of_range) {
        return 1 << 30;
    }
    return error == std::errc() && end == text.data() + text.size() ? value : 0;
}

}  // namespace

int LevelCountAfterLabelClick(int count, int level) {
    if (level == count + 1 && level <= kDpiLevels) {
        return count + 1;  // the level just above the top
    }
    if (level == count && level > kMinLevelCount) {
        return count - 1;  // the top level, above the two always in use
    }
    return count;
}

std::optional<int> CurrentLevelAfterClick(int count, int level) {
    if (level >= 1 && level <= count) {
        return level;
    }
    return std::nullopt;
}

std::string CorrectColourText(const std::string& text) {
    if (text.empty()) {
        return "0";
    }
    return NumberOf(text) > kMaxColour ? std::to_string(kMaxColour) : text;
}

std::string CorrectStepText(const std::string& text) {
    if (text.empty()) {
        return "0";
    }
    return NumberOf(text) > kMaxStep ? std::to_string(kMaxStep) : text;
}

std::string CorrectLampText(const std::string& text, bool leaving_field) {
    if (text.empty()) {
        return std::to_string(kMaxLamps);
    }
    const int lamps = NumberOf(text);
    if (lamps > kMaxLamps) {
        return std::to_string(kMaxLamps);
    }
    if (lamps == 1 && !leaving_field) {
        return text;  // the first digit of 10 .. 13
    }
    return lamps < kMinLamps ? std::to_string(kMinLamps) : text;
}

}  // namespace velq
