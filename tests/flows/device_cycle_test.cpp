#include "flows/device_cycle.h"

#include <gtest/gtest.h>

#include <memory>

#include "config/config_codec.h"
#include "device/device_fixture.h"
#include "device/virtual_backend.h"
#include "device/virtual_mouse.h"
#include "recording_host.h"

namespace velq::test {
namespace {

constexpr DeviceCodes kExpected{0x24, 0x8A};
constexpr DeviceCodes kSecondPair{0x11, 0x22};

// Stands for the read that follows a successful identification: noted in the host's log.
ReadFlow RecordedRead(RecordingHost& host) {
    return [&host](bool full, FlowOutcome&) {
        host.Note(full ? "ReadFlow full" : "ReadFlow parameters");
        return true;
    };
}

// The device cycle on a virtual mouse whose codes are the expected ones, in virtual time.
class DeviceCycleTest : public ::testing::Test {
protected:
    DeviceCycleTest() {
        const uint8_t codes[] = {kExpected.vendor, kExpected.product};
        mouse->SetMemory(0x36, codes);
        cycle.SetExpectedCodes(kExpected, kSecondPair);
        cycle.SetReadFlow(RecordedRead(host));
        EXPECT_TRUE(LoadDefaultImages(state.defaults));
    }

    // A pass, and the window acting on its outcome.
    void Pass() { host.ActOn(cycle.Pass()); }

    void SetCodes(uint8_t vendor, uint8_t product) {
        const uint8_t codes[] = {vendor, product};
        mouse->SetMemory(0x36, codes);
    }

    // A pass that finds the plugged mouse.
    void Connect() {
        Pass();
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
    RecordingClock clock;
    CommandProtocol protocol{link, clock};
    RecordingHost host;
    FlowState state;
    DeviceCycle cycle{link, protocol, clock, host, state};
};

TEST_F(DeviceCycleTest, FirstPassFindsIdentifiesAndReadsTheMouse) {
    Pass();
    EXPECT_TRUE(link.HasDevice());
    EXPECT_EQ(link.LastInterfaceCount(), 3);
    EXPECT_EQ(host.log, (std::vector<std::string>{"ReadFlow parameters", "DevTimerFirst off",
                                                  "DevTimer on", "Codes 36 138"}));
    // The interfaces settle 3 x 10 ms before the mouse is opened.
    ASSERT_GE(clock.waits.size(), 3u);
    EXPECT_EQ(std::vector<int>(clock.waits.begin(), clock.waits.begin() + 3),
              (std::vector<int>{10, 10, 10}));
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
         {"ReadFlow parameters", "DevTimerFirst off", "DevTimer on", "Codes 17 34"},
         true,
         0},
        {"wrong codes",
         [](VirtualMouse& m) {
             const uint8_t c[] = {0x24, 0x8B};
             m.SetMemory(0x36, c);
         },
         {"DevTimer off", "Message Str107", "DevTimerFirst off", "DevTimer on", "Codes 36 139"},
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
        FlowState local_state;
        DeviceCycle local{local_link, local_protocol, clock, local_host, local_state};
        local.SetExpectedCodes(kExpected, kSecondPair);
        local.SetReadFlow(RecordedRead(local_host));
        local_host.ActOn(local.Pass());
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
    Pass();
    EXPECT_TRUE(host.log.empty());
    EXPECT_EQ(link.LastInterfaceCount(), 4);
    EXPECT_FALSE(cycle.Busy());

    mouse->SetPlugged(false);  // later passes still notice the mouse going
    Pass();
    EXPECT_FALSE(link.HasDevice());
    EXPECT_EQ(link.VendorId(), 0);
    EXPECT_EQ(link.LastInterfaceCount(), 1);
    ASSERT_EQ(host.messages.size(), 1u);
    EXPECT_EQ(host.messages[0], (UserMessage::Window({"Str100", "Str101"}, "\r\r")));
    EXPECT_EQ(host.log, (std::vector<std::string>{"Cover", "DevTimerFirst off", "DevTimer on",
                                                  "Message Str100+Str101", "NoDeviceState",
                                                  "ShowPageValues"}));
    // The pages show the built-in defaults, with no mouse's slot names.
    SectionCopies defaults;
    FillSectionCopies(state.defaults.eeprom[0], defaults);
    EXPECT_EQ(host.shown, DecodeConfig(defaults));
    for (int slot = 1; slot <= static_cast<int>(kMacroSlotCount); ++slot) {
        EXPECT_EQ(host.shown_names.macros.ListName(slot), "") << slot;
    }
    EXPECT_EQ(host.shown_names.macros.changed, 0u);
    EXPECT_EQ(state.device_slot_names, (std::array<std::string, kMacroSlotCount>{}));
    EXPECT_FALSE(state.read_complete);
}

TEST_F(DeviceCycleTest, UnpluggingAnyDeviceWithoutAMouseShowsTheNoDeviceMessage) {
    mouse->SetPlugged(false);
    AddOtherDevice("a");
    AddOtherDevice("b");
    Pass();  // arrival of a and b: no mouse among them
    EXPECT_EQ(link.LastInterfaceCount(), 2);
    host.log.clear();
    host.messages.clear();
    backend.Interfaces().pop_back();
    Pass();
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
    DeviceCycle local{local_link, local_protocol, clock, host, state};
    local.SetExpectedCodes(kExpected, kSecondPair);
    local.SetReadFlow(RecordedRead(host));
    host.ActOn(local.Pass());
    EXPECT_TRUE(host.log.empty());
    EXPECT_EQ(local_link.LastInterfaceCount(), 0);
    EXPECT_FALSE(local_link.HasDevice());
    flickering.flicker = false;
    host.ActOn(local.Pass());
    EXPECT_TRUE(local_link.HasDevice());
    EXPECT_TRUE(host.Saw("ReadFlow parameters"));
}

TEST_F(DeviceCycleTest, APassAskedForDuringAPassReturnsAtOnce) {
    int nested_passes = 0;
    cycle.SetReadFlow([&](bool, FlowOutcome&) {
        EXPECT_TRUE(cycle.Busy());
        const FlowOutcome nested = cycle.Pass();  // must not run a second pass
        EXPECT_FALSE(nested.no_device_state);
        ++nested_passes;
        return true;
    });
    Pass();
    EXPECT_EQ(nested_passes, 1);
    EXPECT_EQ(mouse->CountRequests(Command::kOpen), 1);
    EXPECT_FALSE(cycle.Busy());
}

TEST_F(DeviceCycleTest, ReadButtonNeedsADevice) {
    host.ActOn(cycle.Read());
    EXPECT_EQ(host.log, (std::vector<std::string>{"Message Str020"}));
    EXPECT_EQ(host.messages[0].box, UserMessage::Box::kMessageWindow);
    Connect();
    host.ActOn(cycle.Read());
    EXPECT_TRUE(host.Saw("ReadFlow parameters"));
}

}  // namespace
}  // namespace velq::test
