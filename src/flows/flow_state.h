#pragma once

#include <array>
#include <string>
#include <vector>

#include "config/mouse_config.h"
#include "device/device_link.h"
#include "fire/fire_block.h"
#include "flows/flow_host.h"
#include "image/built_in_images.h"
#include "image/memory_map.h"
#include "image/sections.h"
#include "macros/device_macros.h"

namespace velq {

// The areas of the mouse whose content the flows do not know, because a write to them did not
// complete: refused, stopped, out of time, cut by an unplug, or not acknowledged to its end
// (`Reload` and `Close` included) without a read-back that found every byte stored. The mouse
// may hold the old bytes, the new or a mix. The next write of such an area reads it first and
// writes what the pages show over what was read; a read of the area makes it known again.
struct UnknownAreas {
    bool parameters = false;
    bool fire_area = false;
    SlotMask macro_slots = 0;

    bool Any() const { return parameters || fire_area || macro_slots != 0; }
    bool operator==(const UnknownAreas&) const = default;
};

// What the device side owns for the whole run and the device flows move between the mouse and
// the image; only the device thread touches it once the flows have begun. The pages get what
// they show through FlowOutcome.
struct FlowState {
    DataBuf data_buf{};
    SectionCopies copies{};
    // What the pages show and Apply writes (the window collects it from the pages), and what
    // the section copies held when it was decoded: Apply writes only the fields that differ,
    // so everything the user did not change keeps its stored bits.
    MouseConfig config{};
    MouseConfig decoded{};
    // `DeviceMacros`: the six slots as the pages last handed them over (Apply) or as the mouse
    // or an image gave them; their names are `LB_MacroName`.
    DeviceMacros macros{};
    // The name each slot of the mouse holds, as last read or written.
    std::array<std::string, kMacroSlotCount> device_slot_names;
    FireArea fire_area{};
    // True while the fire area buffer holds this mouse's fire area: read from it, written into
    // it (a reset or a profile load that reached it), or edited for it. Apply writes the fire
    // area only then; losing the mouse or showing the built-in defaults clears it, so defaults
    // or another mouse's fire macros are never written over the ones the mouse holds.
    bool fire_area_read = false;
    // True while the pages show what the open mouse holds: a read that completed, or a whole
    // image written and verified. Apply, Confirm and Save need it; a failed read, the no-device
    // state and a lost mouse clear it.
    bool read_complete = false;
    // The read-failed message was shown for the open mouse; retries stay quiet until a read
    // completes or the mouse is lost.
    bool read_failure_said = false;
    // Where the mouse's content is unknown since a write did not complete.
    UnknownAreas unknown;
    bool eeprom_mode = true;
    DefaultImages defaults{};
};

// The built-in defaults in place of a mouse's settings (the state's share of `RefreshErrorAP`):
// nothing counts as read, the fire area buffer holds no mouse's fire area any more, and the
// lists only a mouse fills are empty.
void TakeBuiltInDefaults(FlowState& state);

// The fire page's edits into the fire area (its ten blocks; the spare bytes after them keep what
// the mouse holds) and the entry table (the play mode bytes): only while both the page's copy
// and the state's fire area are the mouse's. True when taken.
bool TakeFireEdits(FlowState& state, const ShownFire& edits);

// What the pages are to show of the state, and of it what the fire page shows.
ShownConfig Shown(const FlowState& state);
ShownFire ShownFireOf(const FlowState& state);

// Notes in `outcome` the device side as the window's checks see it until the next flow.
void NoteDeviceSide(FlowOutcome& outcome, const DeviceLink& link, const FlowState& state);

}  // namespace velq
