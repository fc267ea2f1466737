#include "flows/flow_state.h"

#include <algorithm>

#include "config/config_codec.h"
#include "fire/fire_tables.h"

namespace velq {

void TakeBuiltInDefaults(FlowState& state) {
    state.read_complete = false;
    state.fire_area_read = false;
    // Whatever a write left unknown belongs to a mouse that is no longer read: the next one
    // is read afresh before anything is written to it.
    state.unknown = {};
    state.data_buf = state.defaults.eeprom[0];
    state.device_slot_names.fill({});
    FillSectionCopies(state.data_buf, state.copies);
    state.macros = MacrosOfImage(state.data_buf);
    std::copy_n(state.data_buf.begin() + kFireAreaRange.address, state.fire_area.size(),
                state.fire_area.begin());
    state.decoded = DecodeConfig(state.copies);
    state.config = state.decoded;
}

bool TakeFireEdits(FlowState& state, const ShownFire& edits) {
    // Both sides must hold the mouse's fire area: the page's copy was shown as read from it.
    if (!state.fire_area_read || !edits.read) {
        return false;
    }
    // Block by block: the spare bytes after the ten blocks keep what the mouse holds.
    std::copy_n(edits.area.begin(), kFireBlocksSize, state.fire_area.begin());
    for (int slot = 1; slot <= kFireSlotCount; ++slot) {
        if (const std::optional<uint8_t> mode = FirePlayMode(edits.entry, slot)) {
            state.copies.fire_entry[static_cast<std::size_t>(3 * (slot - 1))] = *mode;
        }
    }
    return true;
}

ShownFire ShownFireOf(const FlowState& state) {
    return {state.fire_area, state.copies.fire_entry, state.fire_area_read};
}

ShownConfig Shown(const FlowState& state) {
    return {state.config, state.macros, ShownFireOf(state)};
}

void NoteDeviceSide(FlowOutcome& outcome, const DeviceLink& link, const FlowState& state) {
    outcome.device_open = link.HasDevice();
    outcome.read_complete = state.read_complete;
}

}  // namespace velq
