#pragma once

#include <functional>
#include <string>
#include <vector>

#include "flows/flow_host.h"

namespace velq::test {

// Records what the flows ask of the window, one readable line per call.
class RecordingHost : public FlowHost {
public:
    void SetDevTimerFirstEnabled(bool enabled) override {
        Log(std::string("DevTimerFirst ") + (enabled ? "on" : "off"));
        dev_timer_first = enabled;
    }
    void SetDevTimerEnabled(bool enabled) override {
        Log(std::string("DevTimer ") + (enabled ? "on" : "off"));
        dev_timer = enabled;
    }
    void ProcessPendingEvents() override {
        ++events_pumped;
        if (on_events) {
            on_events();
        }
    }
    void ShowMessage(const UserMessage& message) override {
        messages.push_back(message);
        std::string text;
        for (const auto& key : message.keys) {
            text += (text.empty() ? "" : "+") + key;
        }
        Log("Message " + text);
    }
    void HideAllMenus() override { Log("HideAllMenus"); }
    void CoverPages(bool covered) override {
        Log(covered ? "Cover" : "Uncover");
        pages_covered = covered;
    }
    void ShowDeviceCodes(int vendor, int product) override {
        Log("Codes " + std::to_string(vendor) + " " + std::to_string(product));
    }
    void RefreshErrorAP() override { Log("RefreshErrorAP"); }
    void ClearDeviceLists() override { Log("ClearDeviceLists"); }
    void SetNoDevicePage(bool value) override {
        Log(std::string("NoDevicePage ") + (value ? "on" : "off"));
        no_device_page = value;
    }
    void RunReadFlow(bool full) override { Log(full ? "ReadFlow full" : "ReadFlow parameters"); }

    bool Saw(const std::string& line) const {
        for (const auto& l : log) {
            if (l == line) {
                return true;
            }
        }
        return false;
    }

    std::vector<std::string> log;
    std::vector<UserMessage> messages;
    std::function<void()> on_events;
    int events_pumped = 0;
    bool dev_timer_first = true;
    bool dev_timer = false;
    bool pages_covered = true;
    bool no_device_page = true;

private:
    void Log(std::string line) { log.push_back(std::move(line)); }
};

}  // namespace velq::test
