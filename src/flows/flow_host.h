#pragma once

#include <array>
#include <cstdint>
#include <filesystem>
#include <optional>
#include <string>
#include <vector>

#include "config/mouse_config.h"
#include "fire/fire_block.h"
#include "fire/fire_defaults.h"
#include "fire/fire_tables.h"
#include "image/memory_map.h"
#include "macros/device_macros.h"

namespace velq {

// Messages the flows show, by caption key.
inline constexpr const char* kReadFailedMessage = "Str900";
inline constexpr const char* kNoAccessMessage = "Str901";
inline constexpr const char* kFileRepairedMessage = "Str902";
inline constexpr const char* kNotAnsweringMessage = "Str903";
inline constexpr const char* kWriteNotPermittedMessage = "Str904";
inline constexpr const char* kUnknownChipMessage = "Str905";
inline constexpr const char* kPartialWriteMessage = "Str906";
inline constexpr const char* kReadStoppedMessage = "Str907";
// The first line of the message that names the settings a read shows as defaults (one line
// each after it) because their sections failed their checks.
inline constexpr const char* kRepairedSettingsMessage = "Str908";

// A message for the user: caption keys, shown as their texts joined by `separator`, either in
// the program's message window or in the system's plain message box.
struct UserMessage {
    enum class Box { kMessageWindow, kSystemBox };
    std::vector<std::string> keys;
    std::string separator;
    Box box = Box::kMessageWindow;
    // Shown after the captions, on a line of its own: a file name and what went wrong with it.
    std::string detail;
    // The message is about what the covered pages show (a read that did not complete): the
    // same text stays on the page cover until the pages are uncovered.
    bool on_cover = false;

    bool operator==(const UserMessage&) const = default;

    static UserMessage Window(std::vector<std::string> keys, std::string separator = {}) {
        UserMessage message;
        message.keys = std::move(keys);
        message.separator = std::move(separator);
        return message;
    }
    static UserMessage OnCover(std::string key) {
        UserMessage message = Window({std::move(key)});
        message.on_cover = true;
        return message;
    }
    static UserMessage System(std::string key) {
        UserMessage message;
        message.keys = {std::move(key)};
        message.box = Box::kSystemBox;
        return message;
    }
};

// A (vendor code, product code) pair of the bytes at 0x36 and 0x37 of the mouse's memory.
struct DeviceCodes {
    uint8_t vendor = 0;
    uint8_t product = 0;
    bool operator==(const DeviceCodes&) const = default;
};

// What the fire page shows and edits: the fire area (its ten blocks edited in place) and the
// fire entry table (the page sets the play mode bytes), with whether the area is the open
// mouse's (`FireAreaRead`). It comes with everything the pages show and with the fire flows,
// and goes back to the device side with Apply and the fire page's confirm, which take it only
// while the device side's fire area is the mouse's.
struct ShownFire {
    FireArea area{};
    FireEntryTable entry{};
    bool read = false;
    bool operator==(const ShownFire&) const = default;
};

// What the pages show: the configuration, the copy of the macro slots whose names name the
// buttons that play a macro, and the fire area.
struct ShownConfig {
    MouseConfig config{};
    DeviceMacros macros{};
    ShownFire fire;
    bool operator==(const ShownConfig&) const = default;
};

// What a flow or a device pass leaves for the window to do once it has ended. The flows run
// away from the window, so whatever needs the pages comes back in here, and the window acts on
// it in the order of the fields.
struct FlowOutcome {
    // The no-device state was entered: the menus closed, the first page in its first state
    // with `NoDevicePage` set (the built-in defaults come in `shown`).
    bool no_device_state = false;
    // What every page shows now (a read, an image written, the defaults); kept when empty.
    std::optional<ShownConfig> shown;
    // After a write that completed: the configuration the mouse now holds, which the pages
    // show from now on (the flows' base for the next Apply is the same), so that an Apply with
    // nothing changed in between finds nothing to write.
    std::optional<MouseConfig> config;
    // The slot copies the window keeps from now on, the configuration the pages show staying
    // as it is: after Apply (the slots it wrote no longer marked) and the base macro import.
    std::optional<DeviceMacros> macros;
    // The fire area and entry table changed alone (a fire flow): the fire page shows them.
    std::optional<ShownFire> fire;
    // The factory page's fire buttons after a default set was loaded or the area was read.
    std::optional<FireButtonStates> fire_buttons;
    // The codes the identification read, for the factory page.
    std::optional<DeviceCodes> device_codes;
    // A read completed: page 1 (and the office page when its profile button is selected),
    // `NoDevicePage` cleared.
    bool show_first_page = false;
    // The picture that shows a reset has finished (`Img_Result`).
    bool result_picture = false;
    // Confirm wrote what the pages show: the window closes.
    bool close_window = false;
    // The device side after the flow, which the window's checks consult until the next one: a
    // mouse is open, and the pages show what it holds.
    bool device_open = false;
    bool read_complete = false;
};

// What the device flows ask of the window while they run on the device thread: the device
// timers, the page cover, the loading window and messages. The window carries them out on its
// own thread in the order they were asked; tests record them. The file dialogs are asked on
// the window thread before a flow's job begins (ChooseProfileFile).
class FlowHost {
public:
    virtual ~FlowHost() = default;

    // The two device timers (`DevTimerFirst` 20 ms, `DevTimer` 3000 ms).
    virtual void SetDevTimerFirstEnabled(bool enabled) = 0;
    virtual void SetDevTimerEnabled(bool enabled) = 0;
    // The four transparent labels that swallow input over the pages.
    virtual void CoverPages(bool covered) = 0;
    virtual void ShowLoadingWindow(bool shown) = 0;
    // A message for the user. The flow goes on; the window shows a job's messages one after
    // another once the job has ended and the window has acted on its outcome.
    virtual void ShowMessage(const UserMessage& message) = 0;
    // The window is closing: a read is given up, and what the pages show needs no word.
    virtual bool Closing() const = 0;
    // The profile file dialogs; false when the user cancelled.
    virtual bool ChooseSaveFile(std::filesystem::path& file) = 0;
    virtual bool ChooseLoadFile(std::filesystem::path& file) = 0;
};

}  // namespace velq
