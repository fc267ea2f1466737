// Start-up of the main window to its first painted frame, beside a bare window in the same run,
// and the time of a language switch. Offscreen; prints figures and asserts nothing.
#include <QApplication>
#include <QElapsedTimer>
#include <QProcess>
#include <QWidget>

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <functional>
#include <vector>

#include "shell/ui/file_dialogs.h"
#include "shell/ui/main_window.h"
#include "shell/ui/message_presenter.h"
#include "shell/ui/skin_pictures.h"

namespace {

// Notes when the watched window is first painted.
class FirstPaint : public QObject {
public:
    bool painted = false;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override {
        if (event->type() == QEvent::Paint) {
            painted = true;
        }
        return QObject::eventFilter(watched, event);
    }
};

void WaitForPaint(const FirstPaint& watcher) {
    QElapsedTimer limit;
    limit.start();
    while (!watcher.painted && limit.elapsed() < 5000) {
        QApplication::processEvents(QEventLoop::AllEvents, 5);
    }
}

double Median(std::vector<double> values) {
    std::sort(values.begin(), values.end());
    return values[values.size() / 2];
}

// Milliseconds from construction to the first painted frame.
double BareWindow() {
    QElapsedTimer timer;
    timer.start();
    QWidget window;
    FirstPaint watcher;
    window.installEventFilter(&watcher);
    window.resize(1030, 662);
    window.show();
    WaitForPaint(watcher);
    return static_cast<double>(timer.nsecsElapsed()) / 1e6;
}

double MainWindowStart(double* switch_ms) {
    const velq::ui::SkinPictures pictures;
    velq::ui::RecordingMessagePresenter messages;
    velq::ui::ScriptedFileDialogs files;
    QElapsedTimer timer;
    timer.start();
    velq::ui::MainWindow window(velq::ui::DefaultServices(pictures, pictures, messages, files));
    FirstPaint watcher;
    window.installEventFilter(&watcher);
    if (const velq::ui::ShellResult started = window.Start(); !started) {
        std::fprintf(stderr, "start-up stopped: %s\n", qPrintable(started.error));
        return -1;
    }
    window.show();
    WaitForPaint(watcher);
    const double start_ms = static_cast<double>(timer.nsecsElapsed()) / 1e6;
    if (switch_ms != nullptr) {
        std::vector<double> switches;
        for (int round = 0; round < 6; ++round) {
            QElapsedTimer one;
            one.start();
            static_cast<void>(window.SwitchLanguage(round % 2 == 0 ? 2 : 1));
            QApplication::processEvents();
            switches.push_back(static_cast<double>(one.nsecsElapsed()) / 1e6);
        }
        *switch_ms = Median(switches);
    }
    return start_ms;
}

// Runs this program again as "bare" or "main": process start, application set-up, window, first
// frame, end. Milliseconds of wall time, -1 when the child failed.
double ChildRun(const char* self, const char* mode) {
    QProcess child;
    QElapsedTimer timer;
    timer.start();
    child.start(QString::fromLocal8Bit(self), {QString::fromUtf8(mode)});
    if (!child.waitForFinished(30000) || child.exitCode() != 0) {
        return -1;
    }
    return static_cast<double>(timer.nsecsElapsed()) / 1e6;
}

int RunChild(int argc, char** argv, const char* mode) {
    QApplication app(argc, argv);
    if (std::strcmp(mode, "bare") == 0) {
        BareWindow();
        return 0;
    }
    return MainWindowStart(nullptr) >= 0 ? 0 : 1;
}

}  // namespace

int main(int argc, char** argv) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    if (argc == 2) {
        return RunChild(argc, argv, argv[1]);
    }
    constexpr int kRounds = 5;
    std::vector<double> bare_process;
    std::vector<double> main_process;
    ChildRun(argv[0], "bare");  // page cache and font cache warm-up
    ChildRun(argv[0], "main");
    for (int round = 0; round < kRounds; ++round) {
        bare_process.push_back(ChildRun(argv[0], "bare"));
        main_process.push_back(ChildRun(argv[0], "main"));
    }

    QApplication app(argc, argv);
    // One of each first, so fonts and platform plugins are loaded before anything is timed.
    BareWindow();
    MainWindowStart(nullptr);
    std::vector<double> bare;
    std::vector<double> main_window;
    std::vector<double> switches;
    for (int round = 0; round < kRounds; ++round) {
        bare.push_back(BareWindow());
        double switch_ms = 0;
        main_window.push_back(MainWindowStart(&switch_ms));
        switches.push_back(switch_ms);
    }
    const double bare_start = Median(bare_process);
    const double main_start = Median(main_process);
    std::printf("program start to first frame, whole process (median of %d):\n", kRounds);
    std::printf("  bare QWidget window:        %8.2f ms\n", bare_start);
    std::printf("  main window:                %8.2f ms\n", main_start);
    std::printf("  main / bare:                %8.2f (target 1.5 or less)\n",
                main_start / bare_start);
    std::printf("window only, application already running (median of %d):\n", kRounds);
    std::printf("  bare QWidget window:        %8.2f ms\n", Median(bare));
    std::printf("  main window:                %8.2f ms\n", Median(main_window));
    std::printf("language switch:              %8.2f ms (median; target under 50 ms)\n",
                Median(switches));
    return 0;
}
