#pragma once

#include <optional>
#include <string>
#include <vector>

#include "flows/flow_host.h"

namespace velq::test {

// Records what the flows ask of the window, one readable line per call, and acts on a flow's
// outcome as the window does once the flow has ended, logging that too.
class RecordingHost : public FlowHost {
public:
    void SetDevTimerFirstEnabled(bool enabled) override {
        Note(std::string("DevTimerFirst ") + (enabled ? "on" : "off"));
        dev_timer_first = enabled;
    }
    void SetDevTimerEnabled(bool enabled) override {
        Note(std::string("DevTimer ") + (enabled ? "on" : "off"));
        dev_timer = enabled;
    }
    void CoverPages(bool covered) override {
        Note(covered ? "Cover" : "Uncover");
        pages_covered = covered;
        if (!covered) {
            cover_note.reset();
        }
    }
    void ShowLoadingWindow(bool visible) override {
        Note(visible ? "Loading shown" : "Loading hidden");
    }
    void ShowMessage(const UserMessage& message) override {
        messages.push_back(message);
        std::string text;
        for (const auto& key : message.keys) {
            text += (text.empty() ? "" : "+") + key;
        }
        Note("Message " + text);
        if (message.on_cover) {
            // On the cover once the flow has ended, as the window shows its messages then.
            cover_note_due = message;
        }
    }
    bool Closing() const override { return closing; }
    bool ChooseSaveFile(std::filesystem::path& file) override {
        Note("ChooseSaveFile");
        file = next_file;
        return !next_file.empty();
    }
    bool ChooseLoadFile(std::filesystem::path& file) override {
        Note("ChooseLoadFile");
        file = next_file;
        return !next_file.empty();
    }

    // The window's share after a flow, in the order the window takes it.
    void ActOn(const FlowOutcome& outcome) {
        if (outcome.no_device_state) {
            Note("NoDeviceState");
            no_device_page = true;
            cover_note.reset();
        }
        if (outcome.shown) {
            Note("ShowPageValues");
            shown = outcome.shown->config;
            shown_names = *outcome.shown;
            macros = outcome.shown->macros;
        }
        if (outcome.config) {
            Note("ShowWrittenConfig");
            shown = *outcome.config;
            page_values.reset();
        }
        if (outcome.macros) {
            Note("KeepMacros");
            macros = *outcome.macros;
        }
        if (outcome.device_codes) {
            Note("Codes " + std::to_string(outcome.device_codes->vendor) + " " +
                 std::to_string(outcome.device_codes->product));
        }
        if (outcome.show_first_page) {
            Note("ShowFirstPage");
            no_device_page = false;
        }
        if (outcome.result_picture) {
            Note("Result shown");
        }
        if (outcome.close_window) {
            Note("CloseMainWindow");
        }
        device_open = outcome.device_open;
        read_complete = outcome.read_complete;
        if (cover_note_due && pages_covered) {  // only covered pages take a note
            cover_note = std::move(cover_note_due);
        }
        cover_note_due.reset();
    }
    // The window's share before Apply and Confirm: what the pages hold, over what they show.
    MouseConfig Pages() {
        shown = page_values.value_or(shown);
        return shown;
    }

    bool Saw(const std::string& line) const {
        for (const auto& l : log) {
            if (l == line) {
                return true;
            }
        }
        return false;
    }
    void Note(std::string line) { log.push_back(std::move(line)); }

    std::filesystem::path next_file;
    // What the pages hold at the next Apply; as shown when empty.
    std::optional<MouseConfig> page_values;
    // What the pages show, and with which slot names.
    MouseConfig shown;
    ShownConfig shown_names;
    // The window's copy of the macro slots, handed to Apply.
    DeviceMacros macros;
    std::vector<std::string> log;
    std::vector<UserMessage> messages;
    // What the cover says over the pages, as the window shows it (until the pages are
    // uncovered or the no-device state is shown), and what it is to say once the flow ends.
    std::optional<UserMessage> cover_note;
    std::optional<UserMessage> cover_note_due;
    // The window is closing.
    bool closing = false;
    bool dev_timer_first = true;
    bool dev_timer = false;
    bool pages_covered = true;
    bool no_device_page = true;
    bool device_open = false;
    bool read_complete = false;
};

}  // namespace velq::test
