#include "velqctl_dump.h"

#include <algorithm>
#include <cstdio>

#include "buttons/function_name.h"
#include "buttons/name_lookups.h"
#include "fire/fire_block.h"
#include "fire/fire_scan.h"
#include "image/engineering_values.h"
#include "image/page_transfer.h"
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

const char* LedTypeName(LedType type) {
    switch (type) {
        case LedType::kMCULED:
            return "flowing (MCU LED)";
        case LedType::kRBLED:
            return "two-colour (RB LED)";
        case LedType::kSyncLED:
            return "seven-colour synchronous";
        case LedType::kBreLED:
            return "seven-colour breathing";
    }
    return "?";
}

std::string Hex6(uint8_t r, uint8_t g, uint8_t b) {
    char text[8];
    std::snprintf(text, sizeof text, "%02X%02X%02X", r, g, b);
    return text;
}

std::string Hex4(unsigned value) {
    char text[8];
    std::snprintf(text, sizeof text, "%04X", value & 0xFFFF);
    return text;
}

void ReadSections(const DataBuf& image, DumpReport& report, SectionCopies& copies) {
    FillSectionCopies(image, copies);  // the repaired copies the pages would show
    // The same checks once more on fresh copies, only to tell which of them repaired.
    ParameterASection a;
    ParameterBSection b;
    ProfileSection profile;
    FireKeySection fire_key;
    std::copy_n(image.begin() + kParameterARange.address, a.size(), a.begin());
    std::copy_n(image.begin() + kParameterBRange.address, b.size(), b.begin());
    std::copy_n(image.begin() + kProfileRange.address, profile.size(), profile.begin());
    std::copy_n(image.begin() + kFireKeyRange.address, fire_key.size(), fire_key.begin());
    const bool a_repaired = CheckParameterASection(a);
    report.sections = {
        {"ParameterASection", a_repaired},
        {"ParameterBSection", CheckParameterBSection(b)},
        {"ProfileSection", CheckProfileSection(profile)},
        {"FireKeySection", CheckFireKeySection(fire_key)},
    };
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
    for (int s = 0; s < kMacroSlotCount; ++s) {
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
        fire.y_adjustment =
            static_cast<int8_t>(copies.fire_y_offset[static_cast<size_t>(2 * (k - 1))]);
        const size_t c = static_cast<size_t>(3 * (k - 1));
        fire.red = copies.fire_color[c];
        fire.green = copies.fire_color[c + 1];
        fire.blue = copies.fire_color[c + 2];
        fire.checksum_ok = FireBlockChecksumOk(block);
        report.fire.push_back(fire);
    }
}

}  // namespace

