// Start-up of the main window to its first painted frame, beside a bare window in the same run,
// the time of a language switch, and the peak memory of the demo (the window on the virtual
// mouse, until its pages show the mouse) beside a bare window's. Runs on the offscreen platform
// and, when a display is there, on the X server (xcb). Prints figures and asserts nothing.
#include <CLI/CLI.hpp>
#include <QApplication>
#include <QElapsedTimer>
#include <QProcess>
#include <QProcessEnvironment>
#include <QTimer>
#include <QWidget>

#include <sys/resource.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <functional>
#include <string>
#include <vector>

#include "device/virtual_backend.h"
#include "flows/factory_mouse.h"
#include "flows/ui/device_controller.h"
#include "flows/ui/program_window.h"
#include "flows/ui/standard_pages.h"
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
    if (values.empty()) {
        return -1;
    }
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
    velq::ui::MainWindow window(velq::ui::WithStandardPages(
        velq::ui::DefaultServices(pictures, pictures, messages, files)));
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

long PeakKilobytes() {
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    return usage.ru_maxrss;
}

void Say(const char* line) {
    std::fputs(line, stdout);
    std::fputc('\n', stdout);
    std::fflush(stdout);
}

void SayPeak() {
    std::printf("peak %ld\n", PeakKilobytes());
    std::fflush(stdout);
}

// The demo as the user starts it, on the factory virtual mouse plugged in from the start,
// until its pages show the mouse.
int DemoUntilRead() {
    velq::ui::ProgramWindow program;
    if (!program.Start()) {
        return 1;
    }
    Say("painted");
    std::string error;
    const std::shared_ptr<velq::VirtualMouse> mouse = velq::MakeFactoryVirtualMouse(error);
    if (mouse == nullptr) {
        return 1;
    }
    velq::VirtualBackend backend(mouse);
    int code = 1;
    const int run = program.Run(backend, nullptr, [&code](velq::ui::DeviceController& controller) {
        QObject::connect(&controller, &velq::ui::DeviceController::deviceStateChanged, &controller,
                         [&controller, &code] {
                             if (controller.ReadComplete()) {
                                 code = 0;
                                 QApplication::quit();
                             }
                         });
        QTimer::singleShot(20000, &controller, [] { QApplication::quit(); });
    });
    SayPeak();
    return run == 0 ? code : run;
}

int RunChild(int argc, char** argv, const std::string& mode) {
    QApplication app(argc, argv);
    if (mode == "bare") {
        BareWindow([] { Say("painted"); });
        // As long as the demo's read takes, so that both count what a shown window settles at.
        QElapsedTimer settle;
        settle.start();
        while (settle.elapsed() < 300) {
            QApplication::processEvents(QEventLoop::AllEvents, 10);
        }
        SayPeak();
        return 0;
    }
    if (mode == "demo") {
        return DemoUntilRead();
    }
    const bool started = MainWindowStart(nullptr, [] { Say("painted"); }) >= 0;
    SayPeak();
    return started ? 0 : 1;
}

// Runs this program again as "bare", "main" or "demo" on `platform`: process start, application
// set-up, window, first frame (the child says so on its output), then its end. Milliseconds of
// wall time to the first frame and to the end, and the child's peak memory; -1 when it failed.
struct ChildFigures {
    double first_frame = -1;
    double ended = -1;
    double peak_mb = -1;
};

ChildFigures ChildRun(const char* self, const char* mode, const QString& platform) {
    QProcess child;
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert(QStringLiteral("QT_QPA_PLATFORM"), platform);
    child.setProcessEnvironment(environment);
    QElapsedTimer timer;
    timer.start();
    child.start(QString::fromLocal8Bit(self), {QStringLiteral("--child"), QString::fromUtf8(mode)});
    ChildFigures figures;
    QByteArray output;
    while (!output.contains("painted") && child.waitForReadyRead(30000)) {
        output += child.readAllStandardOutput();
    }
    if (output.contains("painted")) {
        figures.first_frame = static_cast<double>(timer.nsecsElapsed()) / 1e6;
    }
    if (!child.waitForFinished(30000) || child.exitCode() != 0) {
        return {};
    }
    figures.ended = static_cast<double>(timer.nsecsElapsed()) / 1e6;
    output += child.readAllStandardOutput();
    const qsizetype at = output.indexOf("peak ");
    if (at >= 0) {
        figures.peak_mb = output.mid(at + 5).trimmed().toDouble() / 1024.0;
    }
    return figures;
}

