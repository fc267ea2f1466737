#include "device/hotplug_monitor.h"

#include <gtest/gtest.h>

namespace velq {
namespace {

// Without udev (a container, say) there is no monitor and the timer alone finds the mouse; with
// it, a monitor that has seen nothing reports no change and does not block.
TEST(HotplugMonitor, NothingPendingMeansNoChange) {
    std::unique_ptr<HotplugMonitor> monitor = MakeUdevHotplugMonitor();
    if (monitor == nullptr) {
        GTEST_SKIP() << "udev is not available here";
    }
    EXPECT_GE(monitor->Descriptor(), 0);
    EXPECT_FALSE(monitor->TakeEvents());
}

}  // namespace
}  // namespace velq
