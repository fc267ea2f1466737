#include "config/config_json.h"

#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <limits>
#include <map>
#include <optional>
#include <string_view>

#include "common/dpi.h"
#include "config/config_codec.h"
#include "config/config_edits.h"

namespace velq {
namespace {

constexpr int kMaxSensorOrientation = 7;
constexpr int kMinLightMode = 1;
constexpr int kMaxLightMode = 7;
constexpr int kMaxLightStep = 7;
// 0xFF in the repeat byte means "while held", so it is no repeat count.
constexpr int kMaxFireRepeat = 0xFE;

struct NamedOption {
    const char* key;
    bool OptionsConfig::*field;
};
constexpr std::array<NamedOption, 8> kBoolOptions = {{
    {"led_switch_keys", &OptionsConfig::led_switch_keys},
    {"gun_function", &OptionsConfig::gun_function},
    {"led_mode_keys", &OptionsConfig::led_mode_keys},
    {"remember_key_mode", &OptionsConfig::remember_key_mode},
    {"middle_long_press", &OptionsConfig::middle_long_press},
    {"dpi_long_press", &OptionsConfig::dpi_long_press},
    {"gun_long_press", &OptionsConfig::gun_long_press},
    {"smoothing", &OptionsConfig::smoothing},
}};

const char* LightTypeText(LightType type) {
    switch (type) {
        case LightType::kFlowing:
            return "flowing";
        case LightType::kTwoColour:
            return "two-colour";
        case LightType::kSync:
            return "sync";
        case LightType::kBreathing:
            return "breathing";
    }
    return "?";
}

std::string ColourText(const Colour& colour) {
    char text[8];
    std::snprintf(text, sizeof text, "%02X%02X%02X", colour.r, colour.g, colour.b);
    return text;
}

std::optional<int> DpiOfIndex(uint8_t index) {
    if (index < kDpiValues.size()) {
        return kDpiValues[index];
    }
    return std::nullopt;
}

Json DpiJson(uint8_t index) {
    const std::optional<int> dpi = DpiOfIndex(index);
    return dpi ? Json(*dpi) : Json(nullptr);
}

Json ButtonsJson(const ProfileButtons& buttons, const CodeNamer& namer) {
    Json list = Json::array();
    for (const FunctionCode& code : buttons) {
        list.push_back({{"code", CodeText(code)}, {"name", namer ? namer(code) : std::string()}});
    }
    return list;
}

// A key split at its dots and brackets: the pattern keeps the names with "[]" for each index
// ("dpi.levels[].value"), the indices go beside it.
struct KeyPath {
    std::string text;
    std::string pattern;
    std::vector<std::size_t> indices;

