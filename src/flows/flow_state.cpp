#include "flows/flow_state.h"

#include <algorithm>

#include "config/config_codec.h"

namespace velq {

void TakeBuiltInDefaults(FlowState& state) {
    state.read_complete = false;
    state.fire_area_read = false;
    state.data_buf = state.defaults.eeprom[0];
    state.device_slot_names.fill({});
    FillSectionCopies(state.data_buf, state.copies);
    state.macros = MacrosOfImage(state.data_buf);
    std::copy_n(state.data_buf.begin() + kFireAreaRange.address, state.fire_area.size(),
                state.fire_area.begin());
    state.decoded = DecodeConfig(state.copies);
    state.config = state.decoded;
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
