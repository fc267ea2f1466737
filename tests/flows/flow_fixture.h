#pragma once

#include <gtest/gtest.h>

#include <algorithm>
#include <memory>
#include <string>

#include "device/virtual_backend.h"
#include "device/virtual_mouse.h"
#include "device/write_requests.h"
#include "flows/device_cycle.h"
#include "flows/eeprom_flows.h"
#include "recording_host.h"
#include "state_home.h"

namespace velq::test {

// The device flows on a virtual mouse that holds the first default image, in virtual time,
// with a host that records what they ask of the window. The mouse is not found yet: PlugIn()
// runs the first device pass, as the program does at start-up. The flows run as the window runs
// them, on one thread here: the window's share before the job, the job, then the window acting
// on its outcome.
class FlowFixture : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(LoadDefaultImages(state.defaults));
        const DataBuf& factory = state.defaults.eeprom[0];
        mouse->SetMemory(0, factory);
        codes = {factory[0x36], factory[0x37]};
        cycle.SetExpectedCodes(codes, {0, 0});
        flows.SetExpectedCodes(codes, {0, 0});
        flows.SetDeviceCycle(&cycle);
        cycle.SetReadFlow(
            [this](bool full, FlowOutcome& outcome) { return flows.Read(full, outcome); });
    }

    // The first device pass finds, identifies and reads the mouse.
    void PlugIn() {
        Pass();
        ASSERT_TRUE(link.HasDevice());
    }

    // A device pass, and the frame buttons' flows.
    void Pass() { host.ActOn(cycle.Pass()); }
    void ReadButton() { host.ActOn(cycle.Read()); }
    void Apply() { host.ActOn(flows.Apply(host.Pages(), host.macros)); }
    void Confirm() { host.ActOn(flows.Confirm(host.Pages(), host.macros)); }
    void Reset(int image) { host.ActOn(flows.Reset(image)); }
    void RestoreDefaults(int image) { host.ActOn(flows.RestoreDefaults(image)); }
    void SaveProfile() {
        if (const auto file = ChooseProfileFile(host, ProfileFileUse::kSave, link.HasDevice())) {
            host.ActOn(flows.SaveProfile(*file));
        }
    }
    void LoadProfile() {
        if (const auto file = ChooseProfileFile(host, ProfileFileUse::kLoad, link.HasDevice())) {
            host.ActOn(flows.LoadProfile(*file));
        }
    }
    // The read that follows an identification, on its own.
    bool ReadAfterIdentification(bool full) {
        FlowOutcome outcome;
        const bool read = flows.Read(full, outcome);
        host.ActOn(outcome);
        return read;
    }

    // Forgets everything but the built-in images, as a fresh start does.
    void ResetState() {
        DefaultImages defaults = state.defaults;
        state = FlowState{};
        state.defaults = defaults;
    }

    // Forgets what was logged, said and sent so far.
    void Forget() {
        host.log.clear();
        host.messages.clear();
        mouse->ClearRequests();
    }

    // Whether a message showed the caption `key`.
    bool Said(const std::string& key) const {
        return std::any_of(host.messages.begin(), host.messages.end(), [&key](const auto& m) {
            return std::find(m.keys.begin(), m.keys.end(), key) != m.keys.end();
        });
    }

    // How many WriteBegin requests named this block.
    int Writes(uint16_t address, uint16_t length) const {
        return velq::testing::WriteBeginsFor(*mouse, address, length);
    }

    // The undo history of the flows that replace the mouse's settings goes here.
    ScopedStateHome state_home;
    std::shared_ptr<VirtualMouse> mouse = std::make_shared<VirtualMouse>();
    VirtualBackend backend{mouse};
    DeviceLink link{backend};
    VirtualClock clock;
    CommandProtocol protocol{link, clock};
    RecordingHost host;
    FlowState state;
    DeviceCycle cycle{link, protocol, clock, host, state};
    EepromFlows flows{link, protocol, clock, host, state};
    DeviceCodes codes;
};

}  // namespace velq::test