    KeyPath Member(const std::string& name) const {
        KeyPath next = *this;
        next.text += (text.empty() ? "" : ".") + name;
        next.pattern += (pattern.empty() ? "" : ".") + name;
        return next;
    }
    KeyPath Index(std::size_t index) const {
        KeyPath next = *this;
        next.text += "[" + std::to_string(index) + "]";
        next.pattern += "[]";
        next.indices.push_back(index);
        return next;
    }
};

// One value the edit asks for.
struct Leaf {
    KeyPath path;
    Json value;
    Json shown;
};

std::string Refusal(const KeyPath& path, const std::string& why) {
    return path.text + ": " + why;
}

// Walks `patch` beside `shown` down to its single values.
bool CollectLeaves(const Json& patch, const Json& shown, const KeyPath& path,
                   std::vector<Leaf>& leaves, std::string& error) {
    if (patch.is_object()) {
        if (!shown.is_object()) {
            error = Refusal(path, "holds a single value or a list, not keys");
            return false;
        }
        for (const auto& [name, value] : patch.items()) {
            const KeyPath member = path.Member(name);
            if (!shown.contains(name)) {
                error = Refusal(member, "no such key");
                return false;
            }
            if (!CollectLeaves(value, shown.at(name), member, leaves, error)) {
                return false;
            }
        }
        return true;
    }
    if (patch.is_array()) {
        if (!shown.is_array()) {
            error = Refusal(path, "is not a list");
            return false;
        }
        for (std::size_t i = 0; i < patch.size(); ++i) {
            if (i >= shown.size()) {
                error = Refusal(path.Index(i), "no such key (the list has " +
                                                   std::to_string(shown.size()) + " entries)");
                return false;
            }
            if (!CollectLeaves(patch[i], shown[i], path.Index(i), leaves, error)) {
                return false;
            }
        }
        return true;
    }
    if (shown.is_structured()) {
        error = Refusal(path, shown.is_array() ? "takes a list" : "takes keys");
        return false;
    }
    leaves.push_back({path, patch, shown});
    return true;
}

// Reads "a.b[2].c" into a path; false when it is not of that form.
bool ParseKey(const std::string& text, KeyPath& path) {
    path = {};
    std::size_t i = 0;
    while (i < text.size()) {
        std::size_t end = text.find_first_of(".[", i);
        if (end == std::string::npos) {
            end = text.size();
        }
        if (end == i) {
            return false;
        }
        path = path.Member(text.substr(i, end - i));
        i = end;
        while (i < text.size() && text[i] == '[') {
            const std::size_t close = text.find(']', i);
            if (close == std::string::npos || close == i + 1) {
                return false;
            }
            std::size_t index = 0;
            for (std::size_t d = i + 1; d < close; ++d) {
                if (text[d] < '0' || text[d] > '9' || close - i > 4) {
                    return false;
                }
                index = index * 10 + static_cast<std::size_t>(text[d] - '0');
            }
            path = path.Index(index);
            i = close + 1;
        }
        if (i < text.size()) {
            if (text[i] != '.' || i + 1 == text.size()) {
                return false;
            }
            ++i;
        }
    }
    return !path.text.empty();
}

// The shown value at `path`, or an error naming the first part that is not there.
const Json* Resolve(const Json& root, const KeyPath& path, std::string& error) {
    // Walk the text again part by part, so the error names the first part missing.
    KeyPath walked;
    const Json* node = &root;
    std::size_t index_pos = 0;
    std::size_t i = 0;
    const std::string& text = path.text;
    while (i < text.size()) {
        if (text[i] == '[') {
            const std::size_t index = path.indices[index_pos++];
            walked = walked.Index(index);
            if (!node->is_array() || index >= node->size()) {
                error = Refusal(walked, "no such key");
                return nullptr;
            }
            node = &(*node)[index];
            i = text.find(']', i) + 1;
            continue;
        }
        if (text[i] == '.') {
            ++i;
            continue;
        }
        const std::size_t end = std::min(text.find_first_of(".[", i), text.size());
        const std::string name = text.substr(i, end - i);
        walked = walked.Member(name);
        if (!node->is_object() || !node->contains(name)) {
            error = Refusal(walked, "no such key");
            return nullptr;
        }
        node = &node->at(name);
        i = end;
    }
    return node;
}

// A value as a message shows it. A text given to `set` may hold bytes that are no UTF-8; they
// show as U+FFFD rather than end the program.
std::string Shown(const Json& value) {
    return value.dump(-1, ' ', false, Json::error_handler_t::replace);
}

// The whole number a value holds, read by its JSON type: a number above the largest signed one
// (an unsigned JSON number) is held at that largest, so that it can never wrap into a range.
std::optional<int64_t> WholeNumber(const Json& value) {
    if (value.is_number_unsigned()) {
        const uint64_t number = value.get<uint64_t>();
        constexpr auto kLargest = static_cast<uint64_t>(std::numeric_limits<int64_t>::max());
        return static_cast<int64_t>(std::min(number, kLargest));
    }
    if (value.is_number_integer()) {
        return value.get<int64_t>();
    }
    return std::nullopt;
}

// The setters. Each checks the type and the range of the value; a refusal says why.
bool GetInt(const Leaf& leaf, int64_t low, int64_t high, int64_t& value, std::string& error) {
    const std::optional<int64_t> number = WholeNumber(leaf.value);
    if (!number) {
        error = Refusal(leaf.path, "takes a whole number from " + std::to_string(low) + " to " +
                                       std::to_string(high));
        return false;
    }
    if (*number < low || *number > high) {
        error = Refusal(leaf.path, Shown(leaf.value) + " is out of range (" + std::to_string(low) +
                                       " to " + std::to_string(high) + ")");
        return false;
    }
    value = *number;
    return true;
}

bool GetBool(const Leaf& leaf, bool& value, std::string& error) {
    if (!leaf.value.is_boolean()) {
        error = Refusal(leaf.path, "takes true or false");
        return false;
    }
    value = leaf.value.get<bool>();
    return true;
}

bool GetColour(const Leaf& leaf, Colour& colour, std::string& error) {
    const auto hex = [](char c) -> int {
        if (c >= '0' && c <= '9') {
            return c - '0';
        }
        if (c >= 'A' && c <= 'F') {
            return c - 'A' + 10;
        }
        if (c >= 'a' && c <= 'f') {
            return c - 'a' + 10;
        }
        return -1;
    };
    const std::string text = leaf.value.is_string() ? leaf.value.get<std::string>() : "";
    std::array<uint8_t, 3> parts{};
    bool valid = text.size() == 6;
    for (std::size_t i = 0; valid && i < parts.size(); ++i) {
        const int high = hex(text[2 * i]);
        const int low = hex(text[2 * i + 1]);
        valid = high >= 0 && low >= 0;
        parts[i] = static_cast<uint8_t>(high * 16 + low);
    }
    if (!valid) {
        error = Refusal(leaf.path, "takes a colour as six hex digits RRGGBB");
        return false;
    }
    colour = {parts[0], parts[1], parts[2]};
    return true;
}

bool GetDpiIndex(const Leaf& leaf, uint8_t& index, std::string& error) {
    const std::optional<int64_t> number = WholeNumber(leaf.value);
    const auto* found =
        number ? std::find(kDpiValues.begin(), kDpiValues.end(), *number) : kDpiValues.end();
    if (found == kDpiValues.end()) {
        std::string list;
        for (int dpi : kDpiValues) {
            list += (list.empty() ? "" : ", ") + std::to_string(dpi);
        }
        error = Refusal(leaf.path, (number ? Shown(leaf.value) + " is " : std::string("takes ")) +
                                       (number ? "not a DPI value of " : "a DPI value of ") + list);
        return false;
    }
    index = static_cast<uint8_t>(found - kDpiValues.begin());
    return true;
}

// A function code a profile button may hold: a known type, and "key off" only as 000000. The
// fire block run belongs to the fire slots, never to a button.
bool GetButtonCode(const Leaf& leaf, FunctionCode& code, std::string& error) {
    const std::optional<FunctionCode> parsed =
        leaf.value.is_string() ? ParseCodeText(leaf.value.get<std::string>()) : std::nullopt;
    if (!parsed) {
        error = Refusal(leaf.path, "takes a function code of six upper-case hex digits");
        return false;
    }
    const uint8_t type = parsed->type;
    const bool known =
        type <= static_cast<uint8_t>(CodeType::kLEDMode) && type != 0x04 &&
        type != static_cast<uint8_t>(CodeType::kFireBlockRun) &&
        (type != static_cast<uint8_t>(CodeType::kKeyOff) || *parsed == FunctionCode{});
    if (!known) {
        error = Refusal(leaf.path, CodeText(*parsed) + " is not a button function");
        return false;
    }
    code = *parsed;
    return true;
}

enum class SetOutcome { kSet, kRefused, kShownOnly };

SetOutcome SetLeaf(const Leaf& leaf, MouseConfig& c, std::string& error) {
    const std::string& p = leaf.path.pattern;
    const auto ok = [](bool set) { return set ? SetOutcome::kSet : SetOutcome::kRefused; };
    const std::size_t n = leaf.path.indices.empty() ? 0 : leaf.path.indices[0];
    int64_t number = 0;
    bool flag = false;
    if (p.rfind("options.", 0) == 0) {
        const std::string name = p.substr(8);
        if (name == "sensor_orientation") {
            const bool set = GetInt(leaf, 0, kMaxSensorOrientation, number, error);
            c.options.sensor_orientation = static_cast<uint8_t>(set ? number : 0);
            return ok(set);
        }
        if (name == "remember_key_mode") {
            // As on the pages: a mouse that does not remember its key mode starts in office.
            const bool set = GetBool(leaf, flag, error);
            SetRememberKeyMode(c, flag);
            return ok(set);
        }
        for (const NamedOption& option : kBoolOptions) {
            if (name == option.key) {
                const bool set = GetBool(leaf, flag, error);
                c.options.*option.field = flag;
                return ok(set);
            }
        }
        return SetOutcome::kShownOnly;
    }
    if (p == "dpi.count") {
        // As on the pages, the new top level becomes the current one, unless the same edit
        // names the current level (it is set after every other key).
        const bool set = GetInt(leaf, kMinLevelCount, kDpiLevels, number, error);
        if (set) {
            SetLevelCount(c, static_cast<int>(number));
        }
        return ok(set);
    }
    if (p == "dpi.current") {
        const bool set = GetInt(leaf, 1, kDpiLevels, number, error);
        c.dpi.current = static_cast<uint8_t>(number - 1);
        return ok(set);
    }
    if (p == "dpi.levels[].value") {
        return ok(GetDpiIndex(leaf, c.dpi.levels[n].value, error));
    }
    if (p == "dpi.levels[].colour") {
        return ok(GetColour(leaf, c.dpi.levels[n].colour, error));
    }
    if (p == "lighting.on") {
        return ok(GetBool(leaf, c.lighting.on, error));
    }
    if (p == "lighting.mode") {
        const bool set = GetInt(leaf, kMinLightMode, kMaxLightMode, number, error);
        c.lighting.mode = static_cast<uint8_t>(number);
        return ok(set);
    }
    if (p == "lighting.step") {
        const bool set = GetInt(leaf, 0, kMaxLightStep, number, error);
        c.lighting.step = static_cast<uint8_t>(number);
        return ok(set);
    }
    if (p == "lighting.full_brightness") {
        return ok(GetBool(leaf, c.lighting.full_brightness, error));
    }
    if (p == "lighting.lamps") {
        const bool set = GetInt(leaf, kMinLamps, kMaxLamps, number, error);
        c.lighting.lamps = static_cast<int>(number);
        return ok(set);
    }
    if (p == "lighting.modes_offered[]") {
        return ok(GetBool(leaf, c.lighting.modes_offered[n], error));
    }
    if (p == "buttons.office[].code" || p == "buttons.gaming[].code") {
        ProfileButtons& buttons = p == "buttons.office[].code" ? c.office : c.gaming;
        return ok(GetButtonCode(leaf, buttons[n], error));
    }
    if (p == "key_mode") {
        const std::string text = leaf.value.is_string() ? leaf.value.get<std::string>() : "";
        if (text != "office" && text != "gaming") {
            error = Refusal(leaf.path, "takes \"office\" or \"gaming\"");
            return SetOutcome::kRefused;
        }
        c.key_mode = text == "gaming" ? 1 : 0;
        return SetOutcome::kSet;
    }
    if (p == "fire_key.while_held") {
        return ok(GetBool(leaf, c.fire_key.while_held, error));
    }
    if (p == "fire_key.repeat") {
        const bool set = GetInt(leaf, 0, kMaxFireRepeat, number, error);
        c.fire_key.repeat = static_cast<uint8_t>(number);
        return ok(set);
    }
    if (p == "fire_key.interval") {
        const bool set = GetInt(leaf, 0, 0xFF, number, error);
        c.fire_key.interval = static_cast<uint8_t>(number);
        return ok(set);
    }
    if (p == "fire_slots[].y_adjust") {
        const bool set = GetInt(leaf, INT8_MIN, INT8_MAX, number, error);
        c.fire_slots[n].y_adjust = static_cast<int8_t>(number);
        return ok(set);
    }
    if (p == "fire_slots[].colour") {
        return ok(GetColour(leaf, c.fire_slots[n].colour, error));
    }
    if (p == "aim_dpi") {
        // The aim keys hold the aim DPI in their codes: they change with it. It is set after
        // the buttons, so that an aim key given in the same edit takes it too.
        uint8_t index = 0;
        if (!GetDpiIndex(leaf, index, error)) {
            return SetOutcome::kRefused;
        }
        if (!ChooseAimDpi(c, index)) {
            error = Refusal(leaf.path, "no button is an aim key");
            return SetOutcome::kRefused;
        }
        return SetOutcome::kSet;
    }
    return SetOutcome::kShownOnly;
}

// The rules between fields, on the edited configuration against the one it started from.
bool CheckCombination(const MouseConfig& was, const MouseConfig& now, std::string& error) {
    const bool modes =
        now.lighting.type == LightType::kFlowing || now.lighting.type == LightType::kTwoColour;
    const char* type = LightTypeText(now.lighting.type);
    if (now.lighting.mode != was.lighting.mode && !modes) {
        error = std::string("lighting.mode: the ") + type + " light has no modes";
    } else if (now.lighting.step != was.lighting.step && now.lighting.type != LightType::kFlowing) {
        error = std::string("lighting.step: only the flowing light has a speed step, not the ") +
                type + " light";
    } else if (now.lighting.modes_offered != was.lighting.modes_offered &&
               now.lighting.type != LightType::kFlowing) {
        error = std::string(
                    "lighting.modes_offered: only the flowing light offers modes, not "
                    "the ") +
                type + " light";
    } else if ((now.dpi.count != was.dpi.count || now.dpi.current != was.dpi.current) &&
               now.dpi.current >= now.dpi.count) {
        error = "dpi.current: level " + std::to_string(now.dpi.current + 1) + " is not among the " +
                std::to_string(now.dpi.count) + " levels in use (dpi.count)";
    } else if (now.fire_key.repeat != was.fire_key.repeat && now.fire_key.while_held) {
        error =
            "fire_key.repeat: the fire key repeats while held (fire_key.while_held), it keeps "
            "no count";
    } else if (now.key_mode != was.key_mode && now.key_mode != 0 &&
               !now.options.remember_key_mode) {
        error =
            "key_mode: the mouse does not remember its key mode (options.remember_key_mode), it "
            "starts in office";
    } else if (now.office != was.office && !KeepsLeftClick(now.office)) {
        error = "buttons.office: one button must stay the left click (010100)";
    } else if (now.gaming != was.gaming && !KeepsLeftClick(now.gaming)) {
        error = "buttons.gaming: one button must stay the left click (010100)";
    }
    return error.empty();
}

// Every single value of `json` under its key.
void FlattenInto(const Json& json, const std::string& key,
                 std::vector<std::pair<std::string, Json>>& out) {
    if (json.is_object()) {
        for (const auto& [name, value] : json.items()) {
            FlattenInto(value, key.empty() ? name : key + "." + name, out);
        }
    } else if (json.is_array()) {
        for (std::size_t i = 0; i < json.size(); ++i) {
            FlattenInto(json[i], key + "[" + std::to_string(i) + "]", out);
        }
    } else {
        out.emplace_back(key, json);
    }
}

// What changed between two configurations, key by key, in the shown form; a name follows its
// code and is left out.
std::vector<ConfigChange> ChangesBetween(const MouseConfig& was, const MouseConfig& now,
                                         const CodeNamer& namer) {
    std::vector<std::pair<std::string, Json>> before;
    std::vector<std::pair<std::string, Json>> after;
    FlattenInto(ConfigToJson(was, namer), "", before);
    FlattenInto(ConfigToJson(now, namer), "", after);
    std::vector<ConfigChange> changes;
    for (std::size_t i = 0; i < before.size() && i < after.size(); ++i) {
        const std::string& key = before[i].first;
        const bool name = key.size() >= 5 && key.compare(key.size() - 5, 5, ".name") == 0;
        if (!name && before[i].second != after[i].second) {
            changes.push_back({key, before[i].second, after[i].second});
        }
    }
    return changes;
}

// The keys whose value follows from others: set after every other key of the same edit, so
// that what they name wins over what the others derive (the current level over the one a new
// level count makes current, the aim DPI over the DPI in an aim key's code).
bool SetLast(const Leaf& leaf) {
    return leaf.path.pattern == "dpi.current" || leaf.path.pattern == "aim_dpi";
}

ConfigEditResult EditLeaves(const std::vector<Leaf>& leaves, const CodeNamer& namer,
                            MouseConfig& config) {
    ConfigEditResult result;
    MouseConfig edited = config;
    for (const bool last : {false, true}) {
        for (const Leaf& leaf : leaves) {
            if (SetLast(leaf) != last) {
                continue;
            }
            if (leaf.value == leaf.shown) {
                // A current level named as it is shown stays, whatever level a new level count
                // made current: it is what the edit asks the mouse to hold.
                if (leaf.path.pattern == "dpi.current") {
                    edited.dpi.current = config.dpi.current;
                    result.asked.push_back(leaf.path.text);
                }
                continue;
            }
            switch (SetLeaf(leaf, edited, result.error)) {
                case SetOutcome::kSet:
                    result.asked.push_back(leaf.path.text);
                    break;
                case SetOutcome::kRefused:
                    return result;
                case SetOutcome::kShownOnly:
                    result.error = Refusal(
                        leaf.path, "is only shown and cannot be changed (the mouse holds " +
                                       Shown(leaf.shown) + ", not " + Shown(leaf.value) + ")");
                    return result;
            }
        }
    }
    if (!CheckCombination(config, edited, result.error)) {
        return result;
    }
    result.changes = ChangesBetween(config, edited, namer);
    config = edited;
    result.ok = true;
    return result;
}

// Whether `text` is well-formed UTF-8: no stray or missing continuation byte, no overlong form,
// no surrogate, nothing above U+10FFFF.
bool IsUtf8(std::string_view text) {
    std::size_t i = 0;
    while (i < text.size()) {
        const auto lead = static_cast<unsigned char>(text[i]);
        int more = 0;
        uint32_t code = 0;
        if (lead < 0x80) {
            ++i;
            continue;
        }
        if (lead >= 0xC2 && lead <= 0xDF) {
            more = 1;
            code = lead & 0x1Fu;
        } else if (lead >= 0xE0 && lead <= 0xEF) {
            more = 2;
            code = lead & 0x0Fu;
        } else if (lead >= 0xF0 && lead <= 0xF4) {
            more = 3;
            code = lead & 0x07u;
        } else {
            return false;
        }
        if (text.size() - i <= static_cast<std::size_t>(more)) {
            return false;
        }
        for (int k = 1; k <= more; ++k) {
            const auto next = static_cast<unsigned char>(text[i + static_cast<std::size_t>(k)]);
            if ((next & 0xC0u) != 0x80u) {
                return false;
            }
            code = (code << 6) | (next & 0x3Fu);
        }
        constexpr uint32_t kSmallest[] = {0, 0x80, 0x800, 0x10000};
        if (code < kSmallest[more] || (code >= 0xD800 && code <= 0xDFFF) || code > 0x10FFFF) {
            return false;
        }
        i += static_cast<std::size_t>(more) + 1;
    }
    return true;
}

// Follows a JSON text as it is read, so that a fault in it can name the key where it was met.
class KeyTracker final : public nlohmann::json_sax<Json> {
public:
    std::string error;

