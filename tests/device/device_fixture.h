#pragma once

#include <gtest/gtest.h>

#include <memory>
#include <vector>

#include "device/clock.h"
#include "device/command_protocol.h"
#include "device/device_link.h"
#include "device/virtual_backend.h"
#include "device/virtual_mouse.h"

namespace velq::test {

// Virtual time that remembers every wait, so tests can assert the exact timing.
class RecordingClock final : public VirtualClock {
public:
    void SleepMs(int ms) override {
        if (ms > 0) {
            waits.push_back(ms);
        }
        VirtualClock::SleepMs(ms);
    }
    std::vector<int> waits;
};

// The whole device stack on a virtual mouse, in virtual time.
class DeviceFixture : public ::testing::Test {
protected:
    void OpenTheMouse() {
        uint16_t release = kMouseReleaseNumber;
        ASSERT_TRUE(link.OpenMouse(MouseVendorId, MouseProductId, release));
        mouse->ClearRequests();
    }

    std::shared_ptr<VirtualMouse> mouse = std::make_shared<VirtualMouse>();
    VirtualBackend backend{mouse};
    DeviceLink link{backend};
    RecordingClock clock;
    CommandProtocol protocol{link, clock};
};

}  // namespace velq::test
