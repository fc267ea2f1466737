#include "flows/device_cycle.h"

#include <gtest/gtest.h>

#include <memory>

#include "device/virtual_backend.h"
#include "device/virtual_mouse.h"
#include "recording_host.h"

namespace velq::test {
namespace {

constexpr DeviceCodes kExpected{0x24, 0x8A};
constexpr DeviceCodes kSecondPair{0x11, 0x22};

// The device cycle on a virtual mouse whose codes are the expected ones, in virtual time.
class DeviceCycleTest : public ::testing::Test {
protected:
    DeviceCycleTest() {
        const uint8_t codes[] = {kExpected.vendor, kExpected.product};
        mouse->SetMemory(0x36, codes);
        cycle.SetExpectedCodes(kExpected, kSecondPair);
    }

    void SetCodes(uint8_t vendor, uint8_t product) {
        const uint8_t codes[] = {vendor, product};
        mouse->SetMemory(0x36, codes);
    }

    // A pass that finds the plugged mouse.
    void Connect() {
        cycle.DevTimerTimer();
        ASSERT_TRUE(host.Saw("ReadFlow parameters"));
        host.log.clear();
        host.messages.clear();
    }

    void AddOtherDevice(const std::string& path, bool openable = true) {
        backend.Interfaces().push_back({path, {0x046D, 0xC077, 0x0100}, {0}, openable, false});
    }

