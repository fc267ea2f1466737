#include <libudev.h>

#include <cstring>

#include "device/hotplug_monitor.h"

namespace velq {
namespace {

class UdevHotplugMonitor final : public HotplugMonitor {
public:
    UdevHotplugMonitor(udev* context, udev_monitor* monitor)
        : context_(context), monitor_(monitor) {}
    ~UdevHotplugMonitor() override {
        udev_monitor_unref(monitor_);
        udev_unref(context_);
    }
    UdevHotplugMonitor(const UdevHotplugMonitor&) = delete;
    UdevHotplugMonitor& operator=(const UdevHotplugMonitor&) = delete;

    int Descriptor() const override { return udev_monitor_get_fd(monitor_); }

    bool TakeEvents() override {
        bool changed = false;
        // The monitor's socket is non-blocking: this drains what is queued and returns.
        while (udev_device* device = udev_monitor_receive_device(monitor_)) {
            const char* action = udev_device_get_action(device);
            if (action != nullptr &&
                (std::strcmp(action, "add") == 0 || std::strcmp(action, "remove") == 0)) {
                changed = true;
            }
            udev_device_unref(device);
        }
        return changed;
    }

private:
    udev* context_;
    udev_monitor* monitor_;
};

}  // namespace

std::unique_ptr<HotplugMonitor> MakeUdevHotplugMonitor() {
    udev* context = udev_new();
    if (context == nullptr) {
        return nullptr;
    }
    udev_monitor* monitor = udev_monitor_new_from_netlink(context, "udev");
    if (monitor == nullptr ||
        udev_monitor_filter_add_match_subsystem_devtype(monitor, "hidraw", nullptr) < 0 ||
        udev_monitor_enable_receiving(monitor) < 0) {
        if (monitor != nullptr) {
            udev_monitor_unref(monitor);
        }
        udev_unref(context);
        return nullptr;
    }
    return std::make_unique<UdevHotplugMonitor>(context, monitor);
}

}  // namespace velq
