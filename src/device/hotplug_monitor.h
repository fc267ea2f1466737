#pragma once

#include <memory>

namespace velq {

// Tells the device cycle at once when a HID interface comes or goes, so plugging the mouse in
// is noticed without waiting for the next timer pass. The pass itself still decides what
// happened; the notification only makes it run earlier.
class HotplugMonitor {
public:
    virtual ~HotplugMonitor() = default;
    // A descriptor that becomes readable when an event is pending (-1 when there is none to
    // watch), for the window's event loop.
    virtual int Descriptor() const = 0;
    // Takes the pending events; true when a HID interface was added or removed.
    virtual bool TakeEvents() = 0;
};

// The hidraw subsystem through libudev; nullptr when udev is not available.
std::unique_ptr<HotplugMonitor> MakeUdevHotplugMonitor();

}  // namespace velq