    bool null() override { return Value(); }
    bool boolean(bool /*value*/) override { return Value(); }
    bool number_integer(number_integer_t /*value*/) override { return Value(); }
    bool number_unsigned(number_unsigned_t /*value*/) override { return Value(); }
    bool number_float(number_float_t /*value*/, const string_t& /*text*/) override {
        return Value();
    }
    bool string(string_t& /*value*/) override { return Value(); }
    bool binary(binary_t& /*value*/) override { return Value(); }
    bool start_object(std::size_t /*elements*/) override {
        open_.push_back({false, 0, {}});
        return true;
    }
    bool key(string_t& name) override {
        open_.back().key = name;
        return true;
    }
    bool end_object() override {
        open_.pop_back();
        return Value();
    }
    bool start_array(std::size_t /*elements*/) override {
        open_.push_back({true, 0, {}});
        return true;
    }
    bool end_array() override {
        open_.pop_back();
        return Value();
    }
    bool parse_error(std::size_t /*position*/, const std::string& /*last_token*/,
                     const nlohmann::detail::exception& fault) override {
        // "[json.exception.parse_error.101] parse error at ..." without its bracketed name.
        std::string what = fault.what();
        if (const std::size_t name_end = what.find("] ");
            !what.empty() && what[0] == '[' && name_end != std::string::npos) {
            what.erase(0, name_end + 2);
        }
        const std::string key = Key();
        error = key.empty() ? what : key + ": " + what;
        return false;
    }

private:
    struct Open {
        bool list;
        std::size_t index;  // of a list: the entry being read
        std::string key;    // of an object: the key whose value is being read
    };

