#include "flows/device_cycle.h"

#include "flows/verified_write.h"
#include "image/memory_map.h"

namespace velq {
namespace {

constexpr int kCountPasses = 5;
constexpr int kStableCountsNeeded = 2;
constexpr int kSettleWaits = 3;
constexpr int kSettleWaitMs = 10;

UserMessage SystemBox(const char* key) {
    return UserMessage::System(key);
}

}  // namespace

DeviceCycle::DeviceCycle(DeviceLink& link, CommandProtocol& protocol, Clock& clock, FlowHost& host,
                         FlowState& state)
    : link_(link), protocol_(protocol), clock_(clock), host_(host), state_(state) {}

void DeviceCycle::SetExpectedCodes(DeviceCodes first, DeviceCodes second) {
    expected_ = {first, second};
}

FlowOutcome DeviceCycle::Pass() {
    FlowOutcome outcome;
    if (busy_) {
        NoteDeviceSide(outcome, link_, state_);
        return outcome;  // asked for from inside a pass: one pass at a time
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
                    LoseDevice(outcome);
                    link_.ClearIds();
                    link_.DropDevice();
                    (void)FindMouse(false, outcome);
                }
            } else {
                // No mouse open: ids 0, 0 match nothing, and the no-device state is shown again.
                uint16_t release = link_.ReleaseNumber();
                if (!link_.OpenMouse(link_.VendorId(), link_.ProductId(), release)) {
                    LoseDevice(outcome);
                    link_.ClearIds();
                    link_.DropDevice();
                }
            }
        } else if (!link_.HasDevice()) {
            (void)FindMouse(true, outcome);
        }
        link_.SetLastInterfaceCount(n);
    } else if (link_.HasDevice() && unread_) {
        // The mouse is there but its read did not complete: try again, quietly.
        (void)Identify(false, outcome, true);
    }
    busy_ = false;
    NoteDeviceSide(outcome, link_, state_);
    return outcome;
}

bool DeviceCycle::FindMouse(bool say_lost, FlowOutcome& outcome) {
    for (const KnownDevice& known : known_) {
        if (known.vendor_id == 0 || known.product_id == 0) {
            continue;
        }
        // The interfaces of a mouse just plugged in settle before it is opened.
        for (int i = 0; i < kSettleWaits; ++i) {
            clock_.SleepMs(kSettleWaitMs);
        }
        uint16_t release = kMouseReleaseNumber;
        if (link_.OpenMouse(known.vendor_id, known.product_id, release)) {
            (void)Identify(false, outcome);
            return true;
        }
        if (link_.MouseAccessDenied()) {
            // The mouse is there, but this user may not open it: say so, naming the rule that
            // grants access, rather than asking for a mouse that is connected.
            UserMessage message = UserMessage::Window({kNoAccessMessage});
            message.detail = link_.DeniedPath();
            EnterNoDeviceState(message, outcome);
            return false;
        }
        if (say_lost) {
            LoseDevice(outcome);
        }
    }
    return false;
}

void DeviceCycle::SayReadFailed(bool quiet_repeat) {
    // Either way the pages stay covered over what they showed before: the user is told at once
    // that nothing was read and that Read is the way on, in a message and on the cover.
    if (protocol_.Counts().stopped) {
        // The user stopped the read (or is closing the window, where nothing is left to tell):
        // nothing to try again until the user asks.
        unread_ = false;
        if (!host_.Closing()) {
            host_.ShowMessage(UserMessage::OnCover(kReadStoppedMessage));
        }
        return;
    }
    unread_ = true;
    if (!(quiet_repeat && read_failure_said_)) {
        host_.ShowMessage(UserMessage::OnCover(kReadFailedMessage));
    }
    read_failure_said_ = true;
}

void DeviceCycle::EndIdentification() {
    host_.SetDevTimerFirstEnabled(false);
    host_.SetDevTimerEnabled(true);
}

Identification DeviceCycle::Identify(bool full, FlowOutcome& outcome, bool quiet_repeat) {
    // A mouse that stops answering ends the identification and the read within the limit.
    const TimeLimit limit(protocol_, kReadTimeLimitMs);
    protocol_.ResetCounts();
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
            return protocol_.Counts().stopped ? Identification::kReadStopped
                                              : Identification::kCodesUnreadable;
        }
        const DeviceCodes found{codes[0], codes[1]};
        outcome.device_codes = found;
        if (found == expected_[0] || found == expected_[1]) {
            const bool read = read_ && read_(full, outcome);
            EndIdentification();
            if (!read) {
                SayReadFailed(quiet_repeat);
                return protocol_.Counts().stopped ? Identification::kReadStopped
                                                  : Identification::kReadFailed;
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

void DeviceCycle::LoseDevice(FlowOutcome& outcome) {
    EnterNoDeviceState(UserMessage::Window({"Str100", "Str101"}, "\r\r"), outcome);
}

void DeviceCycle::EnterNoDeviceState(const UserMessage& message, FlowOutcome& outcome) {
    unread_ = false;
    read_failure_said_ = false;
    TakeBuiltInDefaults(state_);
    outcome.no_device_state = true;
    outcome.shown = Shown(state_);
    outcome.device_codes.reset();
    outcome.show_first_page = false;
    host_.CoverPages(true);
    host_.SetDevTimerFirstEnabled(false);
    host_.SetDevTimerEnabled(true);
    host_.ShowMessage(message);
}

FlowOutcome DeviceCycle::Read() {
    FlowOutcome outcome;
    if (!link_.HasDevice()) {
        host_.ShowMessage(UserMessage::Window({"Str020"}));
    } else {
        SayIfSilent(Identify(false, outcome));
    }
    NoteDeviceSide(outcome, link_, state_);
    return outcome;
}

void DeviceCycle::SayIfSilent(Identification outcome) {
    // The identification leaves a mouse that does not answer alone without a word; a user who
    // asked for a read is told.
    if (outcome == Identification::kNotAnswering || outcome == Identification::kNoSignature) {
        host_.ShowMessage(UserMessage::Window({kNotAnsweringMessage}));
    }
}

}  // namespace velq
