// The configuration utility: one instance per user, the skinned main window, the loading window
// and the device flows on the machine's HID interfaces.
#include <QApplication>

#include "device/hidapi_backend.h"
#include "device/hotplug_monitor.h"
#include "flows/ui/device_controller.h"
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
    if (const velq::ui::ShellResult started = program.Start(); !started) {
        // Start-up stops on a faulty resource; say which before ending.
        velq::ui::QtMessagePresenter(nullptr).Show(started.error);
        return 1;
    }

    // The mouse through hidraw; udev tells at once when a HID interface comes or goes.
    velq::HidapiBackend backend;
    velq::ui::DeviceControllerParts parts = program.ControllerParts(backend);
    parts.hotplug = velq::MakeUdevHotplugMonitor();
    velq::ui::DeviceController controller(std::move(parts));
    QString error;
    if (!controller.Start(error)) {
        program.Messages().Show(error);
        return 1;
    }
    return QApplication::exec();
}
