#include "flows/device_cycle.h"

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
            // Something went away: is it our mouse? Ids 0, 0 (no mouse open) match nothing.
            uint16_t release = link_.ReleaseNumber();
            if (!link_.OpenMouse(link_.VendorId(), link_.ProductId(), release)) {
                DeviceLost();
                link_.ClearIds();
                link_.DropDevice();
            }
        } else if (!link_.HasDevice()) {
            for (const KnownDevice& known : known_) {
                if (known.vendor_id == 0 || known.product_id == 0) {
                    continue;
                }
                WaitLettingEventsRun(3, 10);
                uint16_t release = kMouseReleaseNumber;
                if (link_.OpenMouse(known.vendor_id, known.product_id, release)) {
                    ReadDevInfo(false);
                    break;
                }
                DeviceLost();
            }
        }
        link_.SetLastInterfaceCount(n);
    }
    busy_ = false;
}

void DeviceCycle::EndIdentification() {
    host_.SetDevTimerFirstEnabled(false);
    host_.SetDevTimerEnabled(true);
}

void DeviceCycle::ReadDevInfo(bool full) {
    if (!protocol_.SendCommand(Command::Open) || !protocol_.SendCommand(Command::Status)) {
        EndIdentification();
        return;
    }
    const StatusAnswer status = ParseStatus(protocol_.Report());
    if (!status.signature_ok) {
        EndIdentification();  // not our firmware speaking: left alone, without a message
        return;
    }
    if (status.write_enabled && status.chip_number != 0) {
        uint8_t codes[2] = {0xFF, 0xFF};
        // The answer of a failed ReadBegin is the 0xFF fill, which matches no expected pair.
        (void)protocol_.ReadBlock(kDeviceCodesRange.address, kDeviceCodesRange.size, codes,
                                  LoadingWindow::Hidden);
        host_.ShowDeviceCodes(codes[0], codes[1]);
        const DeviceCodes found{codes[0], codes[1]};
        if (found == expected_[0] || found == expected_[1]) {
            host_.RunReadFlow(full);
            EndIdentification();
            return;
        }
        host_.SetDevTimerEnabled(false);
        (void)protocol_.SendCommand(Command::Reload);
        (void)protocol_.SendCommand(Command::Close);
        host_.ShowMessage(SystemBox("Str107"));  // the handle stays: Apply still reaches it
        EndIdentification();
        return;
    }
    (void)protocol_.SendCommand(Command::Reload);
    (void)protocol_.SendCommand(Command::Close);
    link_.DropDevice();
    host_.ShowMessage(SystemBox("Str020"));
    EndIdentification();
}

void DeviceCycle::DeviceLost() {
    host_.HideAllMenus();
    host_.SetNoDevicePage(false);
    host_.RefreshErrorAP();
    host_.ClearDeviceLists();
    host_.CoverPages(true);
    host_.SetDevTimerFirstEnabled(false);
    host_.SetDevTimerEnabled(true);
    host_.ShowMessage(UserMessage::Window({"Str100", "Str101"}, "\r\r"));
}

void DeviceCycle::BtnReadClick() {
    if (!link_.HasDevice()) {
        host_.ShowMessage(UserMessage::Window({"Str020"}));
        return;
    }
    ReadDevInfo(false);
}

}  // namespace velq