void ProcessFigures(const char* self, const QString& platform, int rounds) {
    std::vector<double> bare_frame;
    std::vector<double> main_frame;
    std::vector<double> paired;  // main / bare of each round, the two started back to back
    std::vector<double> bare_peak;
    std::vector<double> demo_peak;
    ChildRun(self, "bare", platform);  // page cache and font cache warm-up
    ChildRun(self, "main", platform);
    for (int round = 0; round < rounds; ++round) {
        const ChildFigures bare = ChildRun(self, "bare", platform);
        const ChildFigures main_window = ChildRun(self, "main", platform);
        if (bare.first_frame <= 0 || main_window.first_frame <= 0) {
            continue;
        }
        bare_frame.push_back(bare.first_frame);
        main_frame.push_back(main_window.first_frame);
        paired.push_back(main_window.first_frame / bare.first_frame);
        bare_peak.push_back(bare.peak_mb);
    }
    for (int round = 0; round < 5; ++round) {
        demo_peak.push_back(ChildRun(self, "demo", platform).peak_mb);
    }
    const QByteArray name = platform.toLatin1();
    std::printf("%s: program start to first frame, whole process (median of %zu):\n",
                name.constData(), bare_frame.size());
    std::printf("  bare QWidget window:        %8.2f ms\n", Median(bare_frame));
    std::printf("  main window:                %8.2f ms\n", Median(main_frame));
    std::printf("  main / bare:                %8.2f (target 2 or less)\n",
                Median(main_frame) / Median(bare_frame));
    std::printf("  main / bare, round by round: %8.2f (median of the rounds' ratios)\n",
                Median(paired));
    std::printf("%s: peak memory (median):\n", name.constData());
    std::printf("  bare QWidget window:        %8.1f MB\n", Median(bare_peak));
    std::printf("  demo until it shows the mouse: %6.1f MB\n", Median(demo_peak));
    std::printf("  demo / bare:                %8.2f (target 1.5 or less)\n",
                Median(demo_peak) / Median(bare_peak));
}

void InProcessFigures(int argc, char** argv, const QString& platform) {
    qputenv("QT_QPA_PLATFORM", platform.toLatin1());
    QApplication app(argc, argv);
    // One of each first, so fonts and platform plugins are loaded before anything is timed.
    BareWindow();
    MainWindowStart(nullptr);
    constexpr int kRounds = 5;
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
    const QByteArray name = platform.toLatin1();
    std::printf("%s: window only, application already running (median of %d):\n", name.constData(),
                kRounds);
    std::printf("  bare QWidget window:        %8.2f ms\n", Median(bare));
    std::printf("  main window:                %8.2f ms\n", Median(main_window));
    std::printf("%s: language switch, first page built: %8.2f ms (median; target under 50 ms)\n",
                name.constData(), Median(switches));
    std::printf("%s: language switch, every page built: %8.2f ms (median; target under 50 ms)\n",
                name.constData(), Median(switches_all_pages));
}

}  // namespace

int main(int argc, char** argv) {
    CLI::App cli{"Start-up, language switch and peak memory of the window beside a bare one"};
    std::string child;
    std::vector<std::string> platforms;
    int rounds = 41;
    cli.add_option("--child", child, "run one child: bare, main or demo")
        ->check(CLI::IsMember({"bare", "main", "demo"}));
    cli.add_option("--platform", platforms,
                   "offscreen and/or xcb (default: offscreen, and xcb when DISPLAY is set)")
        ->check(CLI::IsMember({"offscreen", "xcb"}));
    cli.add_option("--rounds", rounds, "whole-process rounds per platform")
        ->check(CLI::PositiveNumber);
    CLI11_PARSE(cli, argc, argv);
    if (!child.empty()) {
        return RunChild(argc, argv, child);
    }
    if (platforms.empty()) {
        platforms.emplace_back("offscreen");
        if (std::getenv("DISPLAY") != nullptr) {
            platforms.emplace_back("xcb");
        }
    }
    for (const std::string& platform : platforms) {
        ProcessFigures(argv[0], QString::fromStdString(platform), rounds);
    }
    // In one process the platform is fixed: the last one asked for.
    InProcessFigures(argc, argv, QString::fromStdString(platforms.back()));
    return 0;
}
