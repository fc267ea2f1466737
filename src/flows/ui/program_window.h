#pragma once

#include <functional>
#include <memory>

#include "device/hotplug_monitor.h"
#include "flows/ui/device_controller.h"
#include "settings/pointer_backend.h"
#include "shell/ui/file_dialogs.h"
#include "shell/ui/loading_window.h"
#include "shell/ui/main_window.h"
#include "shell/ui/message_presenter.h"
#include "shell/ui/skin_pictures.h"

namespace velq::ui {

// The window as the programs build it: the skin, the message window and file dialogs over the
// main window, the main window started and shown, and the loading window created hidden over
// it with its animation running. Both programs (the utility on hidraw and the demo on the
// virtual mouse) go through the same steps after the single-instance check, which comes before
// any window exists: StartOrSay, then Run.
class ProgramWindow {
public:
    // `tweak_org` changes the program settings after they are read (the demo's options).
    explicit ProgramWindow(std::function<void(OrgSettings&)> tweak_org = {});

    // The main window's start-up; on failure nothing is shown and the reason is returned.
    [[nodiscard]] ShellResult Start();
    // Start(), telling the user why when start-up stops on a faulty resource.
    [[nodiscard]] bool StartOrSay();

    // The device flows on `backend` (with a hot-plug monitor where the system has one), then
    // the event loop; `started` runs once the flows are set up. Returns the exit code.
    int Run(HidBackend& backend, std::unique_ptr<HotplugMonitor> hotplug = nullptr,
            const std::function<void(DeviceController&)>& started = {});

    // The parts a device controller on `backend` needs from this window.
    DeviceControllerParts ControllerParts(HidBackend& backend);

    MainWindow& Window() { return window_; }
    QtMessagePresenter& Messages() { return messages_; }

    // The whole of a program around its device backend: the application and its name, the
    // one-instance check (a second start ends at once, before any window exists, without a
    // word), the window started (or why not said), then `run`, which sets up the backend and
    // calls Run. Returns the exit code.
    static int Main(int argc, char** argv, const std::function<int(ProgramWindow&)>& run,
                    std::function<void(OrgSettings&)> tweak_org = {});

private:
    SkinPictures pictures_;
    QtMessagePresenter messages_;
    QtFileDialogs files_;
    MainWindow window_;
    std::unique_ptr<LoadingWindow> loading_;
    // Where this session keeps the PC's pointer settings, opened when the advanced page is
    // first built.
    std::unique_ptr<PointerBackend> pointer_backend_;
};

}  // namespace velq::ui
