#pragma once

#include <filesystem>
#include <optional>
#include <string_view>
#include <vector>

#include "device/clock.h"
#include "device/command_protocol.h"
#include "device/device_link.h"
#include "flows/device_cycle.h"
#include "flows/flow_host.h"
#include "flows/flow_state.h"

namespace velq {

// The flows that move the configuration between the mouse, the image and the pages when the
// configuration lives in the mouse: read, Apply, Confirm, the resets, the verified whole-image
// write, the fire area read and the profile files. They run on the device thread: what they
// need of the pages comes with the call (collected by the window beforehand), and what the
// pages are to show goes back in the FlowOutcome. Each runs inside one frame (the device timer
// stopped, the pages covered and the loading window shown while it talks to the mouse) and
// within a time limit.
class EepromFlows {
public:
    EepromFlows(DeviceLink& link, CommandProtocol& protocol, Clock& clock, FlowHost& host,
                FlowState& state);

    void SetExpectedCodes(DeviceCodes first, DeviceCodes second);
    // The identification that the profile save runs before it reads the whole mouse.
    void SetDeviceCycle(DeviceCycle* cycle) { cycle_ = cycle; }

    // The read after a successful identification (the transaction is open), of the whole
    // memory or of the parameters and the slot names. True when every chunk was answered and
    // `outcome` shows the mouse, and the user is told which settings are shown as defaults
    // because their sections failed their checks; on failure nothing counts as read and the
    // pages stay covered (the caller tells the user).
    bool Read(bool full, FlowOutcome& outcome);
    // Apply: writes the parameter area as `pages` (what the pages show) has it, then the fire
    // area and the macro slots of `macros` (the window's copy) that were given a macro and that
    // a button plays, with the fire page's edits (`fire`, when the page was built). Needs a
    // mouse whose read completed. Where a write left the mouse's content unknown, that area is
    // read first. The outcome gives the window its slot copy back with the written slots no
    // longer marked and, after a complete write, the configuration the mouse holds.
    FlowOutcome Apply(const MouseConfig& pages, const DeviceMacros& macros,
                      const std::optional<ShownFire>& fire = std::nullopt);
    // Apply, then the window closes once the mouse took everything.
    FlowOutcome Confirm(const MouseConfig& pages, const DeviceMacros& macros,
                        const std::optional<ShownFire>& fire = std::nullopt);
    // The factory page's base macro import: the first 1024 bytes of `file` (four slots of name
    // and content) into slots 1..4 of the mouse and of `macros` (the window's copy). A file
    // shorter than that, or a write the mouse did not take, is said and changes nothing the
    // window keeps.
    FlowOutcome ImportBaseMacro(const std::filesystem::path& file, const DeviceMacros& macros);
    // The frame's reset buttons: built-in image 0..2 into the mouse, verified, and onto the
    // pages.
    FlowOutcome Reset(int image);
    // The factory page's default buttons (image 0, 3 for the DPI defaults, 4 for the light's):
    // as Reset, but silent without a mouse, and the result picture shown once the image is
    // verified (the window hides it before the job).
    FlowOutcome RestoreDefaults(int image);
    // The whole mouse, read after a fresh identification, into `file` (chosen on the window
    // thread). Nothing is written unless every chunk answered.
    FlowOutcome SaveProfile(const std::filesystem::path& file);
    // `file` into the mouse, verified, and onto the pages.
    FlowOutcome LoadProfile(const std::filesystem::path& file);
    // The fire area into its buffer, from the expected mouse only; true when it was read.
    bool ReadFireArea();
    // Before a flow replaces a whole area of the open mouse: its whole memory, read in a
    // transaction of its own, kept in the undo history for `cause` (KeepMouseInHistory).
    // False, and said, when it could not be kept: the flow then writes nothing.
    bool KeepHistory(std::string_view cause);
    // Before a write: the areas it writes whose content is unknown (`state.unknown`: the
    // parameter area always, the fire area when `fire_area`, the macro slots when `macro_slots`)
    // read in a transaction of their own and taken as the mouse's, so that the write puts what the
    // pages show over what the mouse holds. True when nothing was unknown or everything was
    // read; otherwise the user was told and nothing may be written. Runs inside a flow's frame.
    bool ReadUnknownAreas(bool fire_area, bool macro_slots);

private:
    void FrameBegin();
    void FrameEnd(bool uncover);
    void ButtonPause();
    // The pause of a writing button, then the checks before it may write: a mouse, and pages
    // that show what it holds. False (and said) when it may not.
    bool ReadyToWrite();
    // `CheckWritable`'s prologue: Open and Status acknowledged with the signature.
    bool OpenTransaction(StatusAnswer& status);
    // True when Reload and Close were acknowledged.
    bool CloseTransaction();
    // Fills the section copies from the image, checked; says which sections were repaired.
    SectionRepairs FillFromDataBuf();
    bool ReadSlotNames();
    // The pages' changes into the section copies and the image (`UIToDataBuf`), then the
    // parameter area and what else is due into the mouse (`DownloadParameter`); true when the
    // mouse took everything.
    bool WriteParameters(const MouseConfig& pages, const DeviceMacros& macros,
                         const std::optional<ShownFire>& fire, FlowOutcome& outcome);
    // Writes the fire area (when it is this mouse's) and the macro slots buttons play that were
    // given a macro since the mouse was last read or written, adding each block to `written`
    // and each slot to `written_slots`; false when a block was refused.
    bool WriteFireAreaAndMacros(std::vector<SectionRange>& written, SlotMask& written_slots);
    // After a write the mouse took: `stored_slots` count as the mouse's.
    void SlotsStored(SlotMask stored_slots);
    // Built-in image 0..4 into the mouse, verified (`TLDefaultParameter`).
    bool WriteBuiltInImage(int image, FlowOutcome& outcome);
    // The whole image into the mouse, verified, and onto the pages (`MemoToDataBuf_OnClick`);
    // true when verified. Every failure is said.
    bool WriteWholeImage(FlowOutcome& outcome);
    // The section copies decoded, for the pages (`DataBufToUI`).
    void ShowDecoded(FlowOutcome& outcome);
    // Why a write that did not go through failed, as the message key the user sees.
    const char* WriteFailure() const;
    FlowOutcome Finish(FlowOutcome outcome) const;
    void ShowMessage(const char* key, UserMessage::Box box = UserMessage::Box::kMessageWindow,
                     std::string detail = {});

    DeviceLink& link_;
    CommandProtocol& protocol_;
    Clock& clock_;
    FlowHost& host_;
    FlowState& state_;
    std::array<DeviceCodes, 2> expected_{};
    DeviceCycle* cycle_ = nullptr;
};

// Why the mouse's answer to Status forbids writing, as the message key the user sees; null when
// it may be written (writing enabled and a known chip).
const char* WriteRefusal(const StatusAnswer& status);

// What a profile file is chosen for.
enum class ProfileFileUse { kSave, kLoad };

// The window thread's share of SaveProfile and LoadProfile, before their job: with a mouse
// open, the file the user chose in the file dialog; nothing when there is no mouse (said) or
// the user cancelled.
std::optional<std::filesystem::path> ChooseProfileFile(FlowHost& host, ProfileFileUse use,
                                                       bool device_open);

}  // namespace velq
