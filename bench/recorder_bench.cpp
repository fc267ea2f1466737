// The macro recorder on an X server (run it under Xvfb, DISPLAY set): the time from the return
// of the XTest call that injects a button press or release to the moment the window thread
// appends its line to the event list (median and maximum over 200 events), and the process's CPU
// time over 10 s of a recording that gets no input. The window runs on the offscreen platform;
// the capture reads the X server of DISPLAY. Prints figures and asserts nothing.
#include <QAbstractItemModel>
#include <QApplication>
#include <QListWidget>
#include <QTemporaryDir>
#include <QTimer>

#include <time.h>

#include <algorithm>
#include <chrono>
#include <condition_variable>
#include <cstdio>
#include <cstdlib>
#include <mutex>
#include <thread>
#include <vector>

#include "flows/ui/standard_pages.h"
#include "macros/macro_library.h"
#include "macros/ui/macro_page.h"
#include "shell/ui/file_dialogs.h"
#include "shell/ui/main_window.h"
#include "shell/ui/message_presenter.h"
#include "shell/ui/skin_pictures.h"

// Xlib last: its macros (None, Bool, Status) would break the headers above.
#include <X11/Xlib.h>
#include <X11/extensions/XTest.h>

namespace {

using Clock = std::chrono::steady_clock;

constexpr int kEvents = 200;
// A recording takes 186 bytes, a button event one: four recordings of 50 events.
constexpr int kEventsPerRecording = 50;
constexpr int kIdleMs = 10000;

double ProcessCpuSeconds() {
    timespec t{};
    clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &t);
    return static_cast<double>(t.tv_sec) + static_cast<double>(t.tv_nsec) / 1e9;
}

// The window thread notes when a line arrives; the injecting thread waits for it.
struct Arrivals {
    std::mutex mutex;
    std::condition_variable arrived;
    int count = 0;
    Clock::time_point last;
};

}  // namespace

int main(int argc, char** argv) {
    if (std::getenv("DISPLAY") == nullptr) {
        std::fprintf(stderr, "recorder bench: needs an X server (DISPLAY), e.g. under xvfb-run\n");
        return 1;
    }
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QTemporaryDir data_home;
    qputenv("XDG_DATA_HOME", data_home.path().toUtf8());
    QApplication app(argc, argv);
    velq::ui::SkinPictures pictures;
    velq::ui::RecordingMessagePresenter messages;
    velq::ui::ScriptedFileDialogs files;
    velq::ui::MainWindow window{velq::ui::WithStandardPages(
        velq::ui::DefaultServices(pictures, pictures, messages, files))};
    if (!window.Start()) {
        std::fprintf(stderr, "recorder bench: the window did not start\n");
        return 1;
    }
    auto* page = window.PageOf<velq::ui::MacroPage>();
    velq::MacroLibrary* library = page->library();
    if (library == nullptr || !library->New(u"bench")) {
        std::fprintf(stderr, "recorder bench: no macro library\n");
        return 1;
    }
    // The page built first (it shows no macro then), then the macro shown.
    auto* list = qobject_cast<QListWidget*>(window.Control(QStringLiteral("LB_macro")));
    page->editor().Show(library, 0);
    page->LabelClicked(QStringLiteral("IB_NoDelay"));  // one line per event

    Arrivals arrivals;
    QObject::connect(list->model(), &QAbstractItemModel::rowsInserted, list, [&arrivals] {
        const Clock::time_point now = Clock::now();
        {
            const std::lock_guard lock(arrivals.mutex);
            ++arrivals.count;
            arrivals.last = now;
        }
        arrivals.arrived.notify_all();
    });

    // Latency: a thread injects one event at a time and waits for its line.
    std::vector<double> latencies_ms;
    Display* display = XOpenDisplay(nullptr);
    if (display == nullptr) {
        std::fprintf(stderr, "recorder bench: cannot open the display\n");
        return 1;
    }
    // The record button, clicked on the window thread: starts or stops a recording.
    const auto click_record = [page] {
        QMetaObject::invokeMethod(
            page, [page] { page->LabelClicked(QStringLiteral("Btn_Start")); },
            Qt::BlockingQueuedConnection);
    };
    std::thread injector([&] {
        bool press = true;
        for (int done = 0; done < kEvents; done += kEventsPerRecording) {
            click_record();
            for (int i = 0; i < kEventsPerRecording; ++i, press = !press) {
                int before = 0;
                {
                    const std::lock_guard lock(arrivals.mutex);
                    before = arrivals.count;
                }
                XTestFakeButtonEvent(display, 3, press ? True : False, CurrentTime);
                XFlush(display);
                const Clock::time_point sent = Clock::now();
                std::unique_lock lock(arrivals.mutex);
                arrivals.arrived.wait(lock, [&] { return arrivals.count > before; });
                latencies_ms.push_back(
                    std::chrono::duration<double, std::milli>(arrivals.last - sent).count());
            }
            click_record();
        }
        QMetaObject::invokeMethod(&app, &QCoreApplication::quit, Qt::QueuedConnection);
    });
    QApplication::exec();
    injector.join();
    for (const QString& message : messages.messages()) {
        std::fprintf(stderr, "recorder bench: the window said: %s\n", qPrintable(message));
    }
    XCloseDisplay(display);

    std::sort(latencies_ms.begin(), latencies_ms.end());
    const double median = latencies_ms[latencies_ms.size() / 2];
    std::printf(
        "recorder: XTest call -> line appended, %zu events: median %.2f ms, max %.2f ms "
        "(target: median < 5 ms, max < 20 ms)\n",
        latencies_ms.size(), median, latencies_ms.back());

    // Idle: a recording that gets no input.
    page->LabelClicked(QStringLiteral("Btn_Start"));
    const double cpu_before = ProcessCpuSeconds();
    const Clock::time_point wall_before = Clock::now();
    QTimer::singleShot(kIdleMs, &app, &QCoreApplication::quit);
    QApplication::exec();
    const double cpu = ProcessCpuSeconds() - cpu_before;
    const double wall = std::chrono::duration<double>(Clock::now() - wall_before).count();
    page->LabelClicked(QStringLiteral("Btn_Start"));
    std::printf(
        "recorder: idle recording, %.1f s: process CPU %.3f s = %.3f %% of a core "
        "(target: < 1 %%)\n",
        wall, cpu, 100.0 * cpu / wall);
    return 0;
}
