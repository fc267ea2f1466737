#pragma once

#include <array>
#include <string>
#include <vector>

#include "fire/fire_block.h"
#include "image/built_in_images.h"
#include "image/engineering_values.h"
#include "image/memory_map.h"
#include "image/page_transfer.h"
#include "image/sections.h"
#include "macros/macro_content.h"

namespace velq {

// What the main window owns for the whole run and the device flows move between the mouse,
// the image and the pages.
struct FlowState {
    DataBuf data_buf{};
    SectionCopies copies{};
    EngineeringValues values{};
    ProfileKeys keys{};
    // `DeviceMacros`: the six slots' working buffers (name and content).
    std::array<MacroSlotBytes, kMacroSlotCount> device_macros{};
    // The name last read from each slot of the mouse.
    std::array<std::string, kMacroSlotCount> device_slot_names;
    // `LB_MacroName`: the slot names of `DeviceMacros`.
    std::vector<std::string> macro_list;
    FireArea fire_area{};
    // Set once the fire area was read from the mouse or replaced in this run; Apply then writes
    // it too.
    bool fire_area_read = false;
    bool eeprom_mode = true;
    DefaultImages defaults{};
};

}  // namespace velq
