#include "flows/device_cycle.h"

#include "flows/verified_write.h"
#include "image/memory_map.h"

namespace velq {
namespace {

constexpr int kCountPasses = 5;
constexpr int kStableCountsNeeded = 2;

UserMessage SystemBox(const char* key) {
    return UserMessage::System(key);
}

}  // namespace

DeviceCycle::DeviceCycle(DeviceLink& link, CommandProtocol& protocol, Clock& clock, FlowHost& host)
    : link_(link), protocol_(protocol), clock_(clock), host_(host) {}

void DeviceCycle::SetExpectedCodes(DeviceCodes first, DeviceCodes second) {
    expected_ = {first, second};
}

void DeviceCycle::WaitLettingEventsRun(int times, int ms) {
    for (int i = 0; i < times; ++i) {
        clock_.SleepMs(ms);
        host_.ProcessPendingEvents();
    }
}

void DeviceCycle::DevTimerTimer() {
    if (busy_) {
        return;  // a tick that arrived while a pass lets events run
    }
    busy_ = true;
    // Five double counts: the bus is taken as settled when at least two pairs agree.
    int n = 0;
    int agreeing = 0;
    for (int pass = 0; pass < kCountPasses; ++pass) {
        const int first = link_.CountHidInterfaces();
        const int second = link_.CountHidInterfaces();
        if (first == second) {
            ++agreeing;
        }
        n = first;
    }
    if (n != link_.LastInterfaceCount() && agreeing >= kStableCountsNeeded) {
        if (n < link_.LastInterfaceCount()) {
            if (link_.HasDevice()) {
                // Something went away: is it the interface that was identified and read?
                // Another mouse of the same kind does not stand in for it; that one is found,
                // identified and read as a new device.
                if (!link_.DevicePathPresent()) {
                    DeviceLost();
                    link_.ClearIds();
                    link_.DropDevice();
                    (void)FindMouse(false);
                }
            } else {
                // No mouse open: ids 0, 0 match nothing, and the no-device state is shown again.
                uint16_t release = link_.ReleaseNumber();
                if (!link_.OpenMouse(link_.VendorId(), link_.ProductId(), release)) {
                    DeviceLost();
                    link_.ClearIds();
                    link_.DropDevice();
                }
            }
        } else if (!link_.HasDevice()) {
            (void)FindMouse(true);
        }
        link_.SetLastInterfaceCount(n);
    } else if (link_.HasDevice() && unread_) {
        // The mouse is there but its read did not complete: try again, quietly.
        (void)ReadDevInfo(false, true);
    }
    busy_ = false;
}

bool DeviceCycle::FindMouse(bool say_lost) {
    for (const KnownDevice& known : known_) {
        if (known.vendor_id == 0 || known.product_id == 0) {
            continue;
        }
        WaitLettingEventsRun(3, 10);
        uint16_t release = kMouseReleaseNumber;
        if (link_.OpenMouse(known.vendor_id, known.product_id, release)) {
            (void)ReadDevInfo(false);
            return true;
        }
        if (link_.MouseAccessDenied()) {
            // The mouse is there, but this user may not open it: say so, naming the rule that
            // grants access, rather than asking for a mouse that is connected.
            UserMessage message = UserMessage::Window({kNoAccessMessage});
            message.detail = link_.DeniedPath();
            EnterNoDeviceState(message);
            return false;
        }
        if (say_lost) {
            DeviceLost();
        }
    }
    return false;
}

void DeviceCycle::SayReadFailed(bool quiet_repeat) {
    unread_ = true;
    if (!(quiet_repeat && read_failure_said_)) {
        host_.ShowMessage(UserMessage::Window({kReadFailedMessage}));
    }
    read_failure_said_ = true;
}

void DeviceCycle::EndIdentification() {
    host_.SetDevTimerFirstEnabled(false);
    host_.SetDevTimerEnabled(true);
}

Identification DeviceCycle::ReadDevInfo(bool full, bool quiet_repeat) {
    if (!protocol_.SendCommand(Command::kOpen) || !protocol_.SendCommand(Command::kStatus)) {
        EndIdentification();
        return Identification::kNotAnswering;
    }
    const StatusAnswer status = ParseStatus(protocol_.Report());
    if (!status.signature_ok) {
        EndIdentification();  // not our firmware speaking: left alone, without a message
        return Identification::kNoSignature;
    }
    if (status.write_enabled && status.chip_number != 0) {
        uint8_t codes[2] = {0xFF, 0xFF};
        // A code read that did not complete is a failure, never a match: the 0xFF fill could
        // equal an expected pair.
        if (!ReadBlockTrusted(protocol_, kDeviceCodesRange.address, kDeviceCodesRange.size, codes,
                              LoadingWindow::kHidden)) {
            (void)protocol_.SendCommand(Command::kReload);
            (void)protocol_.SendCommand(Command::kClose);
            SayReadFailed(quiet_repeat);
            EndIdentification();
            return Identification::kCodesUnreadable;
        }
        host_.ShowDeviceCodes(codes[0], codes[1]);
        const DeviceCodes found{codes[0], codes[1]};
        if (found == expected_[0] || found == expected_[1]) {
            const bool read = host_.RunReadFlow(full);
            EndIdentification();
            if (!read) {
                SayReadFailed(quiet_repeat);
                return Identification::kReadFailed;
            }
            unread_ = false;
            read_failure_said_ = false;
            return Identification::kRead;
        }
        unread_ = false;
        host_.SetDevTimerEnabled(false);
        (void)protocol_.SendCommand(Command::kReload);
        (void)protocol_.SendCommand(Command::kClose);
        host_.ShowMessage(SystemBox("Str107"));  // the handle stays: resets still reach it
        EndIdentification();
        return Identification::kWrongDevice;
    }
    unread_ = false;
    (void)protocol_.SendCommand(Command::kReload);
    (void)protocol_.SendCommand(Command::kClose);
    link_.DropDevice();
    host_.ShowMessage(SystemBox("Str020"));
    EndIdentification();
    return Identification::kNoPermission;
}

void DeviceCycle::DeviceLost() {
    EnterNoDeviceState(UserMessage::Window({"Str100", "Str101"}, "\r\r"));
}

void DeviceCycle::EnterNoDeviceState(const UserMessage& message) {
    unread_ = false;
    read_failure_said_ = false;
    host_.HideAllMenus();
    host_.SetNoDevicePage(false);
    host_.RefreshErrorAP();
    host_.ClearDeviceLists();
    host_.CoverPages(true);
    host_.SetDevTimerFirstEnabled(false);
    host_.SetDevTimerEnabled(true);
    host_.ShowMessage(message);
}

void DeviceCycle::BtnReadClick() {
    if (!link_.HasDevice()) {
        host_.ShowMessage(UserMessage::Window({"Str020"}));
        return;
    }
    SayIfSilent(ReadDevInfo(false));
}

void DeviceCycle::SayIfSilent(Identification outcome) {
    // The identification leaves a mouse that does not answer alone without a word; a user who
    // asked for a read is told.
    if (outcome == Identification::kNotAnswering || outcome == Identification::kNoSignature) {
        host_.ShowMessage(UserMessage::Window({kNotAnsweringMessage}));
    }
}

}  // namespace velq
