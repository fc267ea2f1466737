#include "flows/ui/program_window.h"

namespace velq::ui {

ProgramWindow::ProgramWindow() : window_(DefaultServices(pictures_, pictures_, messages_, files_)) {
    messages_.SetParent(&window_);
    files_.SetParent(&window_);
}

ShellResult ProgramWindow::Start() {
    ShellResult started = window_.Start();
    if (!started) {
        return started;
    }
    window_.show();
    // Created hidden: the device flows show it over the window while they talk to the mouse.
    loading_ = std::make_unique<LoadingWindow>(pictures_.WaitAnimation());
    loading_->CentreOver(window_, 40);
    loading_->StartAnimation();
    return started;
}

DeviceControllerParts ProgramWindow::ControllerParts(HidBackend& backend) {
    DeviceControllerParts parts;
    parts.window = &window_;
    parts.loading = loading_.get();
    parts.messages = &messages_;
    parts.files = &files_;
    parts.backend = &backend;
    return parts;
}

}  // namespace velq::ui
