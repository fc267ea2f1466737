#include "buttons/number_fields.h"

#include <algorithm>
#include <charconv>
#include <limits>

namespace velq {
namespace {

bool IsDigit(char c) {
    return c >= '0' && c <= '9';
}

std::string HeldText(std::string_view text, int low, int high) {
    const std::optional<int> number = FieldNumber(text);
    if (!number) {
        return std::string(text);
    }
    if (*number < low) {
        return std::to_string(low);
    }
    if (*number > high) {
        return std::to_string(high);
    }
    return std::string(text);
}

}  // namespace

bool DelayFieldAccepts(std::string_view text) {
    return std::all_of(text.begin(), text.end(), IsDigit);
}

bool ValueFieldAccepts(std::string_view text) {
    return std::all_of(text.begin(), text.end(), [](char c) { return IsDigit(c) || c == '-'; });
}

std::optional<int> FieldNumber(std::string_view text) {
    const bool negative = !text.empty() && text.front() == '-';
    const std::string_view digits = negative ? text.substr(1) : text;
    if (digits.empty() || !std::all_of(digits.begin(), digits.end(), IsDigit)) {
        return std::nullopt;
    }
    int value = 0;
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (error == std::errc::result_out_of_range) {
        return negative ? std::numeric_limits<int>::min() : std::numeric_limits<int>::max();
    }
    if (error != std::errc() || end != text.data() + text.size()) {
        return std::nullopt;
    }
    return value;
}

std::string CorrectDelayText(std::string_view text) {
    if (text.empty()) {
        return "0";
    }
    return HeldText(text, 0, kMaxEditDelay);
}

std::string CorrectValueText(std::string_view text) {
    if (text.empty()) {
        return "0";
    }
    if (text == "-") {
        return "-";
    }
    return HeldText(text, kMinMoveValue, kMaxMoveValue);
}

std::string CorrectFireCountText(std::string_view text) {
    if (text.empty()) {
        return "2";
    }
    return HeldText(text, 1, kMaxFireCount);
}

std::string CorrectFireWaitText(std::string_view text) {
    if (text.empty()) {
        return "0";
    }
    return HeldText(text, 0, kMaxFireWait);
}

std::string CorrectFactoryFireWaitText(std::string_view text) {
    if (text.empty()) {
        return "100";
    }
    return HeldText(text, 0, kMaxFireWait);
}

std::string CorrectDeviceCodeText(std::string_view text) {
    if (text.empty()) {
        return "255";
    }
    return HeldText(text, 0, 255);
}

}  // namespace velq
