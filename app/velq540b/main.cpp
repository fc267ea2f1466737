// The configuration utility: one instance per user, the skinned main window, the loading window
// and the device flows on the machine's HID interfaces.
#include "device/hidapi_backend.h"
#include "device/hotplug_monitor.h"
#include "flows/ui/program_window.h"

int main(int argc, char** argv) {
    return velq::ui::ProgramWindow::Main(argc, argv, [](velq::ui::ProgramWindow& program) {
        // The mouse through hidraw; udev tells at once when a HID interface comes or goes.
        velq::HidapiBackend backend;
        return program.Run(backend, velq::MakeUdevHotplugMonitor());
    });
}
