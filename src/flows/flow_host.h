#pragma once

#include <string>
#include <vector>

namespace velq {

// A message for the user: caption keys, shown as their texts joined by `separator`, either in
// the program's message window or in the system's plain message box.
struct UserMessage {
    enum class Box { MessageWindow, SystemBox };
    std::vector<std::string> keys;
    std::string separator;
    Box box = Box::MessageWindow;

    bool operator==(const UserMessage&) const = default;
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

    // The read flow that follows a successful identification (parameters only or full).
    virtual void RunReadFlow(bool full) = 0;
};

}  // namespace velq
