// The configuration utility: one instance per user, the skinned main window, the loading window
// and the device flows on the machine's HID interfaces.
#include <QApplication>

#include "device/hidapi_backend.h"
#include "device/hotplug_monitor.h"
#include "flows/ui/program_window.h"
#include "shell/ui/single_instance.h"

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    QApplication::setApplicationDisplayName(QString());

    // A second start while one runs ends at once, before any window exists, without a word.
    velq::ui::SingleInstanceGuard guard(velq::ui::SingleInstanceGuard::DefaultLockPath());
    if (!guard.TryAcquire()) {
        return 0;
    }
    velq::ui::ProgramWindow program;
    if (!program.StartOrSay()) {
        return 1;
    }
    // The mouse through hidraw; udev tells at once when a HID interface comes or goes.
    velq::HidapiBackend backend;
    return program.Run(backend, velq::MakeUdevHotplugMonitor());
}