DumpReport BuildDumpReport(const DataBuf& image, const CaptionLookup& captions) {
    DumpReport report;
    SectionCopies copies;
    ReadSections(image, report, copies);

    EngineeringValues values;
    ProfileKeys keys;
    DataBufToUI(copies, values, keys);

    report.level_count = values.cb_CPIStep + kMinLevelCount;
    report.current_level = values.cb_CurrentCPI + 1;
    const int indexes[kDpiLevels] = {values.cb_CPI1, values.cb_CPI2, values.cb_CPI3, values.cb_CPI4,
                                     values.cb_CPI5, values.cb_CPI6, values.cb_CPI7};
    for (int n = 1; n <= kDpiLevels; ++n) {
        const size_t c = kDpiColorOffset + static_cast<size_t>(3 * (n - 1));
        report.levels.push_back({n, n <= report.level_count, indexes[n - 1],
                                 DpiValueOfIndex(indexes[n - 1]), copies.parameter_a[c],
                                 copies.parameter_a[c + 1], copies.parameter_a[c + 2]});
    }

    std::string modes;
    const bool flowing[] = {values.cb_Mode1, values.cb_Mode2, values.cb_Mode3, values.cb_Mode4,
                            values.cb_Mode5, values.cb_Mode6, values.cb_Mode7};
    for (int m = 0; m < 7; ++m) {
        if (flowing[m]) {
            modes += (modes.empty() ? "" : ",") + std::to_string(m + 1);
        }
    }
    report.lighting = {
        {"type", LedTypeName(values.gbLEDType)},
        {"lights", values.rb_LEDOn ? "on" : "off"},
        {"brightness", values.rb_MCULED3Control ? "full" : "half"},
        {"lamps", std::to_string(values.edt_MCULEDNum)},
        {"flowing modes offered", modes.empty() ? "none" : modes},
        {"flowing mode", std::to_string(values.cb_MCULEDCurrentMode + 1)},
        {"two-colour mode", std::to_string(values.cb_RBLEDCurrentMode + 1)},
        {"step", std::to_string(values.edt_MCULEDCrtStep)},
        {"LED switch with middle + DPI", values.rb_B4CPIOn ? "on" : "off"},
        {"LED mode with left + DPI", values.rb_LCPIOn ? "on" : "off"},
    };

    ReadMacros(image, report);
    ImageMacroNames macro_names(report.macros);
    NoGunKeyFile guns;
    const NameSources sources{captions, macro_names, guns, true};
    report.key_mode = values.cb_KeyMode + 1;
    for (int p = 0; p < 2; ++p) {
        const auto& texts = p == 0 ? keys.Profile1Keys : keys.Profile2Keys;
        for (int b = 0; b < kButtonsPerProfile; ++b) {
            const std::string& code = texts[static_cast<size_t>(b)];
            report.profiles[static_cast<size_t>(p)].push_back(
                {b + 1, code, FunctionName(code, sources)});
        }
    }
    ReadFire(image, copies, report);
    return report;
}

