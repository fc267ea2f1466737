#pragma once

#include <functional>
#include <optional>
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
    bool RunReadFlow(bool full) override {
        Log(full ? "ReadFlow full" : "ReadFlow parameters");
        return on_read_flow ? on_read_flow(full) : true;
    }
    void ShowLoadingWindow(bool visible) override {
        Log(visible ? "Loading shown" : "Loading hidden");
    }
    void CollectPageValues(MouseConfig& config) override {
        Log("CollectPageValues");
        if (page_values) {
            config = *page_values;
        }
    }
    void ShowPageValues(const MouseConfig& config) override {
        Log("ShowPageValues");
        shown = config;
    }
    void RefreshPcMacroNames() override { Log("RefreshPcMacroNames"); }
    void ReadPointerSettings() override { Log("ReadPointerSettings"); }
    void WritePointerSettings() override { Log("WritePointerSettings"); }
    void ShowFirstPage() override { Log("ShowFirstPage"); }
    NameSources Names() override { return {captions, macro_names, gun_names, true}; }
    void ShowResultPicture(bool visible) override {
        Log(visible ? "Result shown" : "Result hidden");
    }
    void CloseMainWindow() override { Log("CloseMainWindow"); }
    bool ChooseSaveFile(std::filesystem::path& file) override {
        Log("ChooseSaveFile");
        file = next_file;
        return !next_file.empty();
    }
    bool ChooseLoadFile(std::filesystem::path& file) override {
        Log("ChooseLoadFile");
        file = next_file;
        return !next_file.empty();
    }

    bool Saw(const std::string& line) const {
        for (const auto& l : log) {
            if (l == line) {
                return true;
            }
        }
        return false;
    }

    // A small caption table: the names the flows compare with.
    class Captions final : public CaptionLookup {
    public:
        std::string Caption(std::string_view key) const override {
            if (key == "Str222")
                return "Alvo";
            if (key == "Str210")
                return "Clique esquerdo";
            if (key == "Str220")
                return "Chave de fogo";
            return {};
        }
    };
    class NoMacros final : public MacroNameLookup {
    public:
        std::string SlotMacroName(int) const override { return {}; }
        std::optional<std::string> DriverMacroName(std::size_t) const override { return {}; }
    };
    class NoGuns final : public GunNameLookup {
    public:
        bool GunKeyFileFound() const override { return false; }
        std::vector<std::string> GunKeyTexts() const override { return {}; }
    };

    Captions captions;
    NoMacros macro_names;
    NoGuns gun_names;
    std::filesystem::path next_file;
    // What the pages hold at the next Apply; as shown when empty.
    std::optional<MouseConfig> page_values;
    MouseConfig shown;
    std::function<bool(bool)> on_read_flow;
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
