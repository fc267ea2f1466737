// The utility on the virtual mouse: the same window and flows as velq540b, with the firmware
// simulation in place of a USB mouse. The mouse "plugs in" a moment after start, so the user
// sees it being found; its memory is kept in the user's data folder between runs.
#include <QApplication>
#include <QDir>
#include <QStandardPaths>
#include <QTimer>

#include <memory>

#include "device/virtual_backend.h"
#include "device/virtual_mouse.h"
#include "flows/ui/device_controller.h"
#include "image/built_in_images.h"
#include "shell/ui/file_dialogs.h"
#include "shell/ui/loading_window.h"
#include "shell/ui/main_window.h"
#include "shell/ui/message_presenter.h"
#include "shell/ui/single_instance.h"
#include "shell/ui/skin_pictures.h"

namespace {

constexpr int kPlugInDelayMs = 1500;

}  // namespace

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("velq540b"));
    QApplication::setApplicationDisplayName(QString());

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
        velq::ui::QtMessagePresenter(nullptr).Show(started.error);
        return 1;
    }
    window.show();
    velq::ui::LoadingWindow loading(pictures.WaitAnimation());
    loading.CentreOver(window, 40);
    loading.StartAnimation();

    // A new virtual mouse leaves the factory with the first default image.
    const velq::ImageTextResult factory =
        velq::LoadBuiltInImage(velq::BuiltInImage::VELQ55XData_Cfg1);
    if (!factory) {
        messages.Show(QString::fromStdString(factory.error));
        return 1;
    }
    velq::VirtualMouse::Memory memory{};
    std::copy_n(factory.bytes.begin(), memory.size(), memory.begin());
    auto mouse = std::make_shared<velq::VirtualMouse>(memory);
    const QString data_dir = QStandardPaths::writableLocation(QStandardPaths::AppDataLocation);
    QDir().mkpath(data_dir);
    std::string error;
    if (!mouse->AttachFile((data_dir + QStringLiteral("/virtual-mouse.bin")).toStdString(),
                           error)) {
        messages.Show(QString::fromStdString(error));  // runs on, without keeping its memory
    }
    mouse->SetPlugged(false);
    velq::VirtualBackend backend(mouse);

    velq::ui::DeviceControllerParts parts;
    parts.window = &window;
    parts.loading = &loading;
    parts.messages = &messages;
    parts.files = &files;
    parts.backend = &backend;
    velq::ui::DeviceController controller(std::move(parts));
    // Plugging and unplugging the virtual mouse notifies like the system's hot-plug events.
    mouse->SetPlugListener([&controller](bool) {
        QMetaObject::invokeMethod(
            &controller, [&controller] { controller.DeviceChanged(); }, Qt::QueuedConnection);
    });
    QString start_error;
    if (!controller.Start(start_error)) {
        messages.Show(start_error);
        return 1;
    }
    QTimer::singleShot(kPlugInDelayMs, &window, [mouse] { mouse->SetPlugged(true); });
    return QApplication::exec();
}
