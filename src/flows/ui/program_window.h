#pragma once

#include <memory>

#include "flows/ui/device_controller.h"
#include "shell/ui/file_dialogs.h"
#include "shell/ui/loading_window.h"
#include "shell/ui/main_window.h"
#include "shell/ui/message_presenter.h"
#include "shell/ui/skin_pictures.h"

namespace velq::ui {

// The window as the programs build it: the skin, the message window and file dialogs over the
// main window, the main window started and shown, and the loading window created hidden over
// it with its animation running.
class ProgramWindow {
public:
    ProgramWindow();

    // The main window's start-up; on failure nothing is shown and the reason is returned.
    [[nodiscard]] ShellResult Start();

    // The parts a device controller on `backend` needs from this window.
    DeviceControllerParts ControllerParts(HidBackend& backend);

    MainWindow& Window() { return window_; }
    QtMessagePresenter& Messages() { return messages_; }

private:
    SkinPictures pictures_;
    QtMessagePresenter messages_;
    QtFileDialogs files_;
    MainWindow window_;
    std::unique_ptr<LoadingWindow> loading_;
};

}  // namespace velq::ui
