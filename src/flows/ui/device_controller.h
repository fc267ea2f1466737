#pragma once

#include <QObject>
#include <QString>

#include <memory>

#include "device/clock.h"
#include "device/command_protocol.h"
#include "device/device_link.h"
#include "device/hid_backend.h"
#include "device/hotplug_monitor.h"
#include "flows/device_cycle.h"
#include "flows/eeprom_flows.h"
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

// Owns the device link and the flows and lets them drive the window: the two device timers,
// the loading window, the page cover, the messages, the page values and the frame buttons.
class DeviceController final : public QObject, public FlowHost, public TransferUi {
    Q_OBJECT

public:
    explicit DeviceController(DeviceControllerParts parts, QObject* parent = nullptr);
    ~DeviceController() override;

    // The start-up share of the device flows: the default images, the expected device codes,
    // the no-device state, then the first device check 20 ms later. False with a reason when a
    // built-in image cannot be loaded.
    [[nodiscard]] bool Start(QString& error);

    // An interface came or went: a device pass runs at once unless a flow or pass is running,
    // in which case it runs as soon as the device timer is back.
    void DeviceChanged();

    FlowState& State() { return state_; }
    DeviceLink& Link() { return link_; }
    bool FlowRunning() const { return flow_running_; }
    bool DevTimerActive() const;
    bool DevTimerFirstActive() const;

    // FlowHost.
    void SetDevTimerFirstEnabled(bool enabled) override;
    void SetDevTimerEnabled(bool enabled) override;
    void ProcessPendingEvents() override;
    void ShowMessage(const UserMessage& message) override;
    void HideAllMenus() override;
    void CoverPages(bool covered) override;
    void ShowDeviceCodes(int vendor_code, int product_code) override;
    void RefreshErrorAP() override;
    void ClearDeviceLists() override;
    void SetNoDevicePage(bool no_device_page) override;
    bool RunReadFlow(bool full) override;
    void ShowLoadingWindow(bool shown) override;
    void CollectPageValues(MouseConfig& config) override;
    void ShowPageValues(const MouseConfig& config) override;
    void RefreshPcMacroNames() override {}
    void ReadPointerSettings() override {}
    void WritePointerSettings() override {}
    void ShowFirstPage() override;
    NameSources Names() override;
    void ShowResultPicture(bool shown) override;
    void CloseMainWindow() override;
    bool ChooseSaveFile(std::filesystem::path& file) override;
    bool ChooseLoadFile(std::filesystem::path& file) override;

    // TransferUi: the loading window before chunks, window events between them.
    void ShowLoadingWindow() override;

signals:
    // After every device pass and flow, for tests and the demo's status.
    void deviceStateChanged();

private:
    void OnFrameButton(const QString& name);
    void OnDevTimerFirst();
    void OnDevTimer();
    void RunPass();
    void InitNoDevice();
    void RelabelButtons();

    // Names of macro buttons from the slots the mouse holds; gun names from the predefined
    // guns until the gun key list is loaded.
    class SlotNames final : public MacroNameLookup {
    public:
        explicit SlotNames(const FlowState& state) : state_(state) {}
        std::string SlotMacroName(int slot) const override;
        std::optional<std::string> DriverMacroName(std::size_t) const override { return {}; }

    private:
        const FlowState& state_;
    };
    class PredefinedGuns final : public GunNameLookup {
    public:
        bool GunKeyFileFound() const override { return false; }
        std::vector<std::string> GunKeyTexts() const override { return {}; }
    };

    DeviceControllerParts parts_;
    Clock& clock_;
    DeviceLink link_;
    CommandProtocol protocol_;
    FlowState state_;
    DeviceCycle cycle_;
    EepromFlows flows_;
    SlotNames slot_names_{state_};
    PredefinedGuns guns_;
    QTimer* dev_timer_first_ = nullptr;
    QTimer* dev_timer_ = nullptr;
    QSocketNotifier* hotplug_notifier_ = nullptr;
    bool flow_running_ = false;
    bool pass_pending_ = false;
    bool closing_ = false;
};

}  // namespace velq::ui