std::string FormatDumpText(const DumpReport& r) {
    std::string t;
    t += "sections:";
    for (const auto& s : r.sections) {
        t += " " + s.name + (s.repaired ? " REPAIRED" : " ok") +
             (&s == &r.sections.back() ? "" : ",");
    }
    t += "\n\nDPI levels: " + std::to_string(r.level_count) + ", current level " +
         std::to_string(r.current_level) + "\n";
    for (const auto& l : r.levels) {
        t += "  level " + std::to_string(l.number) + ": " +
             (l.dpi ? std::to_string(*l.dpi) + " DPI"
                    : "unset (index " + std::to_string(l.index) + ")") +
             ", colour " + Hex6(l.red, l.green, l.blue) + (l.in_use ? "" : "  (not in use)") + "\n";
    }
    t += "\nlighting:\n";
    for (const auto& f : r.lighting) {
        t += "  " + f.name + ": " + f.value + "\n";
    }
    const char* profile_names[] = {"office", "gaming"};
    for (size_t p = 0; p < 2; ++p) {
        t += std::string("\n") + profile_names[p] + " profile (key mode " + std::to_string(p + 1) +
             (r.key_mode == static_cast<int>(p + 1) ? ", current" : "") + "):\n";
        for (const auto& b : r.profiles[p]) {
            t += "  button " + std::to_string(b.number) + ": " + b.code + "  " + b.name + "\n";
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
        if (f.empty) {
            t += "  slot " + std::to_string(f.slot) + ": empty, colour " +
                 Hex6(f.red, f.green, f.blue) + "\n";
            continue;
        }
        t += "  slot " + std::to_string(f.slot) + ": count " + std::to_string(f.count) + ", X " +
             std::to_string(f.x) + ", Y " + std::to_string(f.y) + ", time " +
             std::to_string(f.time_ms) + " ms, " + f.play_mode + ", stop on release " +
             (f.stop_on_release ? (*f.stop_on_release ? "yes" : "no") : "-") + ", Y adjustment " +
             std::to_string(f.y_adjustment) + ", colour " + Hex6(f.red, f.green, f.blue) +
             (f.checksum_ok ? "" : ", CHECKSUM WRONG") + "\n";
    }
    return t;
}

namespace {

std::string JsonString(const std::string& text) {
    std::string out = "\"";
    for (unsigned char c : text) {
        switch (c) {
            case '"':
                out += "\\\"";
                break;
            case '\\':
                out += "\\\\";
                break;
            case '\n':
                out += "\\n";
                break;
            case '\r':
                out += "\\r";
                break;
            case '\t':
                out += "\\t";
                break;
            default:
                if (c < 0x20) {
                    char esc[8];
                    std::snprintf(esc, sizeof esc, "\\u%04x", c);
                    out += esc;
                } else {
                    out += static_cast<char>(c);
                }
        }
    }
    return out + "\"";
}

template <typename T, typename F>
std::string JsonArray(const std::vector<T>& items, F item) {
    std::string out = "[";
    for (size_t i = 0; i < items.size(); ++i) {
        out += (i ? "," : "") + item(items[i]);
    }
    return out + "]";
}

std::string JsonBool(bool value) {
    return value ? "true" : "false";
}

}  // namespace

std::string FormatDumpJson(const DumpReport& r) {
    std::string j = "{\"sections\":" + JsonArray(r.sections, [](const DumpReport::Section& s) {
                        return "{\"name\":" + JsonString(s.name) +
                               ",\"repaired\":" + JsonBool(s.repaired) + "}";
                    });
    j += ",\"dpi\":{\"level_count\":" + std::to_string(r.level_count) +
         ",\"current_level\":" + std::to_string(r.current_level) + ",\"levels\":" +
         JsonArray(r.levels,
                   [](const DumpReport::Level& l) {
                       return "{\"level\":" + std::to_string(l.number) +
                              ",\"in_use\":" + JsonBool(l.in_use) +
                              ",\"index\":" + std::to_string(l.index) +
                              ",\"dpi\":" + (l.dpi ? std::to_string(*l.dpi) : "null") +
                              ",\"colour\":" + JsonString(Hex6(l.red, l.green, l.blue)) + "}";
                   }) +
         "}";
    j += ",\"lighting\":{";
    for (size_t i = 0; i < r.lighting.size(); ++i) {
        j +=
            (i ? "," : "") + JsonString(r.lighting[i].name) + ":" + JsonString(r.lighting[i].value);
    }
    j += "},\"key_mode\":" + std::to_string(r.key_mode) + ",\"profiles\":[";
    for (size_t p = 0; p < 2; ++p) {
        j += (p ? "," : "") + JsonArray(r.profiles[p], [](const DumpReport::Button& b) {
                 return "{\"button\":" + std::to_string(b.number) +
                        ",\"code\":" + JsonString(b.code) + ",\"name\":" + JsonString(b.name) + "}";
             });
    }
    j += "],\"macros\":" + JsonArray(r.macros, [](const DumpReport::Macro& m) {
             return "{\"slot\":" + std::to_string(m.slot) +
                    ",\"locator\":" + JsonString(Hex4(m.locator)) +
                    ",\"empty\":" + JsonBool(m.empty) + ",\"name\":" + JsonString(m.name) +
                    ",\"stop_rule\":" + JsonString(m.stop_rule) +
                    ",\"repeat\":" + JsonString(m.repeat) + ",\"repeat_count\":" +
                    (m.repeat_count ? std::to_string(*m.repeat_count) : std::string("null")) +
                    ",\"lines\":" +
                    JsonArray(m.lines, [](const std::string& l) { return JsonString(l); }) + "}";
         });
    j += ",\"fire\":" + JsonArray(r.fire, [](const DumpReport::Fire& f) {
             return "{\"slot\":" + std::to_string(f.slot) + ",\"empty\":" + JsonBool(f.empty) +
                    ",\"play_mode\":" + JsonString(f.play_mode) +
                    ",\"count\":" + std::to_string(f.count) + ",\"x\":" + std::to_string(f.x) +
                    ",\"y\":" + std::to_string(f.y) + ",\"time_ms\":" + std::to_string(f.time_ms) +
                    ",\"stop_on_release\":" +
                    (f.stop_on_release ? JsonBool(*f.stop_on_release) : std::string("null")) +
                    ",\"y_adjustment\":" + std::to_string(f.y_adjustment) +
                    ",\"colour\":" + JsonString(Hex6(f.red, f.green, f.blue)) +
                    ",\"checksum_ok\":" + JsonBool(f.checksum_ok) + "}";
         });
    return j + "}\n";
}

}  // namespace velq
