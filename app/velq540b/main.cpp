// The configuration utility: one instance per user, the skinned main window, the loading window.
#include <QApplication>

#include "device/hidapi_backend.h"
#include "device/hotplug_monitor.h"
#include "flows/ui/device_controller.h"
#include "shell/ui/file_dialogs.h"
#include "shell/ui/loading_window.h"
#include "shell/ui/main_window.h"
#include "shell/ui/message_presenter.h"
#include "shell/ui/picture_source.h"
#include "shell/ui/single_instance.h"
#include "shell/ui/skin_pictures.h"

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    QApplication::setApplicationDisplayName(QString());

    // A second start while one runs ends at once, before any window exists, without a word.
    velq::ui::SingleInstanceGuard guard(velq::ui::SingleInstanceGuard::DefaultLockPath());
    if (!guard.TryAcquire()) {
        return 0;
    }

    const velq::ui::SkinPictures pictures;
    velq::ui::QtMessagePresenter messages;
    velq::ui::QtFileDialogs files;
    velq::ui::MainWindow window(velq::ui::DefaultServices(pictures, pictures, messages, files));
    messages.SetParent(&window);
    files.SetParent(&window);
    if (const velq::ui::ShellResult started = window.Start(); !started) {
        // Start-up stops on a faulty resource; say which before ending.
        velq::ui::QtMessagePresenter(nullptr).Show(started.error);
        return 1;
    }
    window.show();

    // Created hidden: the device flows show it over the window while they talk to the mouse.
    velq::ui::LoadingWindow loading(pictures.WaitAnimation());
    loading.CentreOver(window, 40);
    loading.StartAnimation();

    // The mouse through hidraw; udev tells at once when a HID interface comes or goes.
    velq::HidapiBackend backend;
    velq::ui::DeviceControllerParts parts;
    parts.window = &window;
    parts.loading = &loading;
    parts.messages = &messages;
    parts.files = &files;
    parts.backend = &backend;
    parts.hotplug = velq::MakeUdevHotplugMonitor();
    velq::ui::DeviceController controller(std::move(parts));
    QString error;
    if (!controller.Start(error)) {
        messages.Show(error);
        return 1;
    }
    return QApplication::exec();
}
