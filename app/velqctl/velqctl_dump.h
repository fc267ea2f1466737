#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "common/caption_lookup.h"
#include "image/memory_map.h"

namespace velq {

// The mouse's configuration as `velqctl dump` shows it, read off a whole image after the
// section checks.
struct DumpReport {
    struct Section {
        std::string name;
        bool repaired = false;
    };
    struct Level {
        int number = 0;
        bool in_use = false;
        int index = 0;
        std::optional<int> dpi;  // none for an index outside the list
        uint8_t red = 0, green = 0, blue = 0;
    };
    struct Field {
        std::string name;
        std::string value;
    };
    struct Button {
        int number = 0;
        std::string code;
        std::string name;
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
        int y_adjustment = 0;
        uint8_t red = 0, green = 0, blue = 0;
        bool checksum_ok = false;
    };

    std::vector<Section> sections;
    int level_count = 0;
    int current_level = 0;
    std::vector<Level> levels;
    std::vector<Field> lighting;
    int key_mode = 1;
    std::array<std::vector<Button>, 2> profiles;
    std::vector<Macro> macros;
    std::vector<Fire> fire;
};

// Checks the sections of `image` (repairing them in the report's view, never in the mouse)
// and reads every setting out of it. Button names come from `captions`.
DumpReport BuildDumpReport(const DataBuf& image, const CaptionLookup& captions);

std::string FormatDumpText(const DumpReport& report);
std::string FormatDumpJson(const DumpReport& report);

}  // namespace velq
