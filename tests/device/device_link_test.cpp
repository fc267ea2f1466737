#include "device/device_link.h"

#include <gtest/gtest.h>

#include "device_fixture.h"

namespace velq::test {
namespace {

using Link = DeviceFixture;

VirtualInterface Interface(std::string path, uint16_t release, std::vector<int> feature_lengths,
                           bool openable = true) {
    return {std::move(path),
            {MouseVendorId, MouseProductId, release},
            std::move(feature_lengths),
            openable,
            true};
}

TEST_F(Link, FindsTheMouseByIdsReleaseAndFeatureLength) {
    struct Case {
        const char* name;
        std::vector<VirtualInterface> interfaces;
        bool found;
        const char* path;
    };
    const std::vector<Case> cases = {
        {"lengths 0 and 8", {Interface("a", 0x0104, {0}), Interface("b", 0x0104, {8})}, true, "b"},
        {"release 0x0105", {Interface("a", 0x0105, {0}), Interface("b", 0x0105, {8})}, false, ""},
        {"only other lengths",
         {Interface("a", 0x0104, {0}), Interface("b", 0x0104, {9, 64})},
         false,
         ""},
        {"8 among collections", {Interface("a", 0x0104, {0, 8, 3})}, true, "a"},
        {"two matches: the first path in sorted order",
         {Interface("b", 0x0104, {8}), Interface("a", 0x0104, {8})},
         true,
         "a"},
        {"unopenable skipped",
         {Interface("a", 0x0104, {8}), Interface("b", 0x0104, {8}, false)},
         true,
         "a"},
        {"other vendor", {{"a", {0x046D, MouseProductId, 0x0104}, {8}, true, false}}, false, ""},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        VirtualBackend local{mouse};
        local.SetInterfaces(c.interfaces);
        DeviceLink local_link{local};
        uint16_t release = kMouseReleaseNumber;
        EXPECT_EQ(local_link.OpenMouse(MouseVendorId, MouseProductId, release), c.found);
        if (c.found) {
            EXPECT_EQ(local_link.DevicePath(), c.path);
            EXPECT_EQ(local_link.VendorId(), MouseVendorId);
            EXPECT_EQ(local_link.ProductId(), MouseProductId);
            EXPECT_EQ(local_link.FeatureLength(), 8);
            EXPECT_EQ(local.OpenHandles(), 1);  // every other handle was closed
        } else {
            EXPECT_FALSE(local_link.HasDevice());
            EXPECT_EQ(local.OpenHandles(), 0);
            EXPECT_EQ(local_link.VendorId(), 0);
        }
    }
}

VirtualInterface Denied(VirtualInterface interface) {
    interface.access_denied = true;
    return interface;
}

// A mouse this user may not open is told apart from no mouse: the link names the interface
// that matched but was denied, as long as no mouse could be opened.
TEST_F(Link, AMouseThatMayNotBeOpenedIsReportedAsDenied) {
    struct Case {
        const char* name;
        std::vector<VirtualInterface> interfaces;
        bool found;
        const char* denied;
    };
    const std::vector<Case> cases = {
        {"every interface denied: the one with 8-byte feature reports is named",
         {Denied(Interface("a", 0x0104, {0})), Denied(Interface("c", 0x0104, {8})),
          Denied(Interface("b", 0x0104, {0, 3}))},
         false,
         "c"},
        {"lengths unknown without opening: the first path",
         {Denied(Interface("b", 0x0104, {})), Denied(Interface("a", 0x0104, {}))},
         false,
         "a"},
        {"another matching interface opens",
         {Denied(Interface("a", 0x0104, {8})), Interface("b", 0x0104, {8})},
         true,
         ""},
        {"held elsewhere is no denial", {Interface("a", 0x0104, {8}, false)}, false, ""},
        {"another release", {Denied(Interface("a", 0x0105, {8}))}, false, ""},
        {"another vendor",
         {Denied({"a", {0x046D, MouseProductId, 0x0104}, {8}, true, false})},
         false,
         ""},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        VirtualBackend local{mouse};
        local.SetInterfaces(c.interfaces);
        DeviceLink local_link{local};
        uint16_t release = kMouseReleaseNumber;
        EXPECT_EQ(local_link.OpenMouse(MouseVendorId, MouseProductId, release), c.found);
        EXPECT_EQ(local_link.MouseAccessDenied(), std::string(c.denied) != "");
        EXPECT_EQ(local_link.DeniedPath(), c.denied);
        EXPECT_EQ(local.OpenHandles(), c.found ? 1 : 0);
    }
}

TEST_F(Link, TheDenialLastsOnlyAsLongAsTheMouseIsThereAndDenied) {
    std::vector<VirtualInterface> interfaces = backend.Interfaces();
    for (VirtualInterface& interface : interfaces) {
        interface.access_denied = true;
    }
    backend.SetInterfaces(interfaces);
    uint16_t release = kMouseReleaseNumber;
    EXPECT_FALSE(link.OpenMouse(MouseVendorId, MouseProductId, release));
    EXPECT_EQ(link.DeniedPath(), "/dev/virtual/velq540b-config");

    // A search restricted to another path does not see it.
    link.ChoosePath("/dev/virtual/velq540b-other");
    EXPECT_FALSE(link.OpenMouse(MouseVendorId, MouseProductId, release));
    EXPECT_FALSE(link.MouseAccessDenied());
    link.ChoosePath("");

    mouse->SetPlugged(false);
    EXPECT_FALSE(link.OpenMouse(MouseVendorId, MouseProductId, release));
    EXPECT_FALSE(link.MouseAccessDenied());
    mouse->SetPlugged(true);
    EXPECT_FALSE(link.OpenMouse(MouseVendorId, MouseProductId, release));
    EXPECT_TRUE(link.MouseAccessDenied());

    // The udev rule took effect.
    for (VirtualInterface& interface : backend.Interfaces()) {
        interface.access_denied = false;
    }
    EXPECT_TRUE(link.OpenMouse(MouseVendorId, MouseProductId, release));
    EXPECT_FALSE(link.MouseAccessDenied());
    EXPECT_EQ(link.DeniedPath(), "");
}

// Two mice of this model: the first in sorted path order unless one path is chosen, and the
// chosen mouse's own firmware answers.
TEST_F(Link, TwoMiceTheFirstPathOrTheChosenOne) {
    auto second = std::make_shared<VirtualMouse>();
    EXPECT_EQ(backend.AddMouse(second, "/dev/virtual/a-second"), 1);
    uint16_t release = kMouseReleaseNumber;
    ASSERT_TRUE(link.OpenMouse(MouseVendorId, MouseProductId, release));
    EXPECT_EQ(link.DevicePath(), "/dev/virtual/a-second-config");

    link.ChoosePath("/dev/virtual/velq540b-config");
    ASSERT_TRUE(link.OpenMouse(MouseVendorId, MouseProductId, release));
    EXPECT_EQ(link.DevicePath(), "/dev/virtual/velq540b-config");
    EXPECT_EQ(backend.OpenHandles(), 1);
    second->ClearRequests();
    mouse->ClearRequests();
    ASSERT_TRUE(protocol.SendCommand(Command::kOpen));
    EXPECT_EQ(mouse->CountRequests(Command::kOpen), 1);
    EXPECT_EQ(second->CountRequests(Command::kOpen), 0);

    // Unplugging the other mouse leaves the chosen one; unplugging the chosen one loses it.
    second->SetPlugged(false);
    EXPECT_TRUE(link.DevicePathPresent());
    EXPECT_EQ(link.CountHidInterfaces(), 3);
    mouse->SetPlugged(false);
    EXPECT_FALSE(link.DevicePathPresent());
    EXPECT_FALSE(link.OpenMouse(MouseVendorId, MouseProductId, release));
}

TEST_F(Link, ReopeningOrDroppingTheMouseClosesTheOldHandle) {
    OpenTheMouse();
    EXPECT_EQ(backend.OpenHandles(), 1);
    uint16_t release = kMouseReleaseNumber;
    ASSERT_TRUE(link.OpenMouse(MouseVendorId, MouseProductId, release));
    EXPECT_EQ(backend.OpenHandles(), 1);
    link.DropDevice();
    EXPECT_FALSE(link.HasDevice());
    EXPECT_EQ(backend.OpenHandles(), 0);
}

TEST_F(Link, CountsTheInterfacesThatCanBeOpened) {
    std::vector<VirtualInterface> interfaces;
    for (int i = 0; i < 7; ++i) {
        interfaces.push_back({"hid" + std::to_string(i), {0x1234, 0x5678, 1}, {0}, i != 3, false});
    }
    backend.SetInterfaces(interfaces);
    EXPECT_EQ(link.CountHidInterfaces(), 6);
    EXPECT_EQ(backend.OpenHandles(), 0);
    // One this user may not open is there all the same: plugging it in must be noticed.
    backend.Interfaces()[5].access_denied = true;
    EXPECT_EQ(link.CountHidInterfaces(), 6);
    backend.Interfaces()[3].access_denied = true;
    EXPECT_EQ(link.CountHidInterfaces(), 7);
}

TEST_F(Link, UnpluggedMouseVanishesFromTheEnumeration) {
    const int plugged = link.CountHidInterfaces();
    EXPECT_EQ(plugged, 3);
    mouse->SetPlugged(false);
    EXPECT_EQ(link.CountHidInterfaces(), 0);
    uint16_t release = kMouseReleaseNumber;
    EXPECT_FALSE(link.OpenMouse(MouseVendorId, MouseProductId, release));
    mouse->SetPlugged(true);
    EXPECT_TRUE(link.OpenMouse(MouseVendorId, MouseProductId, release));
}

TEST(DriverPath, NumberAtCharacters55To58) {
    const std::string prefix(54, 'x');
    struct Case {
        std::string path;
        bool ok;
        uint16_t number;
    };
    const Case cases[] = {
        {prefix + "08a1", true, 0x08A1},
        {prefix + "08A1#tail", true, 0x08A1},
        {prefix + "ffff", true, 0xFFFF},
        {prefix + "08a", false, 0},
        {prefix + "08g1", false, 0},
        {prefix.substr(1) + "08a1", false, 0},  // shifted by one: "x08a" is not hex
        {"", false, 0},
    };
    for (const Case& c : cases) {
        uint16_t number = 0;
        EXPECT_EQ(DriverNumberOfPath(c.path, number), c.ok) << c.path;
        if (c.ok) {
            EXPECT_EQ(number, c.number) << c.path;
        }
    }
}

TEST_F(Link, OpensOnlyTheDriverWithTheMatchingNumber) {
    backend.SetDriverPresent(true);
    mouse->SetDriverNumber(0x08A1);
    EXPECT_FALSE(link.OpenDriver(0x08A2));
    EXPECT_EQ(link.Driver(), nullptr);
    EXPECT_TRUE(link.OpenDriver(0x08A1));
    EXPECT_NE(link.Driver(), nullptr);
}

TEST(EffectiveFeatureLength, PrefersEightElseTheLongest) {
    EXPECT_EQ(EffectiveFeatureLength({}), 0);
    EXPECT_EQ(EffectiveFeatureLength({0, 3}), 3);
    EXPECT_EQ(EffectiveFeatureLength({64, 8, 2}), 8);
}

}  // namespace
}  // namespace velq::test
