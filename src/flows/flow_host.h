#pragma once

#include <filesystem>
#include <string>
#include <vector>

#include "buttons/function_name.h"
#include "config/mouse_config.h"

namespace velq {

// Messages the flows show, by caption key.
inline constexpr const char* kReadFailedMessage = "Str900";
inline constexpr const char* kNoAccessMessage = "Str901";
inline constexpr const char* kFileRepairedMessage = "Str902";
inline constexpr const char* kNotAnsweringMessage = "Str903";
inline constexpr const char* kWriteNotPermittedMessage = "Str904";
inline constexpr const char* kUnknownChipMessage = "Str905";

// A message for the user: caption keys, shown as their texts joined by `separator`, either in
// the program's message window or in the system's plain message box.
struct UserMessage {
    enum class Box { kMessageWindow, kSystemBox };
    std::vector<std::string> keys;
    std::string separator;
    Box box = Box::kMessageWindow;
    // Shown after the captions, on a line of its own: a file name and what went wrong with it.
    std::string detail;

    bool operator==(const UserMessage&) const = default;

    static UserMessage Window(std::vector<std::string> keys, std::string separator = {}) {
        UserMessage message;
        message.keys = std::move(keys);
        message.separator = std::move(separator);
        return message;
    }
    static UserMessage System(std::string key) {
        UserMessage message;
        message.keys = {std::move(key)};
        message.box = Box::kSystemBox;
        return message;
    }
};

// What the device flows ask of the window. The window implements it; tests record the calls.
class FlowHost {
public:
    virtual ~FlowHost() = default;

    // The two device timers (`DevTimerFirst` 20 ms, `DevTimer` 3000 ms).
    virtual void SetDevTimerFirstEnabled(bool enabled) = 0;
    virtual void SetDevTimerEnabled(bool enabled) = 0;

    // Lets pending window events run (during waits and between chunks).
    virtual void ProcessPendingEvents() = 0;
    // Shows a message and returns when the user has dismissed it.
    virtual void ShowMessage(const UserMessage& message) = 0;

    virtual void HideAllMenus() = 0;
    // The four transparent labels that swallow input over the pages.
    virtual void CoverPages(bool covered) = 0;

    // The vendor and product code bytes read at identification, shown on the engineering page.
    virtual void ShowDeviceCodes(int vendor_code, int product_code) = 0;

    // `RefreshErrorAP`: the built-in defaults on every page, the first page with the navigation
    // pictures in their initial state, `NoDevicePage` set.
    virtual void RefreshErrorAP() = 0;
    // The page lists that only a connected mouse fills: the macro list, the gun key lists, the
    // remembered LED type name.
    virtual void ClearDeviceLists() = 0;
    virtual void SetNoDevicePage(bool no_device_page) = 0;

    // The read flow that follows a successful identification (parameters only or full); true
    // when the read completed and the pages show the mouse.
    virtual bool RunReadFlow(bool full) = 0;

    // --- what the read, Apply and reset flows ask of the window ---
    virtual void ShowLoadingWindow(bool shown) = 0;
    // Takes what the pages show into the configuration (`UIToDataBuf`'s source); settings no
    // page shows keep their values.
    virtual void CollectPageValues(MouseConfig& config) = 0;
    // Every page shows the configuration (`DataBufToUI`'s target).
    virtual void ShowPageValues(const MouseConfig& config) = 0;
    virtual void RefreshPcMacroNames() = 0;
    virtual void ReadPointerSettings() = 0;
    virtual void WritePointerSettings() = 0;
    // Page 1, and the office page when its profile button is selected.
    virtual void ShowFirstPage() = 0;
    // Where button names come from (captions, macro and gun names), in the current language.
    virtual NameSources Names() = 0;
    // The picture that shows a reset has finished (`Img_Result`).
    virtual void ShowResultPicture(bool shown) = 0;
    virtual void CloseMainWindow() = 0;
    // The profile file dialogs; false when the user cancelled.
    virtual bool ChooseSaveFile(std::filesystem::path& file) = 0;
    virtual bool ChooseLoadFile(std::filesystem::path& file) = 0;
};

}  // namespace velq