    std::shared_ptr<VirtualMouse> mouse = std::make_shared<VirtualMouse>();
    VirtualBackend backend{mouse};
    DeviceLink link{backend};
    VirtualClock clock;
    CommandProtocol protocol{link, clock};
    RecordingHost host;
    DeviceCycle cycle{link, protocol, clock, host};
};

TEST_F(DeviceCycleTest, FirstPassFindsIdentifiesAndReadsTheMouse) {
    cycle.DevTimerTimer();
    EXPECT_TRUE(link.HasDevice());
    EXPECT_EQ(link.LastInterfaceCount(), 3);
    EXPECT_EQ(host.log, (std::vector<std::string>{"Codes 36 138", "ReadFlow parameters",
                                                  "DevTimerFirst off", "DevTimer on"}));
    EXPECT_EQ(host.events_pumped, 3);  // the 3 x 10 ms settle wait lets events run
}

TEST_F(DeviceCycleTest, IdentificationOutcomes) {
    struct Case {
        const char* name;
        std::function<void(VirtualMouse&)> setup;
        std::vector<std::string> calls;
        bool handle_kept;
        int reloads;
    };
    const std::vector<Case> cases = {
        {"second pair accepted",
         [](VirtualMouse& m) {
             const uint8_t c[] = {0x11, 0x22};
             m.SetMemory(0x36, c);
         },
         {"Codes 17 34", "ReadFlow parameters", "DevTimerFirst off", "DevTimer on"},
         true,
         0},
        {"wrong codes",
         [](VirtualMouse& m) {
             const uint8_t c[] = {0x24, 0x8B};
             m.SetMemory(0x36, c);
         },
         {"Codes 36 139", "DevTimer off", "Message Str107", "DevTimerFirst off", "DevTimer on"},
         true,
         1},
        {"no write permission",
         [](VirtualMouse& m) { m.SetWriteEnabled(false); },
         {"Message Str020", "DevTimerFirst off", "DevTimer on"},
         false,
         1},
        {"unknown chip",
         [](VirtualMouse& m) { m.SetChipCode(0x12); },
         {"Message Str020", "DevTimerFirst off", "DevTimer on"},
         false,
         1},
        {"no signature",
         [](VirtualMouse& m) { m.SetSignature(0x00); },
         {"DevTimerFirst off", "DevTimer on"},
         true,
         0},
        {"Open refused",
         [](VirtualMouse& m) { m.RefuseCommand(Command::kOpen, 5); },
         {"DevTimerFirst off", "DevTimer on"},
         true,
         0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        auto local_mouse = std::make_shared<VirtualMouse>();
        const uint8_t codes[] = {kExpected.vendor, kExpected.product};
        local_mouse->SetMemory(0x36, codes);
        c.setup(*local_mouse);
        VirtualBackend local_backend{local_mouse};
        DeviceLink local_link{local_backend};
        CommandProtocol local_protocol{local_link, clock};
        RecordingHost local_host;
        DeviceCycle local{local_link, local_protocol, clock, local_host};
        local.SetExpectedCodes(kExpected, kSecondPair);
        local.DevTimerTimer();
        EXPECT_EQ(local_host.log, c.calls);
        EXPECT_EQ(local_link.HasDevice(), c.handle_kept);
        EXPECT_EQ(local_mouse->CountRequests(Command::kReload), c.reloads);
        EXPECT_EQ(local_mouse->CountRequests(Command::kClose), c.reloads);
        for (const UserMessage& m : local_host.messages) {
            EXPECT_EQ(m.box, UserMessage::Box::kSystemBox);
        }
    }
}

TEST_F(DeviceCycleTest, UnrelatedDeviceWhileOpenIsRecordedAndTheMouseLeftAlone) {
    Connect();
    AddOtherDevice("other-keyboard");
    cycle.DevTimerTimer();
    EXPECT_TRUE(host.log.empty());
    EXPECT_EQ(link.LastInterfaceCount(), 4);
    EXPECT_FALSE(cycle.Busy());

    mouse->SetPlugged(false);  // later passes still notice the mouse going
    cycle.DevTimerTimer();
    EXPECT_FALSE(link.HasDevice());
    EXPECT_EQ(link.VendorId(), 0);
    EXPECT_EQ(link.LastInterfaceCount(), 1);
    ASSERT_EQ(host.messages.size(), 1u);
    EXPECT_EQ(host.messages[0], (UserMessage::Window({"Str100", "Str101"}, "\r\r")));
    EXPECT_EQ(host.log,
              (std::vector<std::string>{"HideAllMenus", "NoDevicePage off", "RefreshErrorAP",
                                        "ClearDeviceLists", "Cover", "DevTimerFirst off",
                                        "DevTimer on", "Message Str100+Str101"}));
}

TEST_F(DeviceCycleTest, UnpluggingAnyDeviceWithoutAMouseShowsTheNoDeviceMessage) {
    mouse->SetPlugged(false);
    AddOtherDevice("a");
    AddOtherDevice("b");
    cycle.DevTimerTimer();  // arrival of a and b: no mouse among them
    EXPECT_EQ(link.LastInterfaceCount(), 2);
    host.log.clear();
    host.messages.clear();
    backend.Interfaces().pop_back();
    cycle.DevTimerTimer();
    ASSERT_EQ(host.messages.size(), 1u);
    EXPECT_EQ(host.messages[0].keys, (std::vector<std::string>{"Str100", "Str101"}));
}

// An enumeration whose count changes on every call never looks settled.
class FlickeringBackend final : public HidBackend {
public:
    explicit FlickeringBackend(HidBackend& inner) : inner_(inner) {}
    std::vector<std::string> EnumerateHid() override {
        std::vector<std::string> paths = inner_.EnumerateHid();
        if (flicker && (calls_++ % 2 == 1)) {
            paths.push_back("ghost");
        }
        return paths;
    }
    std::unique_ptr<HidDevice> OpenHid(const std::string& path) override {
        return path == "ghost" ? inner_.OpenHid(inner_.EnumerateHid().front())
                               : inner_.OpenHid(path);
    }
    std::vector<std::string> EnumerateClass(const std::string& c) override {
        return inner_.EnumerateClass(c);
    }
    std::unique_ptr<DriverDevice> OpenDriverDevice(const std::string& p) override {
        return inner_.OpenDriverDevice(p);
    }
    bool flicker = true;

private:
    HidBackend& inner_;
    int calls_ = 0;
};

TEST_F(DeviceCycleTest, UnsettledBusChangesNothingUntilALaterPass) {
    FlickeringBackend flickering{backend};
    DeviceLink local_link{flickering};
    CommandProtocol local_protocol{local_link, clock};
    DeviceCycle local{local_link, local_protocol, clock, host};
    local.SetExpectedCodes(kExpected, kSecondPair);
    local.DevTimerTimer();
    EXPECT_TRUE(host.log.empty());
    EXPECT_EQ(local_link.LastInterfaceCount(), 0);
    EXPECT_FALSE(local_link.HasDevice());
    flickering.flicker = false;
    local.DevTimerTimer();
    EXPECT_TRUE(local_link.HasDevice());
    EXPECT_TRUE(host.Saw("ReadFlow parameters"));
}

TEST_F(DeviceCycleTest, ATickDuringAPassReturnsAtOnce) {
    int nested_passes = 0;
    host.on_events = [&] {
        EXPECT_TRUE(cycle.Busy());
        cycle.DevTimerTimer();  // must not run a second pass
        ++nested_passes;
    };
    cycle.DevTimerTimer();
    EXPECT_EQ(nested_passes, 3);
    EXPECT_EQ(mouse->CountRequests(Command::kOpen), 1);
    EXPECT_FALSE(cycle.Busy());
}

TEST_F(DeviceCycleTest, ReadButtonNeedsADevice) {
    cycle.BtnReadClick();
    EXPECT_EQ(host.log, (std::vector<std::string>{"Message Str020"}));
    EXPECT_EQ(host.messages[0].box, UserMessage::Box::kMessageWindow);
    Connect();
    cycle.BtnReadClick();
    EXPECT_TRUE(host.Saw("ReadFlow parameters"));
}

}  // namespace
}  // namespace velq::test
