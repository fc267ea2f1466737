#include "flows/ui/program_window.h"

#include "flows/ui/standard_pages.h"

#include <QApplication>

#include "config/ui/engineering_page.h"
#include "macros/ui/macro_page.h"
#include "settings/pointer_backend_choice.h"
#include "settings/ui/advanced_page.h"
#include "shell/ui/single_instance.h"

namespace velq::ui {

namespace {

WindowServices ProgramServices(WindowServices services,
                               std::function<void(OrgSettings&)> tweak_org) {
    if (tweak_org) {
        services.org = [read = std::move(services.org), tweak = std::move(tweak_org)] {
            LayoutResult<OrgSettings> org = read();
            if (org.value) {
                tweak(*org.value);
            }
            return org;
        };
    }
    return WithStandardPages(std::move(services));
}

}  // namespace

ProgramWindow::ProgramWindow(std::function<void(OrgSettings&)> tweak_org)
    : window_(ProgramServices(DefaultServices(pictures_, pictures_, messages_, files_),
                              std::move(tweak_org))) {
    messages_.SetParent(&window_);
    files_.SetParent(&window_);
    if (auto* advanced = window_.PageOf<AdvancedPage>()) {
        advanced->SetPointerBackendSource([this] {
            pointer_backend_ = OpenPointerBackend();
            return pointer_backend_.get();
        });
    }
}

ShellResult ProgramWindow::Start() {
    ShellResult started = window_.Start();
    if (!started) {
        return started;
    }
    // The macro library (loaded or created) and the gun key list before the window shows.
    if (auto* macros = window_.PageOf<MacroPage>()) {
        macros->LoadLibrary();
    }
    if (auto* factory = window_.PageOf<EngineeringPage>()) {
        factory->gun_keys().Load();
    }
    window_.show();
    // Created hidden: the device flows show it over the window while they talk to the mouse.
    loading_ = std::make_unique<LoadingWindow>(pictures_.WaitAnimation());
    loading_->CentreOver(window_, 40);
    loading_->StartAnimation();
    return started;
}

bool ProgramWindow::StartOrSay() {
    const ShellResult started = Start();
    if (!started) {
        QtMessagePresenter(nullptr).Show(started.error);
    }
    return static_cast<bool>(started);
}

int ProgramWindow::Run(HidBackend& backend, std::unique_ptr<HotplugMonitor> hotplug,
                       const std::function<void(DeviceController&)>& started) {
    DeviceControllerParts parts = ControllerParts(backend);
    parts.hotplug = std::move(hotplug);
    DeviceController controller(std::move(parts));
    QString error;
    if (!controller.Start(error)) {
        messages_.Show(error);
        return 1;
    }
    if (started) {
        started(controller);
    }
    return QApplication::exec();
}

int ProgramWindow::Main(int argc, char** argv, const std::function<int(ProgramWindow&)>& run,
                        std::function<void(OrgSettings&)> tweak_org) {
    QApplication app(argc, argv);
    // The per-user folders (the macro library, the demo's mouse memory) are named after it.
    QApplication::setApplicationName(QStringLiteral("velq540b"));
    QApplication::setApplicationDisplayName(QString());
    SingleInstanceGuard guard(SingleInstanceGuard::DefaultLockPath());
    if (!guard.TryAcquire()) {
        return 0;
    }
    ProgramWindow program(std::move(tweak_org));
    if (!program.StartOrSay()) {
        return 1;
    }
    return run(program);
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
