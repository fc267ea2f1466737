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
double BareWindow(const std::function<void()>& painted = {}) {
    QElapsedTimer timer;
    timer.start();
    QWidget window;
    FirstPaint watcher;
    window.installEventFilter(&watcher);
    window.resize(1030, 662);
    window.show();
    WaitForPaint(watcher);
    const double ms = static_cast<double>(timer.nsecsElapsed()) / 1e6;
    if (painted) {
        painted();
    }
    return ms;
}

double MainWindowStart(double* switch_ms, const std::function<void()>& painted = {},
                       double* switch_all_pages_ms = nullptr) {
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
    if (painted) {
        painted();
    }
    const auto switches = [&window] {
        std::vector<double> times;
        for (int round = 0; round < 6; ++round) {
            QElapsedTimer one;
            one.start();
            static_cast<void>(window.SwitchLanguage(round % 2 == 0 ? 2 : 1));
            QApplication::processEvents();
            times.push_back(static_cast<double>(one.nsecsElapsed()) / 1e6);
        }
        return Median(times);
    };
    if (switch_ms != nullptr) {
        *switch_ms = switches();
    }
    if (switch_all_pages_ms != nullptr) {
        // Once the user has opened every page, a switch lays out all of them.
        for (const char* picture : {"Img_P2", "Img_P3", "Img_P4", "Img_P5"}) {
            static_cast<void>(window.Control(QString::fromLatin1(picture)));
        }
        *switch_all_pages_ms = switches();
    }
    return start_ms;
}

// Runs this program again as "bare" or "main": process start, application set-up, window, first
// frame (the child says so on its output), then its end. Milliseconds of wall time to the first
// frame and to the end; -1 when the child failed.
struct ChildTimes {
    double first_frame = -1;
    double ended = -1;
};

ChildTimes ChildRun(const char* self, const char* mode) {
    QProcess child;
    QElapsedTimer timer;
    timer.start();
    child.start(QString::fromLocal8Bit(self), {QString::fromUtf8(mode)});
    ChildTimes times;
    if (child.waitForReadyRead(30000) && child.readAll().contains("painted")) {
        times.first_frame = static_cast<double>(timer.nsecsElapsed()) / 1e6;
    }
    if (!child.waitForFinished(30000) || child.exitCode() != 0) {
        return {};
    }
    times.ended = static_cast<double>(timer.nsecsElapsed()) / 1e6;
    return times;
}

void SayPainted() {
    std::fputs("painted\n", stdout);
    std::fflush(stdout);
}

int RunChild(int argc, char** argv, const char* mode) {
    QApplication app(argc, argv);
    if (std::strcmp(mode, "bare") == 0) {
        BareWindow(SayPainted);
        return 0;
    }
    return MainWindowStart(nullptr, SayPainted) >= 0 ? 0 : 1;
}

}  // namespace

int main(int argc, char** argv) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    if (argc == 2) {
        return RunChild(argc, argv, argv[1]);
    }
    // Whole processes vary most from run to run: more of them, taken in turns.
    constexpr int kProcessRounds = 41;
    constexpr int kRounds = 5;
    std::vector<double> bare_frame;
    std::vector<double> main_frame;
    std::vector<double> bare_end;
    std::vector<double> main_end;
    std::vector<double> paired;  // main / bare of each round, the two started back to back
    ChildRun(argv[0], "bare");   // page cache and font cache warm-up
    ChildRun(argv[0], "main");
    for (int round = 0; round < kProcessRounds; ++round) {
        const ChildTimes bare = ChildRun(argv[0], "bare");
        const ChildTimes main_window = ChildRun(argv[0], "main");
        bare_frame.push_back(bare.first_frame);
        bare_end.push_back(bare.ended);
        main_frame.push_back(main_window.first_frame);
        main_end.push_back(main_window.ended);
        paired.push_back(main_window.first_frame / bare.first_frame);
    }

    QApplication app(argc, argv);
    // One of each first, so fonts and platform plugins are loaded before anything is timed.
    BareWindow();
    MainWindowStart(nullptr);
    std::vector<double> bare;
    std::vector<double> main_window;
    std::vector<double> switches;
    std::vector<double> switches_all_pages;
    for (int round = 0; round < kRounds; ++round) {
        bare.push_back(BareWindow());
        double switch_ms = 0;
        double switch_all_ms = 0;
        main_window.push_back(MainWindowStart(&switch_ms, {}, &switch_all_ms));
        switches.push_back(switch_ms);
        switches_all_pages.push_back(switch_all_ms);
    }
    std::printf("program start to first frame, whole process (median of %d):\n", kProcessRounds);
    std::printf("  bare QWidget window:        %8.2f ms\n", Median(bare_frame));
    std::printf("  main window:                %8.2f ms\n", Median(main_frame));
    std::printf("  main / bare:                %8.2f (target 1.5 or less)\n",
                Median(main_frame) / Median(bare_frame));
    std::printf("  main / bare, round by round: %8.2f (median of the rounds' ratios)\n",
                Median(paired));
    std::printf("program start to its end after the first frame (median of %d):\n", kProcessRounds);
    std::printf("  bare QWidget window:        %8.2f ms\n", Median(bare_end));
    std::printf("  main window:                %8.2f ms\n", Median(main_end));
    std::printf("window only, application already running (median of %d):\n", kRounds);
    std::printf("  bare QWidget window:        %8.2f ms\n", Median(bare));
    std::printf("  main window:                %8.2f ms\n", Median(main_window));
    std::printf("language switch, first page built: %8.2f ms (median; target under 50 ms)\n",
                Median(switches));
    std::printf("language switch, every page built: %8.2f ms (median; target under 50 ms)\n",
                Median(switches_all_pages));
    return 0;
}
