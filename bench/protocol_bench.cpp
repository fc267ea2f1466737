// Times the two transfers that matter to a user, in real time on the virtual mouse answering
// at once, and prints each beside its floor: the sum of the waits the protocol mandates.
// Whatever is above the floor is the cost of the stack itself (and of the sleeps overshooting).
#include <chrono>
#include <cstdio>
#include <functional>
#include <memory>
#include <vector>

#include "device/clock.h"
#include "device/command_protocol.h"
#include "device/device_link.h"
#include "device/virtual_backend.h"
#include "device/virtual_mouse.h"
#include "flows/verified_write.h"

namespace {

using velq::CommandProtocol;

double Measure(const char* name, double floor_ms, const std::function<bool()>& transfer) {
    const auto start = std::chrono::steady_clock::now();
    const bool ok = transfer();
    const auto end = std::chrono::steady_clock::now();
    const double elapsed = std::chrono::duration<double, std::milli>(end - start).count();
    const double ratio = elapsed / floor_ms;
    std::printf("%-34s %8.1f ms  floor %7.1f ms  ratio %.3f  %s%s\n", name, elapsed, floor_ms,
                ratio, ratio <= 1.05 ? "(target 1.05 met)" : "(target 1.05 MISSED)",
                ok ? "" : "  TRANSFER FAILED");
    return ratio;
}

}  // namespace

int main() {
    auto mouse = std::make_shared<velq::VirtualMouse>();
    velq::VirtualBackend backend(mouse);
    velq::DeviceLink link(backend);
    uint16_t release = velq::kMouseReleaseNumber;
    if (!link.OpenMouse(velq::MouseVendorId, velq::MouseProductId, release)) {
        std::fprintf(stderr, "virtual mouse not found\n");
        return 1;
    }
    CommandProtocol protocol(link, velq::SystemClock());
    std::vector<uint8_t> image(2048);

    // Full read as the flows make it (a clean read is taken at once, never repeated): ReadBegin
    // (10 ms) and 342 chunks of 5 ms.
    const double read_ratio = Measure("full read, 2048 bytes", 10 + 342 * 5.0, [&] {
        return velq::ReadBlockTrusted(protocol, 0, 2048, image, velq::LoadingWindow::kShown);
    });
    // Apply's parameter write, judged as Apply judges it (a clean write is not read back):
    // WriteBegin (10 ms) and 43 chunks of 10 ms.
    const double write_ratio = Measure("parameter write of Apply, 255 bytes", 10 + 43 * 10.0, [&] {
        protocol.ResetCounts();
        return protocol.WriteBlock(0, 255, image) && protocol.Counts().WritesClean();
    });
    return read_ratio > 0 && write_ratio > 0 ? 0 : 1;
}
