#include "velqctl_dump.h"

#include <algorithm>
#include <cstdio>

#include "buttons/function_name.h"
#include "buttons/name_lookups.h"
#include "config/config_codec.h"
#include "fire/fire_block.h"
#include "fire/fire_scan.h"
#include "image/sections.h"
#include "macros/macro_content.h"
#include "macros/macro_decode.h"
#include "macros/macro_name.h"
#include "settings/dpi_levels.h"

namespace velq {
namespace {

constexpr std::array<uint16_t, kMacroSlotCount> kLocators = {0x0121, 0x0221, 0x0321,
                                                             0x0421, 0x0621, 0x0721};

// Slot names as the mouse holds them, for the names of macro buttons.
class ImageMacroNames final : public MacroNameLookup {
public:
    explicit ImageMacroNames(const std::vector<DumpReport::Macro>& macros) : macros_(macros) {}
    std::string SlotMacroName(int slot) const override {
        for (const auto& m : macros_) {
            if (m.slot == slot) {
                return m.name;
            }
        }
        return {};
    }
    std::optional<std::string> DriverMacroName(std::size_t) const override { return std::nullopt; }

private:
    const std::vector<DumpReport::Macro>& macros_;
};

// Without the gun key file the predefined guns are named.
class NoGunKeyFile final : public GunNameLookup {
public:
    bool GunKeyFileFound() const override { return false; }
    std::vector<std::string> GunKeyTexts() const override { return {}; }
};

std::string Hex6(const Colour& colour) {
    char text[8];
    std::snprintf(text, sizeof text, "%02X%02X%02X", colour.r, colour.g, colour.b);
    return text;
}

const char* LightTypeText(LightType type) {
    switch (type) {
        case LightType::kFlowing:
            return "flowing";
        case LightType::kTwoColour:
            return "two-colour";
        case LightType::kSync:
            return "seven-colour synchronous";
        case LightType::kBreathing:
            return "seven-colour breathing";
    }
    return "?";
}

bool IsAimKey(const FunctionCode& code) {
    return code.type == static_cast<uint8_t>(CodeType::kAIMKey);
}

std::string OnOff(bool on) {
    return on ? "on" : "off";
}

std::string Hex4(unsigned value) {
    char text[8];
    std::snprintf(text, sizeof text, "%04X", value & 0xFFFF);
    return text;
}

std::vector<DumpReport::Section> SectionList(const SectionRepairs& repaired) {
    return {
        {"ParameterASection", repaired.parameter_a},
        {"ParameterBSection", repaired.parameter_b},
        {"ProfileSection", repaired.profile},
        {"FireKeySection", repaired.fire_key},
    };
}

void ReadSections(const DataBuf& image, DumpReport& report, SectionCopies& copies) {
    // The repaired copies the pages would show, and which sections needed it.
    report.sections = SectionList(FillSectionCopies(image, copies));
}

// The stop rule of byte 0; a value the format does not define is shown as it is rather than
// passed off as one of the two rules.
std::string StopRuleText(uint8_t flag) {
    if (flag == kStopOnReleaseFlag) {
        return "stop at release";
    }
    if (flag == kPlayToEndFlag) {
        return "play to end";
    }
    char text[40];
    std::snprintf(text, sizeof text, "unknown stop rule 0x%02X", flag);
    return text;
}

// The repeat wrapper around the whole body: none plays it once, RepeatStart n plays it n + 1
// times, and n = 0xFF repeats it without end, which a button released ends only under the
// stop-at-release rule.
std::string RepeatText(const std::optional<StoredMacroOptions>& options, uint8_t flag) {
    if (!options || options->repeat == RepeatOption::kNone) {
        return "once";
    }
    if (options->repeat == RepeatOption::kTimes) {
        const int passes = options->repeat_count.value_or(1);
        return std::to_string(passes) + (passes == 1 ? " time" : " times");
    }
    return flag == kStopOnReleaseFlag ? "loop until released" : "loop without end";
}

void ReadMacros(const DataBuf& image, DumpReport& report) {
    for (int s = 0; s < static_cast<int>(kMacroSlotCount); ++s) {
        const size_t base = kMacroSlotBase[static_cast<size_t>(s)];
        DumpReport::Macro macro;
        macro.slot = s + 1;
        macro.locator = kLocators[static_cast<size_t>(s)];
        std::array<uint8_t, kMacroNameSize> name{};
        std::copy_n(image.begin() + base, name.size(), name.begin());
        MacroContent content{};
        std::copy_n(image.begin() + base + kMacroNameSize, content.size(), content.begin());
        CheckMacroContent(content);
        const size_t length = StoredLength(content, ContentForm::kDevice);
        macro.empty = length == 0;
        if (!IsFreeMacroName(name)) {
            macro.name = Utf16ToUtf8(MacroNameText(name));
        }
        if (!macro.empty) {
            const std::optional<StoredMacroOptions> options =
                ReadMacroOptions(content, ContentForm::kDevice);
            macro.stop_rule = StopRuleText(content[0]);
            macro.repeat = RepeatText(options, content[0]);
            if (options && options->repeat == RepeatOption::kTimes) {
                macro.repeat_count = options->repeat_count;
            }
            macro.lines = DecodeMacro(content).lines;
        }
        report.macros.push_back(std::move(macro));
    }
}

void ReadFire(const DataBuf& image, const SectionCopies& copies, DumpReport& report) {
    FireArea area{};
    std::copy_n(image.begin() + kFireAreaRange.address, area.size(), area.begin());
    for (int k = 1; k <= kFireSlots; ++k) {
        FireMacroBlock block{};
        ReadAreaBlock(area, k, block);
        const FireScan scan = ScanFireContent(block);
        DumpReport::Fire fire;
        fire.slot = k;
        fire.empty = FireBlockLength(block) == 0;
        const uint8_t mode = copies.fire_entry[static_cast<size_t>(3 * (k - 1))];
        fire.play_mode = mode == 0x0E ? "while held" : mode == 0x0B ? "to end" : "unset";
        fire.count = scan.row.count;
        fire.x = scan.row.x;
        fire.y = scan.row.y;
        fire.time_ms = scan.row.time;
        fire.stop_on_release = scan.row.stop_on_release;
        fire.checksum_ok = FireBlockChecksumOk(block);
        report.fire.push_back(fire);
    }
}

}  // namespace

std::vector<DumpReport::Section> CheckedSections(const DataBuf& image) {
    SectionCopies copies;
    return SectionList(FillSectionCopies(image, copies));
}

DumpReport BuildDumpReport(const DataBuf& image, const CaptionLookup& captions) {
    DumpReport report;
    SectionCopies copies;
    ReadSections(image, report, copies);
    report.config = DecodeConfig(copies);
    ReadMacros(image, report);
    report.namer = [&captions, macros = report.macros](const FunctionCode& code) {
        const ImageMacroNames macro_names(macros);
        const NoGunKeyFile guns;
        return FunctionName(CodeText(code), NameSources{captions, macro_names, guns, true});
    };
    ReadFire(image, copies, report);
    return report;
}

std::string FormatDumpText(const DumpReport& r) {
    const MouseConfig& c = r.config;
    std::string t;
    t += "sections:";
    for (const auto& s : r.sections) {
        t += " " + s.name + (s.repaired ? " REPAIRED" : " ok") +
             (&s == &r.sections.back() ? "" : ",");
    }
    t += "\n\nDPI levels: " + std::to_string(c.dpi.count) + ", current level " +
         std::to_string(c.dpi.current + 1) + "\n";
    for (int n = 0; n < kDpiLevels; ++n) {
        const DpiLevel& level = c.dpi.levels[static_cast<size_t>(n)];
        const std::optional<int> dpi = DpiValueOfIndex(level.value);
        t += "  level " + std::to_string(n + 1) + ": " +
             (dpi ? std::to_string(*dpi) + " DPI"
                  : "unset (index " + std::to_string(level.value) + ")") +
             ", colour " + Hex6(level.colour) + (n < c.dpi.count ? "" : "  (not in use)") + "\n";
    }
    std::string modes;
    for (size_t m = 0; m < c.lighting.modes_offered.size(); ++m) {
        if (c.lighting.modes_offered[m]) {
            modes += (modes.empty() ? "" : ",") + std::to_string(m + 1);
        }
    }
    t += "\nlighting:\n  type: " + std::string(LightTypeText(c.lighting.type)) +
         "\n  lights: " + OnOff(c.lighting.on) + "\n  mode: " + std::to_string(c.lighting.mode) +
         "\n  step: " + std::to_string(c.lighting.step) +
         "\n  brightness: " + (c.lighting.full_brightness ? "full" : "half") +
         "\n  lamps: " + std::to_string(c.lighting.lamps) +
         "\n  flowing modes offered: " + (modes.empty() ? "none" : modes) + "\n";
    const OptionsConfig& o = c.options;
    t += "\noptions:\n  LED switch with middle + DPI: " + OnOff(o.led_switch_keys) +
         "\n  LED mode with left + DPI: " + OnOff(o.led_mode_keys) +
         "\n  gun function: " + OnOff(o.gun_function) +
         "\n  remember key mode: " + OnOff(o.remember_key_mode) +
         "\n  sensor orientation: " + std::to_string(o.sensor_orientation) +
         "\n  long press: middle " + OnOff(o.middle_long_press) + ", DPI " +
         OnOff(o.dpi_long_press) + ", gun " + OnOff(o.gun_long_press) +
         "\n  smoothing: " + OnOff(o.smoothing) + "\n";
    // The aim DPI lives in the aim keys' codes: without an aim key there is none.
    const bool aim_key = std::any_of(c.office.begin(), c.office.end(), IsAimKey) ||
                         std::any_of(c.gaming.begin(), c.gaming.end(), IsAimKey);
    const std::optional<int> aim = aim_key ? DpiValueOfIndex(c.aim_dpi) : std::nullopt;
    t += "\nfire key: " +
         (c.fire_key.while_held ? std::string("while held")
                                : std::to_string(c.fire_key.repeat + 1) + " shots") +
         ", interval " + std::to_string(c.fire_key.interval) +
         "\naim DPI: " + (aim ? std::to_string(*aim) : "unset") + "\ndevice codes: vendor " +
         std::to_string(c.vendor_code) + ", product " + std::to_string(c.product_code) + "\n";
    const char* profile_names[] = {"office", "gaming"};
    for (size_t p = 0; p < 2; ++p) {
        t += std::string("\n") + profile_names[p] + " profile (key mode " + std::to_string(p + 1) +
             (c.key_mode == p ? ", current" : "") + "):\n";
        const ProfileButtons& buttons = p == 0 ? c.office : c.gaming;
        for (size_t b = 0; b < buttons.size(); ++b) {
            t += "  button " + std::to_string(b + 1) + ": " + CodeText(buttons[b]) + "  " +
                 (r.namer ? r.namer(buttons[b]) : std::string()) + "\n";
        }
    }
    t += "\nmacro slots:\n";
    for (const auto& m : r.macros) {
        t += "  slot " + std::to_string(m.slot) + " (" + Hex4(m.locator) + "): ";
        if (m.empty) {
            t += "empty\n";
            continue;
        }
        t += "\"" + m.name + "\", " + m.stop_rule + ", " + m.repeat + "\n";
        for (const auto& line : m.lines) {
            t += "    " + line + "\n";
        }
    }
    t += "\nfire slots:\n";
    for (const auto& f : r.fire) {
        const FireSlotConfig& slot = c.fire_slots[static_cast<size_t>(f.slot - 1)];
        if (f.empty) {
            t += "  slot " + std::to_string(f.slot) + ": empty, colour " + Hex6(slot.colour) + "\n";
            continue;
        }
        t += "  slot " + std::to_string(f.slot) + ": count " + std::to_string(f.count) + ", X " +
             std::to_string(f.x) + ", Y " + std::to_string(f.y) + ", time " +
             std::to_string(f.time_ms) + " ms, " + f.play_mode + ", stop on release " +
             (f.stop_on_release ? (*f.stop_on_release ? "yes" : "no") : "-") + ", Y adjustment " +
             std::to_string(slot.y_adjust) + ", colour " + Hex6(slot.colour) +
             (f.checksum_ok ? "" : ", CHECKSUM WRONG") + "\n";
    }
    return t;
}

Json DumpJson(const DumpReport& r) {
    Json sections = Json::array();
    for (const auto& s : r.sections) {
        sections.push_back({{"name", s.name}, {"repaired", s.repaired}});
    }
    Json json = {{"sections", sections}};
    json.update(ConfigToJson(r.config, r.namer));
    Json& fire_slots = json["fire_slots"];
    for (const auto& f : r.fire) {
        Json& slot = fire_slots[static_cast<size_t>(f.slot - 1)];
        slot["empty"] = f.empty;
        slot["play_mode"] = f.play_mode;
        slot["count"] = f.count;
        slot["x"] = f.x;
        slot["y"] = f.y;
        slot["time_ms"] = f.time_ms;
        slot["stop_on_release"] = f.stop_on_release ? Json(*f.stop_on_release) : Json(nullptr);
        slot["checksum_ok"] = f.checksum_ok;
    }
    Json macros = Json::array();
    for (const auto& m : r.macros) {
        macros.push_back({{"locator", Hex4(m.locator)},
                          {"empty", m.empty},
                          {"name", m.name},
                          {"stop_rule", m.stop_rule},
                          {"repeat", m.repeat},
                          {"repeat_count", m.repeat_count ? Json(*m.repeat_count) : Json(nullptr)},
                          {"lines", m.lines}});
    }
    json["macros"] = macros;
    return json;
}

std::string FormatDumpJson(const DumpReport& r) {
    return DumpJson(r).dump(2, ' ', false, Json::error_handler_t::replace) + "\n";
}

}  // namespace velq