    // A value was read: a list moves on to its next entry, an object waits for its next key.
    bool Value() {
        if (!open_.empty()) {
            Open& open = open_.back();
            if (open.list) {
                ++open.index;
            } else {
                open.key.clear();
            }
        }
        return true;
    }

    // The key being read, in the form of the keys `set` takes ("dpi.levels[2].value").
    std::string Key() const {
        std::string key;
        for (const Open& open : open_) {
            if (open.list) {
                key += "[" + std::to_string(open.index) + "]";
            } else if (!open.key.empty()) {
                key += (key.empty() ? "" : ".") + open.key;
            }
        }
        return key;
    }

    std::vector<Open> open_;
};

ConfigEditResult EditAssignments(const std::vector<ConfigAssignment>& assignments,
                                 const Json& shown, const CodeNamer& namer, MouseConfig& config) {
    ConfigEditResult result;
    std::vector<Leaf> leaves;
    for (const ConfigAssignment& assignment : assignments) {
        KeyPath path;
        if (!ParseKey(assignment.key, path)) {
            result.error = assignment.key + ": not a key (keys look like dpi.levels[2].value)";
            return result;
        }
        const Json* at = Resolve(shown, path, result.error);
        if (at == nullptr) {
            return result;
        }
        if (at->is_structured()) {
            result.error = Refusal(path, "holds several values; name one of them");
            return result;
        }
        if (!IsUtf8(assignment.text)) {
            result.error = Refusal(path, "the value is not UTF-8 text");
            return result;
        }
        Json value = Json(assignment.text);
        if (!at->is_string()) {
            Json parsed = Json::parse(assignment.text, nullptr, false);
            if (!parsed.is_discarded() && !parsed.is_structured()) {
                value = std::move(parsed);
            }
        }
        leaves.push_back({path, value, *at});
    }
    return EditLeaves(leaves, namer, config);
}

}  // namespace

Json ConfigToJson(const MouseConfig& config, const CodeNamer& namer) {
    Json options = Json::object();
    for (const NamedOption& option : kBoolOptions) {
        options[option.key] = config.options.*option.field;
    }
    options["sensor_orientation"] = config.options.sensor_orientation;

    Json levels = Json::array();
    for (const DpiLevel& level : config.dpi.levels) {
        levels.push_back({{"value", DpiJson(level.value)}, {"colour", ColourText(level.colour)}});
    }
    Json modes = Json::array();
    for (bool offered : config.lighting.modes_offered) {
        modes.push_back(offered);
    }
    Json fire_slots = Json::array();
    for (const FireSlotConfig& slot : config.fire_slots) {
        fire_slots.push_back({{"y_adjust", slot.y_adjust}, {"colour", ColourText(slot.colour)}});
    }
    Json json = Json::object();
    json["options"] = options;
    json["dpi"] = {
        {"count", config.dpi.count}, {"current", config.dpi.current + 1}, {"levels", levels}};
    json["lighting"] = {{"type", LightTypeText(config.lighting.type)},
                        {"on", config.lighting.on},
                        {"mode", config.lighting.mode},
                        {"step", config.lighting.step},
                        {"full_brightness", config.lighting.full_brightness},
                        {"lamps", config.lighting.lamps},
                        {"modes_offered", modes}};
    json["buttons"] = {{"office", ButtonsJson(config.office, namer)},
                       {"gaming", ButtonsJson(config.gaming, namer)}};
    json["key_mode"] = config.key_mode == 1 ? "gaming" : "office";
    json["fire_key"] = {{"while_held", config.fire_key.while_held},
                        {"repeat", config.fire_key.repeat},
                        {"interval", config.fire_key.interval}};
    json["fire_slots"] = fire_slots;
    json["aim_dpi"] = HasAimKey(config) ? DpiJson(config.aim_dpi) : Json(nullptr);
    json["vendor_code"] = config.vendor_code;
    json["product_code"] = config.product_code;
    return json;
}

ConfigEditResult EditConfig(const Json& patch, const Json& shown, const CodeNamer& namer,
                            MouseConfig& config) {
    ConfigEditResult result;
    if (!patch.is_object()) {
        result.error = "the configuration must be a JSON object of keys";
        return result;
    }
    try {
        std::vector<Leaf> leaves;
        if (!CollectLeaves(patch, shown, KeyPath{}, leaves, result.error)) {
            return result;
        }
        return EditLeaves(leaves, namer, config);
    } catch (const Json::exception& error) {
        // Not expected once the values are checked by type; a refusal all the same.
        result.error = std::string("the configuration could not be read: ") + error.what();
        return result;
    }
}

ConfigEditResult EditConfig(const std::vector<ConfigAssignment>& assignments, const Json& shown,
                            const CodeNamer& namer, MouseConfig& config) {
    try {
        return EditAssignments(assignments, shown, namer, config);
    } catch (const Json::exception& error) {
        ConfigEditResult result;
        result.error = std::string("the values could not be read: ") + error.what();
        return result;
    }
}

bool ParseConfigPatch(std::string_view text, Json& patch, std::string& error) {
    // Parsed without exceptions first; on a fault, once more with a reader that knows where it
    // stands, so that the message names the key.
    patch = Json::parse(text, nullptr, false);
    if (!patch.is_discarded()) {
        return true;
    }
    patch = Json();
    KeyTracker tracker;
    if (Json::sax_parse(text, &tracker)) {
        error = "not JSON";  // the two readers disagree; never seen
    } else {
        error = tracker.error;
    }
    return false;
}

ConfigEditResult EncodeConfigEdit(const MouseConfig& wanted, const MouseConfig& decoded,
                                  const std::vector<std::string>& asked, const CodeNamer& namer,
                                  SectionCopies& copies) {
    ConfigEditResult result;
    SectionCopies encoded = copies;
    EncodeConfig(wanted, decoded, encoded);
    const MouseConfig held = DecodeConfig(encoded);
    const Json wanted_json = ConfigToJson(wanted, namer);
    const Json held_json = ConfigToJson(held, namer);
    for (const std::string& key : asked) {
        const Json* asked_value = FindKey(wanted_json, key);
        const Json* held_value = FindKey(held_json, key);
        if (asked_value != nullptr && held_value != nullptr && *asked_value != *held_value) {
            result.error = key + ": the mouse would hold " + Shown(*held_value) + ", not " +
                           Shown(*asked_value) + " (another key of the same change decides it)";
            return result;
        }
    }
    result.changes = ChangesBetween(decoded, held, namer);
    result.asked = asked;
    copies = encoded;
    result.ok = true;
    return result;
}

bool ParseAssignment(const std::string& text, ConfigAssignment& assignment) {
    const std::size_t equals = text.find('=');
    if (equals == std::string::npos || equals == 0) {
        return false;
    }
    assignment = {text.substr(0, equals), text.substr(equals + 1)};
    return true;
}

const Json* FindKey(const Json& root, const std::string& key) {
    KeyPath path;
    std::string error;
    return ParseKey(key, path) ? Resolve(root, path, error) : nullptr;
}

}  // namespace velq
