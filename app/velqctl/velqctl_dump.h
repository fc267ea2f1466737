#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "common/caption_lookup.h"
#include "config/config_json.h"
#include "config/mouse_config.h"
#include "image/memory_map.h"

namespace velq {

// The mouse's configuration as `velqctl dump` shows it, read off a whole image after the
// section checks.
struct DumpReport {
    struct Section {
        std::string name;
        bool repaired = false;
    };
    struct Macro {
        int slot = 0;
        uint16_t locator = 0;
        bool empty = true;
        std::string name;
        std::string stop_rule;  // "play to end" or "stop at release"
        // How often the body plays: "once", "N times" (1..255) or "loop until released" /
        // "loop without end" (the endless repeat, by the stop rule).
        std::string repeat;
        std::optional<int> repeat_count;  // the passes of "N times"
        std::vector<std::string> lines;
    };
    struct Fire {
        int slot = 0;
        bool empty = true;      // length byte 0: no content
        std::string play_mode;  // from the entry table: "to end" or "while held"
        int count = 0, x = 0, y = 0, time_ms = 0;
        std::optional<bool> stop_on_release;
        bool checksum_ok = false;
    };

    std::vector<Section> sections;
    MouseConfig config;  // decoded from the checked section copies
    // The names of the buttons' function codes, in the captions' language, with the macro
    // names the mouse holds.
    CodeNamer namer;
    std::vector<Macro> macros;
    std::vector<Fire> fire;  // what the fire area shows beside the configuration's fire slots
};

// The four checked sections of `image` by name, each with whether it fails its check (and so
// is shown, or written, repaired).
std::vector<DumpReport::Section> CheckedSections(const DataBuf& image);

// Checks the sections of `image` (repairing them in the report's view, never in the mouse)
// and reads every setting out of it. Button names come from `captions`, which must outlive the
// report.
DumpReport BuildDumpReport(const DataBuf& image, const CaptionLookup& captions);

std::string FormatDumpText(const DumpReport& report);
// The configuration's JSON with the sections, the macros and what the fire area shows of each
// fire slot added: everything `dump --json` shows, and what `apply` and `set` judge keys by.
Json DumpJson(const DumpReport& report);
std::string FormatDumpJson(const DumpReport& report);

}  // namespace velq
