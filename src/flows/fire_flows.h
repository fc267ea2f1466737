#pragma once

#include <filesystem>
#include <vector>

#include "device/command_protocol.h"
#include "device/device_link.h"
#include "fire/fire_defaults.h"
#include "flows/eeprom_flows.h"
#include "flows/flow_host.h"
#include "flows/flow_state.h"

namespace velq {

// The message a fire area file of the wrong size is refused with.
inline constexpr const char* kNotAFireAreaFileMessage = "Str102";

// The fire macro flows beside the EEPROM flows: reading the fire area when the fire page (or
// the factory page) first needs it, the fire page's confirm (`WriteFireSection`), the three
// default sets and the import of a fire area file. They run on the device thread inside one
// frame, as the other flows do, and give the fire page what it is to show in the outcome.
//
// The fire page keeps its own copy of the fire area and entry table (ShownFire) and edits it on
// the window thread; the device side takes it back only while its own fire area is the open
// mouse's (`fire_area_read`), so a fire area that was never read, or whose read failed, is
// never written over the mouse's fire macros.
class FireFlows {
public:
    // `eeprom` reads the fire area (with the device code check of the EEPROM flows).
    FireFlows(DeviceLink& link, CommandProtocol& protocol, FlowHost& host, FlowState& state,
              EepromFlows& eeprom);

    // The three default sets, from the table built into the program.
    [[nodiscard]] FileResult LoadDefaultSets();

    // The fire page's edits into the device side's fire area (its ten blocks; the spare bytes
    // stay as read) and entry table (the play mode bytes): only while that area is the mouse's.
    // True when taken.
    bool TakeEdits(const ShownFire& edits);

    // `ReadFireArea` as the fire page and the factory page run it: the outcome carries the fire
    // area for the page (read or not), and the factory page's button states after a read.
    FlowOutcome ReadFireArea(bool factory_page);

    // The fire page's confirm: the edits taken, then the entry, Y adjustment and colour tables
    // (from what the pages show) and the fire area written. Needs a mouse whose parameters and
    // fire area were read; every refusal and failure is said.
    FlowOutcome WriteFireSection(const MouseConfig& pages, const ShownFire& edits);

    // Default set 0 (empty), 1 (PC game) or 2 (mobile game) into the fire area and the mouse.
    FlowOutcome LoadFireDefaults(int set);

    // A fire area file into the fire area and the mouse. Only a file of exactly 256 bytes is
    // taken (kNotAFireAreaFileMessage otherwise): a shorter one would mix with the area held,
    // a longer one is no fire area.
    FlowOutcome ImportFireArea(const std::filesystem::path& file);

private:
    void FrameBegin();
    void FrameEnd();
    // `CheckWritable`, then the blocks of `ranges` written from the image, read back and
    // repaired when a chunk was answered late; `Reload` and `Close` after the signature. Null
    // when the write completed, else the message that says why not (the caller says it once
    // the frame has ended).
    const char* WriteRanges(const std::vector<SectionRange>& ranges);
    // The fire area into the image and into the mouse (`LoadFireDefaults` step 3).
    bool WriteFireArea();
    void Say(const char* key, std::string detail = {});
    FlowOutcome Finish(FlowOutcome outcome) const;

    DeviceLink& link_;
    CommandProtocol& protocol_;
    FlowHost& host_;
    FlowState& state_;
    EepromFlows& eeprom_;
    FireDefaultSets sets_{};
};

}  // namespace velq
