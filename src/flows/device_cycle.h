#pragma once

#include <array>
#include <cstdint>
#include <functional>

#include "device/clock.h"
#include "device/command_protocol.h"
#include "device/device_link.h"
#include "flows/flow_host.h"
#include "flows/flow_state.h"

namespace velq {

// How the identification of an open mouse ended.
enum class Identification {
    kNotAnswering,     // Open or Status not acknowledged
    kNoSignature,      // Status answered without the signature: not this firmware
    kNoPermission,     // writes not permitted or an unrecognised chip; the handle is dropped
    kWrongDevice,      // vendor or product code not expected; the handle stays
    kCodesUnreadable,  // the codes could not be read
    kReadFailed,       // identified, but the read of its settings did not complete
    kReadStopped,      // the read was given up on the user's word (cancel, closing the window)
    kRead,             // identified and read: the pages show the mouse
};

// The read that follows a successful identification, inside its transaction: true when every
// chunk answered and the pages are to show the mouse (`outcome` says what they show).
using ReadFlow = std::function<bool(bool full, FlowOutcome& outcome)>;

// The device cycle: one pass per timer tick notices HID interfaces coming and going, finds the
// mouse, identifies it and has its configuration read; losing it puts the program back into
// the no-device state. Runs on the device thread.
class DeviceCycle {
public:
    DeviceCycle(DeviceLink& link, CommandProtocol& protocol, Clock& clock, FlowHost& host,
                FlowState& state);

    // The two accepted code pairs: the built-in default image's, and the program settings'
    // second pair.
    void SetExpectedCodes(DeviceCodes first, DeviceCodes second);
    void SetReadFlow(ReadFlow read) { read_ = std::move(read); }

    // One pass of either device timer (`DevTimerTimer`).
    FlowOutcome Pass();
    // Identifies the open mouse and, when it is the expected one, reads it, within
    // kReadTimeLimitMs (`ReadDevInfo`). Every failure but a mouse that is not this firmware is
    // said (a read the user stopped too, unless the window is closing); `quiet_repeat` keeps a
    // read failure already said for this mouse from being said again.
    Identification Identify(bool full, FlowOutcome& outcome, bool quiet_repeat = false);
    // The no-device reaction to a mouse that went away.
    void LoseDevice(FlowOutcome& outcome);
    // The Read button: identifies the open mouse again and reads its parameters.
    FlowOutcome Read();
    // Tells the user when an identification they asked for ended without a word.
    void SayIfSilent(Identification outcome);

    bool Busy() const { return busy_; }

private:
    struct KnownDevice {
        uint16_t vendor_id;
        uint16_t product_id;
    };
    void EndIdentification();
    // Looks for a mouse of a known kind and, when found, identifies and reads it.
    bool FindMouse(bool say_lost, FlowOutcome& outcome);
    // The no-device state: the built-in defaults on covered pages, then `message`.
    void EnterNoDeviceState(const UserMessage& message, FlowOutcome& outcome);
    // A read that did not complete: said on the covered pages, and tried again by later passes
    // unless the user stopped it.
    void SayReadFailed(bool quiet_repeat);

    DeviceLink& link_;
    CommandProtocol& protocol_;
    Clock& clock_;
    FlowHost& host_;
    FlowState& state_;
    ReadFlow read_;
    std::array<DeviceCodes, 2> expected_{};
    // Searched in order; a pair with a zero member is skipped.
    std::array<KnownDevice, 2> known_{{{MouseVendorId, MouseProductId}, {0, 0}}};
    bool busy_ = false;
    // The open mouse was identified but its read did not complete: later passes try again.
    bool unread_ = false;
    bool read_failure_said_ = false;
};

}  // namespace velq
