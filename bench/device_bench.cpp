// Figures of the device cycle inside the real window (offscreen):
//   velq-bench-device idle [SECONDS]  CPU use while idle with no mouse, the device timer running
//                                     (target: under 0.5 % of one core)
//   velq-bench-device plug            time from plugging the virtual mouse to the pages showing
//                                     its configuration, beside the floor of the mandated waits
//                                     (target: within 1.1 x the floor + 100 ms)
#include <sys/resource.h>

#include <QApplication>
#include <QElapsedTimer>
#include <QTimer>

#include <cstdio>
#include <cstring>
#include <memory>

#include "device/hidapi_backend.h"
#include "device/hotplug_monitor.h"
#include "device/virtual_backend.h"
#include "device/virtual_mouse.h"
#include "flows/factory_mouse.h"
#include "flows/ui/device_controller.h"
#include "flows/ui/standard_pages.h"
#include "shell/ui/file_dialogs.h"
#include "shell/ui/loading_window.h"
#include "shell/ui/main_window.h"
#include "shell/ui/message_presenter.h"
#include "shell/ui/skin_pictures.h"

namespace {

double CpuSeconds() {
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    return static_cast<double>(usage.ru_utime.tv_sec + usage.ru_stime.tv_sec) +
           static_cast<double>(usage.ru_utime.tv_usec + usage.ru_stime.tv_usec) / 1e6;
}

// The window, the loading window and the presenters, as the program builds them.
struct Program {
    velq::ui::SkinPictures pictures;
    velq::ui::RecordingMessagePresenter messages;
    velq::ui::ScriptedFileDialogs files;
    velq::ui::MainWindow window{velq::ui::WithStandardPages(
        velq::ui::DefaultServices(pictures, pictures, messages, files))};
    std::unique_ptr<velq::ui::LoadingWindow> loading;

    bool Start() {
        if (!window.Start()) {
            return false;
        }
        window.show();
        loading = std::make_unique<velq::ui::LoadingWindow>(pictures.WaitAnimation());
        loading->StartAnimation();
        return true;
    }

    velq::ui::DeviceControllerParts Parts(velq::HidBackend& backend) {
        velq::ui::DeviceControllerParts parts;
        parts.window = &window;
        parts.loading = loading.get();
        parts.messages = &messages;
        parts.files = &files;
        parts.backend = &backend;
        return parts;
    }
};

int Idle(int seconds) {
    Program program;
    if (!program.Start()) {
        return 1;
    }
    velq::HidapiBackend backend;  // the machine's own HID interfaces, no mouse among them
    velq::ui::DeviceControllerParts parts = program.Parts(backend);
    parts.hotplug = velq::MakeUdevHotplugMonitor();
    velq::ui::DeviceController controller(std::move(parts));
    QString error;
    if (!controller.Start(error)) {
        std::fprintf(stderr, "%s\n", qPrintable(error));
        return 1;
    }
    // Let start-up settle, then measure.
    QTimer::singleShot(1000, [&] {
        const double cpu_start = CpuSeconds();
        QElapsedTimer wall;
        wall.start();
        QTimer::singleShot(seconds * 1000, [&, cpu_start, wall] {
            const double cpu = CpuSeconds() - cpu_start;
            const double elapsed = static_cast<double>(wall.elapsed()) / 1000.0;
            const double percent = 100.0 * cpu / elapsed;
            std::printf("idle with no mouse: %.3f s CPU in %.1f s = %.3f %% of one core  %s\n", cpu,
                        elapsed, percent,
                        percent < 0.5 ? "(target 0.5 % met)" : "(target 0.5 % MISSED)");
            QApplication::quit();
        });
    });
    return QApplication::exec();
}

int Plug() {
    Program program;
    if (!program.Start()) {
        return 1;
    }
    std::string error_text;
    const std::shared_ptr<velq::VirtualMouse> mouse = velq::MakeFactoryVirtualMouse(error_text);
    if (mouse == nullptr) {
        std::fprintf(stderr, "%s\n", error_text.c_str());
        return 1;
    }
    mouse->SetPlugged(false);
    velq::VirtualBackend backend(mouse);
    velq::ui::DeviceController controller(program.Parts(backend));
    mouse->SetPlugListener([&controller](bool) {
        QMetaObject::invokeMethod(
            &controller, [&controller] { controller.DeviceChanged(); }, Qt::QueuedConnection);
    });
    QString error;
    if (!controller.Start(error)) {
        return 1;
    }
    // Floor: the settle wait (3 x 10 ms), Open, Status, the two code bytes (10 + 5), the
    // parameter read (10 + 43 x 5), the six 32-byte slot names that name the macro buttons
    // (6 x (10 + 6 x 5)), Reload and Close.
    const double floor_ms = 30 + 10 + 10 + 15 + (10 + 43 * 5) + 6 * (10 + 6 * 5) + 10 + 10;
    QElapsedTimer since_plug;
    QObject::connect(&controller, &velq::ui::DeviceController::deviceStateChanged, [&] {
        if (since_plug.isValid() && !program.window.no_device_page()) {
            const double ms = static_cast<double>(since_plug.nsecsElapsed()) / 1e6;
            const double target = 1.1 * floor_ms + 100;
            std::printf("plug to pages: %.1f ms  floor %.1f ms  target %.1f ms  %s\n", ms, floor_ms,
                        target, ms <= target ? "(met)" : "(MISSED)");
            QApplication::quit();
        }
    });
    QTimer::singleShot(500, [&] {
        since_plug.start();
        mouse->SetPlugged(true);
    });
    return QApplication::exec();
}

}  // namespace

int main(int argc, char** argv) {
    qputenv("QT_QPA_PLATFORM",
            qgetenv("QT_QPA_PLATFORM").isEmpty() ? "offscreen" : qgetenv("QT_QPA_PLATFORM"));
    QApplication app(argc, argv);
    if (argc >= 2 && std::strcmp(argv[1], "idle") == 0) {
        return Idle(argc >= 3 ? std::atoi(argv[2]) : 30);
    }
    if (argc >= 2 && std::strcmp(argv[1], "plug") == 0) {
        return Plug();
    }
    std::fprintf(stderr, "usage: velq-bench-device idle [SECONDS] | plug\n");
    return 2;
}
