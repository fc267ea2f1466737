#pragma once

#include <QObject>
#include <QString>

#include <atomic>
#include <deque>
#include <functional>
#include <memory>
#include <mutex>
#include <thread>
#include <vector>

#include "buttons/function_name.h"
#include "device/clock.h"
#include "device/command_protocol.h"
#include "device/device_link.h"
#include "device/hid_backend.h"
#include "device/hotplug_monitor.h"
#include "flows/button_test.h"
#include "flows/device_cycle.h"
#include "flows/device_thread.h"
#include "flows/eeprom_flows.h"
#include "flows/fire_flows.h"
#include "flows/flow_host.h"
#include "flows/flow_state.h"

class QSocketNotifier;
class QTimer;

namespace velq::ui {

class FileDialogs;
class LoadingWindow;
class MainWindow;
class MessagePresenter;

// What the device flows run on inside the program.
struct DeviceControllerParts {
    MainWindow* window = nullptr;
    LoadingWindow* loading = nullptr;
    MessagePresenter* messages = nullptr;
    FileDialogs* files = nullptr;
    HidBackend* backend = nullptr;
    Clock* clock = nullptr;  // the system clock when null
    // Optional: runs a device pass as soon as an interface comes or goes.
    std::unique_ptr<HotplugMonitor> hotplug;
};

// Runs the device flows on the device thread and the window's share of them on the window
// thread. The window thread owns the timers, the frame buttons and everything on the pages; it
// gathers what a flow needs from the window (the page values, a file name) and posts the flow
// as a job. The device thread owns the device link, the protocol and the flows' state; what a
// job asks of the window (timers, cover, loading window) comes back as queued window actions,
// and at its end its FlowOutcome and its messages, which the window thread acts on. One job at
// a time: while one runs (or its outcome waits), frame buttons are ignored and hot-plug passes
// wait.
class DeviceController final : public QObject,
                               public FlowHost,
                               public TransferUi,
                               public ButtonTestUi {
    Q_OBJECT

public:
    explicit DeviceController(DeviceControllerParts parts, QObject* parent = nullptr);
    // Lets a running flow end (a write is finished, a read given up at its next chunk), then
    // joins the device thread.
    ~DeviceController() override;

    // The start-up share of the device flows: the default images, the expected device codes,
    // the no-device state, then the first device check 20 ms later. False with a reason when a
    // built-in image cannot be loaded.
    [[nodiscard]] bool Start(QString& error);

    // An interface came or went: a device pass runs at once unless a job runs, in which case
    // it runs as soon as the job has ended and the device timer is back.
    void DeviceChanged();

    // A job (a device pass or a flow) runs, or the window has not acted on its end yet.
    bool Busy() const { return busy_; }
    // As the last job ended: the pages show what the open mouse holds.
    bool ReadComplete() const { return read_complete_; }
    bool DevTimerActive() const;
    bool DevTimerFirstActive() const;
    // A macro recording started or ended: the device timer stops while it runs, and a flow
    // that ends meanwhile leaves it for the recording's end to start again.
    void SetRecording(bool recording);
    // A library macro changed (see `MacroPage::macroStored`): the slot copies holding it follow.
    void FollowMacro(const QByteArray& name, const QByteArray& record);

    // FlowHost: asked on the device thread, carried out on the window thread in order.
    void SetDevTimerFirstEnabled(bool enabled) override;
    void SetDevTimerEnabled(bool enabled) override;
    void CoverPages(bool covered) override;
    void ShowLoadingWindow(bool shown) override;
    // On the device thread: shown once the job has ended; on the window thread: at once. A
    // message about the covered pages also stays on the cover until they are uncovered.
    void ShowMessage(const UserMessage& message) override;
    bool Closing() const override { return closing_.load(); }
    // Asked on the window thread before a job.
    bool ChooseSaveFile(std::filesystem::path& file) override;
    bool ChooseLoadFile(std::filesystem::path& file) override;

    // TransferUi, asked on the device thread between chunks: the loading window, and whether
    // the user cancelled (every transfer) or is closing the window (reads only: a write runs
    // to its end, since a parameter area half written is worse than a short wait).
    void ShowLoadingWindow() override;
    bool StopRequested(TransferDirection direction) override;

    // ButtonTestUi, asked on the device thread while the factory button test runs: shown on
    // the factory page by the window thread; the test ends when the window closes.
    void ShowTestCountdown(std::optional<int> seconds) override;
    void ShowTestedKey(int key, bool shown) override;
    bool TestEndRequested() override;

signals:
    // After every device pass and flow, once the window has acted on its end.
    void deviceStateChanged();

protected:
    // Closing the window while a job runs waits for its end.
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void OnFrameButton(const QString& name);
    // The factory button test as one job, from Open to Close, with the device timer off.
    void StartButtonTest();
    void OnDevTimerFirst();
    void OnDevTimer();
    void RunPass();
    // Posts `job` to the device thread; its outcome and messages come back to JobEnded.
    void RunJob(std::function<FlowOutcome()> job);
    void JobEnded(const FlowOutcome& outcome, const std::vector<UserMessage>& messages);
    void ActOn(const FlowOutcome& outcome);
    void SayNow(const UserMessage& message);
    // A message's text in the current language.
    QString TextOf(const UserMessage& message) const;

    // The window actions the device thread asks for, carried out on the window thread in the
    // order they were asked.
    void PostToWindow(std::function<void()> action);
    Q_INVOKABLE void TakeWindowActions();

    void ShowFirstPage();
    NameSources Names();
    // The fire page's copy of the fire area and entry table, to go back with a write.
    std::optional<ShownFire> FireEdits() const;
    void ShowFire(const ShownFire& fire);
    void SetFireButtons(const FireButtonStates& states);

    // Names of macro buttons from the slots the pages show; gun names from the predefined
    // guns until the gun key list is loaded.
    class SlotNames final : public MacroNameLookup {
    public:
        explicit SlotNames(const ShownConfig& shown) : shown_(shown) {}
        std::string SlotMacroName(int slot) const override;
        std::optional<std::string> DriverMacroName(std::size_t) const override { return {}; }

    private:
        const ShownConfig& shown_;
    };
    class PredefinedGuns final : public GunNameLookup {
    public:
        bool GunKeyFileFound() const override { return false; }
        std::vector<std::string> GunKeyTexts() const override { return {}; }
    };

    DeviceControllerParts parts_;

    // --- the device side: touched only by jobs on the device thread once Start has run ---
    Clock& clock_;
    DeviceLink link_;
    CommandProtocol protocol_;
    FlowState state_;
    DeviceCycle cycle_;
    EepromFlows flows_;
    FireFlows fire_flows_;
    // The running job's messages, and whether it asked for the loading window.
    std::vector<UserMessage> job_messages_;
    bool loading_asked_ = false;

    // --- between the threads ---
    std::atomic<bool> cancel_{false};   // the loading window's Cancel, for the running job
    std::atomic<bool> closing_{false};  // the window is closing
    std::mutex actions_mutex_;
    std::deque<std::function<void()>> actions_;

    // --- the window side ---
    const std::thread::id window_thread_ = std::this_thread::get_id();
    // What the pages were last given to show; the window keeps the configuration itself
    // (MainWindow::shown_config). The macro slots here are the window's one copy: they name
    // the buttons that play a macro, the function menus put a picked macro into them, and
    // Apply hands them to the device thread.
    ShownConfig shown_;
    SlotNames slot_names_{shown_};
    PredefinedGuns guns_;
    // The message on the cover, named again in a new language while the cover still says it.
    std::optional<UserMessage> cover_note_;
    bool eeprom_mode_ = true;
    bool device_open_ = false;
    bool read_complete_ = false;
    QTimer* dev_timer_first_ = nullptr;
    QTimer* dev_timer_ = nullptr;
    QSocketNotifier* hotplug_notifier_ = nullptr;
    bool busy_ = false;
    bool pass_pending_ = false;
    bool close_pending_ = false;
    bool taking_actions_ = false;
    bool recording_ = false;
    // The device timer ran when the recording started, or a flow asked for it since.
    bool timer_held_ = false;

    // Declared last: destroyed (joined) first, while everything its jobs use still exists.
    DeviceThread thread_;
};

}  // namespace velq::ui
