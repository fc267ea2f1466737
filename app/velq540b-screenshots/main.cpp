// Draws every page of the main window, the loading window, the message window and the editor
// dialogs in every language to PNG files ("office-lang1.png", ...), without a display.
#include <QAbstractButton>
#include <QApplication>
#include <QDialog>
#include <QDir>
#include <QLineEdit>
#include <QPixmap>
#include <QThread>

#include <cstdio>

#include "buttons/ui/key_combination_dialog.h"
#include "buttons/ui/key_dialog.h"
#include "buttons/ui/macro_name_dialog.h"
#include "buttons/ui/number_dialogs.h"
#include "device/virtual_backend.h"
#include "device/virtual_mouse.h"
#include "flows/factory_mouse.h"
#include "flows/ui/device_controller.h"
#include "flows/ui/program_window.h"
#include "shell/ui/file_dialogs.h"
#include "shell/ui/loading_window.h"
#include "shell/ui/main_window.h"
#include "shell/ui/message_presenter.h"
#include "shell/ui/skin_pictures.h"

namespace {

struct Shot {
    const char* name;
    std::optional<velq::ui::Page> page;  // none: the fire page, reached without a tab
};

constexpr std::array<Shot, 7> kShots{{
    {"office", velq::ui::Page::kOffice},
    {"gaming", velq::ui::Page::kGaming},
    {"advanced", velq::ui::Page::kAdvanced},
    {"light", velq::ui::Page::kLight},
    {"macro", velq::ui::Page::kMacro},
    {"fire", std::nullopt},
    {"engineering", velq::ui::Page::kEngineering},
}};

// The window as the desktop shows it: the pixels in the colour key are see-through.
QImage Shaped(const QPixmap& pixmap) {
    QImage image = pixmap.toImage().convertToFormat(QImage::Format_ARGB32);
    const QRgb key = qRgb(128, 0, 0);
    for (int y = 0; y < image.height(); ++y) {
        auto* row = reinterpret_cast<QRgb*>(image.scanLine(y));
        for (int x = 0; x < image.width(); ++x) {
            if (row[x] == key) {
                row[x] = 0;
            }
        }
    }
    return image;
}

bool Save(const QPixmap& pixmap, const QDir& dir, const QString& file) {
    const QString path = dir.filePath(file);
    if (!Shaped(pixmap).save(path, "PNG")) {
        std::fprintf(stderr, "cannot write %s\n", qPrintable(path));
        return false;
    }
    std::printf("%s\n", qPrintable(path));
    return true;
}

// Each editor dialog over the window, with something typed into it.
bool SaveDialogs(velq::ui::MainWindow& window, const QDir& dir, const QString& suffix) {
    using velq::ui::DialogOpening;
    struct DialogShot {
        const char* name;
        DialogOpening (*open)(velq::ui::MainWindow&);
        const char* typed;
        std::vector<const char*> ticked;  // modifier boxes
    };
    const DialogShot shots[] = {
        {"dialog-key-combination",
         [](velq::ui::MainWindow& w) { return velq::ui::OpenKeyCombinationDialog(w, {}); },
         "Ctrl+Alt+A",
         {"CB_Ctrl", "CB_Alt"}},
        {"dialog-macro-name",
         [](velq::ui::MainWindow& w) { return velq::ui::OpenMacroNameDialog(w, {}); },
         "Jump and shoot",
         {}},
        {"dialog-key",
         [](velq::ui::MainWindow& w) {
             return velq::ui::OpenKeyDialog(w, velq::EditKind::kPress, {});
         },
         "Left Windows",
         {}},
        {"dialog-delay",
         [](velq::ui::MainWindow& w) { return velq::ui::OpenDelayDialog(w, {}); },
         "2040",
         {}},
        {"dialog-value",
         [](velq::ui::MainWindow& w) { return velq::ui::OpenValueDialog(w, {}); },
         "-128",
         {}},
    };
    bool ok = true;
    for (const DialogShot& shot : shots) {
        const DialogOpening opened = shot.open(window);
        if (!opened) {
            std::fprintf(stderr, "%s: %s\n", shot.name, qPrintable(opened.error));
            ok = false;
            continue;
        }
        for (const char* box : shot.ticked) {
            if (auto* button = opened.dialog->findChild<QAbstractButton*>(box)) {
                button->click();
            }
        }
        opened.dialog->field()->setText(QString::fromUtf8(shot.typed));
        QApplication::processEvents();
        ok = Save(opened.dialog->grab(), dir, QString::fromUtf8(shot.name) + suffix) && ok;
        opened.dialog->close();
    }
    return ok;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: velq540b-screenshots DIR\n");
        return 2;
    }
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    const QDir dir(QString::fromLocal8Bit(argv[1]));
    if (!QDir().mkpath(dir.path())) {
        std::fprintf(stderr, "cannot create %s\n", argv[1]);
        return 1;
    }

    velq::ui::ProgramWindow program;
    if (const velq::ui::ShellResult started = program.Start(); !started) {
        std::fprintf(stderr, "start-up stopped: %s\n", qPrintable(started.error));
        return 1;
    }
    velq::ui::MainWindow& window = program.Window();

    // The pages as a user sees them once a mouse fresh from the factory has been read: the
    // virtual mouse with the first default image, in virtual time.
    std::string factory_error;
    const std::shared_ptr<velq::VirtualMouse> mouse = velq::MakeFactoryVirtualMouse(factory_error);
    if (mouse == nullptr) {
        std::fprintf(stderr, "%s\n", factory_error.c_str());
        return 1;
    }
    velq::VirtualBackend backend(mouse);
    velq::VirtualClock clock;
    velq::ui::DeviceControllerParts parts = program.ControllerParts(backend);
    parts.loading = nullptr;  // nothing to show over the pictures being taken
    parts.clock = &clock;
    velq::ui::DeviceController controller(std::move(parts));
    QString error;
    if (!controller.Start(error)) {
        std::fprintf(stderr, "%s\n", qPrintable(error));
        return 1;
    }
    for (int i = 0; i < 100 && window.no_device_page(); ++i) {
        QApplication::processEvents(QEventLoop::AllEvents, 10);
        QThread::msleep(5);
    }
    if (window.no_device_page()) {
        std::fprintf(stderr, "the virtual mouse was not read\n");
        return 1;
    }
    window.EngineerUnlock();

    bool ok = true;
    for (int language = 1; language <= 3; ++language) {
        if (const velq::ui::ShellResult switched = window.SwitchLanguage(language); !switched) {
            std::fprintf(stderr, "language %d: %s\n", language, qPrintable(switched.error));
            ok = false;
            continue;
        }
        const QString suffix = QStringLiteral("-lang%1.png").arg(language);
        for (const Shot& shot : kShots) {
            if (shot.page) {
                window.ClickTab(*shot.page);
            } else {
                window.ShowFirePage();
            }
            QApplication::processEvents();
            ok = Save(window.grab(), dir, QString::fromUtf8(shot.name) + suffix) && ok;
        }
        std::unique_ptr<QDialog> message = program.Messages().BuildDialog(
            QString::fromStdString(window.captions().Caption("Str100")));
        message->adjustSize();
        ok = Save(message->grab(), dir, QStringLiteral("message") + suffix) && ok;
        ok = SaveDialogs(window, dir, suffix) && ok;
    }
    const velq::ui::SkinPictures pictures;
    velq::ui::LoadingWindow loading(pictures.WaitAnimation());
    ok = Save(loading.grab(), dir, QStringLiteral("loading.png")) && ok;
    return ok ? 0 : 1;
}
