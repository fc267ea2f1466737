#pragma once

#include <array>
#include <cstdint>

#include "device/clock.h"
#include "device/command_protocol.h"
#include "device/device_link.h"
#include "flows/flow_host.h"

namespace velq {

// A (vendor code, product code) pair of the bytes at 0x36 and 0x37 of the mouse's memory.
struct DeviceCodes {
    uint8_t vendor = 0;
    uint8_t product = 0;
    bool operator==(const DeviceCodes&) const = default;
};

// How the identification of an open mouse ended.
enum class Identification {
    kNotAnswering,     // Open or Status not acknowledged
    kNoSignature,      // Status answered without the signature: not this firmware
    kNoPermission,     // writes not permitted or an unrecognised chip; the handle is dropped
    kWrongDevice,      // vendor or product code not expected; the handle stays
    kCodesUnreadable,  // the codes could not be read
    kReadFailed,       // identified, but the read of its settings did not complete
    kRead,             // identified and read: the pages show the mouse
};

// The device cycle: one pass per timer tick notices HID interfaces coming and going, finds the
// mouse, identifies it and has its configuration read; losing it puts the program back into
// the no-device state.
class DeviceCycle {
public:
    DeviceCycle(DeviceLink& link, CommandProtocol& protocol, Clock& clock, FlowHost& host);

    // The two accepted code pairs: the built-in default image's, and the program settings'
    // second pair.
    void SetExpectedCodes(DeviceCodes first, DeviceCodes second);

    // `DevTimerTimer`: one pass of either timer.
    void DevTimerTimer();
    // `ReadDevInfo`: identifies the open mouse and, when it is the expected one, reads it.
    // Every failure but a mouse that is not this firmware is said; `quiet_repeat` keeps a
    // read failure already said for this mouse from being said again.
    Identification ReadDevInfo(bool full, bool quiet_repeat = false);
    // `DeviceLost`: the no-device reaction.
    void DeviceLost();
    // `Btn_Read_0Click`.
    void BtnReadClick();
    // Tells the user when an identification they asked for ended without a word.
    void SayIfSilent(Identification outcome);

    bool Busy() const { return busy_; }

private:
    struct KnownDevice {
        uint16_t vendor_id;
        uint16_t product_id;
    };
    void EndIdentification();
    void WaitLettingEventsRun(int times, int ms);
    // Looks for a mouse of a known kind and, when found, identifies and reads it.
    bool FindMouse(bool say_lost);
    // The no-device state: the built-in defaults on covered pages, then `message`.
    void EnterNoDeviceState(const UserMessage& message);
    void SayReadFailed(bool quiet_repeat);

    DeviceLink& link_;
    CommandProtocol& protocol_;
    Clock& clock_;
    FlowHost& host_;
    std::array<DeviceCodes, 2> expected_{};
    // Searched in order; a pair with a zero member is skipped.
    std::array<KnownDevice, 2> known_{{{MouseVendorId, MouseProductId}, {0, 0}}};
    bool busy_ = false;
    // The open mouse was identified but its read did not complete: later passes try again.
    bool unread_ = false;
    bool read_failure_said_ = false;
};

}  // namespace velq
