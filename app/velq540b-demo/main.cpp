// The utility on the virtual mouse: the same window and flows as velq540b, with the firmware
// simulation in place of a USB mouse. The mouse "plugs in" a moment after start, so the user
// sees it being found; its memory is kept in the user's data folder between runs.
#include <QApplication>
#include <QKeyEvent>
#include <QTimer>

#include <cstdio>
#include <cstring>
#include <filesystem>
#include <optional>
#include <system_error>

#include "common/user_dirs.h"
#include "device/virtual_backend.h"
#include "flows/button_test.h"
#include "flows/factory_mouse.h"
#include "flows/ui/device_controller.h"
#include "flows/ui/program_window.h"

namespace {

constexpr int kPlugInDelayMs = 1500;
constexpr const char kMemoryFileName[] = "virtual-mouse.bin";

// The demo's own option: "--gun-display" turns on the gun display (`GD_Enable`), which the
// shipped settings leave off, so that the gaming profile's function menu offers the fire
// macro page. The utility itself has no such option.
constexpr const char kGunDisplayOption[] = "--gun-display";

bool HasOption(int argc, char** argv, const char* option) {
    for (int i = 1; i < argc; ++i) {
        if (std::strcmp(argv[i], option) == 0) {
            return true;
        }
    }
    return false;
}

// The demo's stand-in for the mouse's own buttons, for the factory page's button test: while a
// window of the demo has the keyboard, keys 1 to 9 hold the buttons that the test shows as
// the office column's buttons 1 to 9, and 0 holds a button the test does not show (button 7,
// bit 0x0040). Letting go of the key lets go of the button; leaving the demo lets go of all.
class MouseButtonKeys final : public QObject {
public:
    explicit MouseButtonKeys(std::shared_ptr<velq::VirtualMouse> mouse)
        : mouse_(std::move(mouse)) {}

protected:
    bool eventFilter(QObject* watched, QEvent* event) override {
        const QEvent::Type type = event->type();
        if (type == QEvent::ApplicationDeactivate) {
            Hold(0);
        } else if (type == QEvent::KeyPress || type == QEvent::KeyRelease) {
            const auto* key = static_cast<const QKeyEvent*>(event);
            const uint16_t mask = MaskOf(key->key());
            if (mask != 0 && !key->isAutoRepeat()) {
                // A key event travels up the widgets: setting and clearing bits is the same
                // however often it is seen.
                Hold(type == QEvent::KeyPress ? held_ | mask : held_ & ~mask);
            }
        }
        return QObject::eventFilter(watched, event);
    }

private:
    static uint16_t MaskOf(int key) {
        if (key == Qt::Key_0) {
            return 0x0040;
        }
        if (key >= Qt::Key_1 && key <= Qt::Key_9) {
            return velq::kTestedButtons[static_cast<size_t>(key - Qt::Key_1)].mask;
        }
        return 0;
    }
    void Hold(uint16_t mask) {
        if (mask != held_) {
            held_ = mask;
            mouse_->SetButtonsHeld(held_);
        }
    }

    std::shared_ptr<velq::VirtualMouse> mouse_;
    uint16_t held_ = 0;
};

}  // namespace

int main(int argc, char** argv) {
    std::function<void(velq::OrgSettings&)> tweak_org;
    if (HasOption(argc, argv, kGunDisplayOption)) {
        tweak_org = [](velq::OrgSettings& org) { org.gun_display = org.eeprom_mode; };
    }
    return velq::ui::ProgramWindow::Main(
        argc, argv,
        [](velq::ui::ProgramWindow& program) {
            std::string error;
            const std::shared_ptr<velq::VirtualMouse> mouse = velq::MakeFactoryVirtualMouse(error);
            if (mouse == nullptr) {
                program.Messages().Show(QString::fromStdString(error));
                return 1;
            }
            // The memory is kept with the user's data, beside the macro library; a folder that
            // cannot be made shows as the file that cannot be made.
            bool kept = false;
            if (const std::optional<std::filesystem::path> folder =
                    velq::ProgramFolder(velq::UserFolder::kData)) {
                std::error_code ignored;
                std::filesystem::create_directories(*folder, ignored);
                kept = mouse->AttachFile(*folder / kMemoryFileName, error);
            } else {
                error = std::string(kMemoryFileName) +
                        ": no folder for it: neither XDG_DATA_HOME nor HOME is an absolute path";
            }
            if (!kept) {
                // A file that is no memory of the virtual mouse is never overwritten. The demo
                // still runs, on the factory memory, but the user must know that nothing will be
                // kept.
                const QString text =
                    QStringLiteral(
                        "The virtual mouse cannot keep its memory:\n%1\n\nIt starts from the "
                        "factory memory, and its changes are lost when the demo ends. Move "
                        "the file away, or let the user write it, to let it keep its memory "
                        "again.")
                        .arg(QString::fromStdString(error));
                std::fprintf(stderr, "velq540b-demo: %s\n", text.toLocal8Bit().constData());
                program.Messages().Show(text);
            }
            mouse->SetPlugged(false);
            velq::VirtualBackend backend(mouse);
            MouseButtonKeys button_keys(mouse);
            qApp->installEventFilter(&button_keys);
            return program.Run(
                backend, nullptr, [&program, mouse](velq::ui::DeviceController& controller) {
                    // Plugging and unplugging the virtual mouse notifies like the
                    // system's hot-plug events.
                    mouse->SetPlugListener([&controller](bool) {
                        QMetaObject::invokeMethod(
                            &controller, [&controller] { controller.DeviceChanged(); },
                            Qt::QueuedConnection);
                    });
                    QTimer::singleShot(kPlugInDelayMs, &program.Window(),
                                       [mouse] { mouse->SetPlugged(true); });
                });
        },
        tweak_org);
}
