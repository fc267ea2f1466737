#include "flows/ui/device_controller.h"

#include <QApplication>
#include <QSocketNotifier>
#include <QTimer>

#include "buttons/function_name.h"
#include "config/config_codec.h"
#include "shell/ui/file_dialogs.h"
#include "shell/ui/loading_window.h"
#include "shell/ui/main_window.h"
#include "shell/ui/message_presenter.h"

namespace velq::ui {
namespace {

constexpr int kDevTimerFirstMs = 20;
constexpr int kDevTimerMs = 3000;

// The frame button families whose work is a device flow, by the stem of their names.
bool HasStem(const QString& name, const char* stem) {
    return name.startsWith(QLatin1String(stem)) &&
           name.size() == static_cast<int>(std::char_traits<char>::length(stem)) + 1;
}

}  // namespace

std::string DeviceController::SlotNames::SlotMacroName(int slot) const {
    const size_t s = static_cast<size_t>(slot - 1);
    if (s < state_.macro_list.size() && !state_.macro_list[s].empty()) {
        return state_.macro_list[s];
    }
    return s < state_.device_slot_names.size() ? state_.device_slot_names[s] : std::string();
}

DeviceController::DeviceController(DeviceControllerParts parts, QObject* parent)
    : QObject(parent),
      parts_(std::move(parts)),
      clock_(parts_.clock != nullptr ? *parts_.clock : SystemClock()),
      link_(*parts_.backend),
      protocol_(link_, clock_),
      cycle_(link_, protocol_, clock_, *this),
      flows_(link_, protocol_, clock_, *this, state_) {
    protocol_.SetTransferUi(this);
    flows_.SetDeviceCycle(&cycle_);

    dev_timer_first_ = new QTimer(this);
    dev_timer_first_->setInterval(kDevTimerFirstMs);
    connect(dev_timer_first_, &QTimer::timeout, this, &DeviceController::OnDevTimerFirst);
    dev_timer_ = new QTimer(this);
    dev_timer_->setInterval(kDevTimerMs);
    connect(dev_timer_, &QTimer::timeout, this, &DeviceController::OnDevTimer);

    connect(parts_.window, &MainWindow::frameButtonClicked, this, &DeviceController::OnFrameButton);
    // The pages name the buttons' functions: macro slots by the names the mouse holds.
    parts_.window->SetFunctionNamer([this](const FunctionCode& code) {
        return QString::fromStdString(FunctionName(CodeText(code), Names()));
    });

    if (parts_.hotplug != nullptr && parts_.hotplug->Descriptor() >= 0) {
        hotplug_notifier_ =
            new QSocketNotifier(parts_.hotplug->Descriptor(), QSocketNotifier::Read, this);
        connect(hotplug_notifier_, &QSocketNotifier::activated, this, [this] {
            if (parts_.hotplug->TakeEvents()) {
                DeviceChanged();
            }
        });
    }
}

DeviceController::~DeviceController() {
    // Closing marks the handle invalid first, so nothing talks to the mouse any more.
    closing_ = true;
    link_.DropDevice();
}

bool DeviceController::Start(QString& error) {
    const DefaultImagesResult loaded = LoadDefaultImages(state_.defaults);
    if (!loaded) {
        error = QString::fromStdString(loaded.error);
        return false;
    }
    const DataBuf& first = state_.defaults.eeprom[0];
    const DeviceCodes expected{first[kDeviceCodesRange.address],
                               first[kDeviceCodesRange.address + 1]};
    const OrgSettings& org = parts_.window->org();
    const DeviceCodes second{static_cast<uint8_t>(org.rev_manu_id),
                             static_cast<uint8_t>(org.rev_pro_id)};
    cycle_.SetExpectedCodes(expected, second);
    flows_.SetExpectedCodes(expected, second);
    state_.eeprom_mode = org.eeprom_mode;
    link_.DropDevice();
    RefreshErrorAP();
    CoverPages(true);
    SetDevTimerFirstEnabled(true);
    return true;
}

bool DeviceController::DevTimerActive() const {
    return dev_timer_->isActive();
}
bool DeviceController::DevTimerFirstActive() const {
    return dev_timer_first_->isActive();
}

void DeviceController::SetDevTimerFirstEnabled(bool enabled) {
    if (enabled && !closing_) {
        dev_timer_first_->start();
    } else {
        dev_timer_first_->stop();
    }
}

void DeviceController::SetDevTimerEnabled(bool enabled) {
    if (!enabled || closing_) {
        dev_timer_->stop();
        return;
    }
    if (!dev_timer_->isActive()) {
        dev_timer_->start();
    }
    if (pass_pending_) {
        // A device came or went while a flow ran: look now rather than at the next tick.
        pass_pending_ = false;
        QTimer::singleShot(0, this, &DeviceController::RunPass);
    }
}

void DeviceController::DeviceChanged() {
    if (flow_running_ || cycle_.Busy() || !dev_timer_->isActive()) {
        pass_pending_ = true;
        if (dev_timer_first_->isActive()) {
            pass_pending_ = false;  // the first check is about to run anyway
        }
        return;
    }
    QTimer::singleShot(0, this, &DeviceController::RunPass);
}

void DeviceController::OnDevTimerFirst() {
    // The first check runs once; whatever it finds, the steady timer takes over.
    dev_timer_first_->stop();
    RunPass();
    if (!dev_timer_->isActive() && !flow_running_) {
        SetDevTimerEnabled(true);
    }
}

void DeviceController::OnDevTimer() {
    RunPass();
}

void DeviceController::RunPass() {
    if (flow_running_ || closing_) {
        return;
    }
    cycle_.DevTimerTimer();
    parts_.window->SetDeviceHandlePresent(link_.HasDevice());
    emit deviceStateChanged();
}

void DeviceController::OnFrameButton(const QString& name) {
    if (flow_running_ || cycle_.Busy() || closing_) {
        return;  // one flow at a time
    }
    flow_running_ = true;
    if (HasStem(name, "Btn_Apply_")) {
        flows_.BtnApplyClick();
    } else if (HasStem(name, "Btn_Confirm_")) {
        flows_.BtnConfirmClick();
    } else if (HasStem(name, "Btn_Confirm1_")) {
        flows_.BtnResetClick(0);
    } else if (HasStem(name, "Btn_Confirm2_")) {
        flows_.BtnResetClick(1);
    } else if (HasStem(name, "Btn_Confirm3_")) {
        flows_.BtnResetClick(2);
    } else if (name == QLatin1String("Btn_Default")) {
        flows_.BtnDefaultClick();
    } else if (name == QLatin1String("btn_loadDefaultCPI")) {
        flows_.BtnLoadDefaultClick(3);
    } else if (name == QLatin1String("btn_loadDefaultLED")) {
        flows_.BtnLoadDefaultClick(4);
    } else if (HasStem(name, "Btn_Read_")) {
        cycle_.BtnReadClick();
    } else if (HasStem(name, "Btn_Save_")) {
        flows_.BtnSaveClick();
    } else if (HasStem(name, "Btn_Load_")) {
        flows_.BtnLoadClick();
    }
    flow_running_ = false;
    parts_.window->SetDeviceHandlePresent(link_.HasDevice());
    emit deviceStateChanged();
}

void DeviceController::ProcessPendingEvents() {
    QApplication::processEvents(QEventLoop::AllEvents);
}

void DeviceController::ShowMessage(const UserMessage& message) {
    const CaptionTable& captions = parts_.window->captions();
    QString text;
    for (size_t i = 0; i < message.keys.size(); ++i) {
        if (i > 0) {
            text += QString::fromStdString(message.separator);
        }
        text += QString::fromStdString(captions.Caption(message.keys[i]));
    }
    if (!message.detail.empty()) {
        text += (text.isEmpty() ? QString() : QStringLiteral("\n")) +
                QString::fromStdString(message.detail);
    }
    parts_.messages->Show(text);
}

void DeviceController::HideAllMenus() {
    parts_.window->HideAllMenu();
}

void DeviceController::CoverPages(bool covered) {
    parts_.window->CoverPages(covered);
}

void DeviceController::ShowDeviceCodes(int vendor_code, int product_code) {
    // The engineering page's code fields show what the mouse holds; the rest stays as shown.
    state_.config.vendor_code = static_cast<uint8_t>(vendor_code);
    state_.config.product_code = static_cast<uint8_t>(product_code);
    parts_.window->ShowConfig(state_.config);
}

void DeviceController::InitNoDevice() {
    // The built-in defaults are no mouse's settings: nothing counts as read, and the fire area
    // buffer no longer holds a mouse's fire area.
    state_.read_complete = false;
    state_.fire_area_read = false;
    state_.data_buf = state_.defaults.eeprom[0];
    state_.macro_list.clear();
    FillSectionCopies(state_.data_buf, state_.copies);
    for (size_t s = 0; s < kMacroSlotCount; ++s) {
        std::copy_n(state_.data_buf.begin() + kMacroSlotBase[s], kMacroSlotSize,
                    state_.device_macros[s].begin());
    }
    std::copy_n(state_.data_buf.begin() + kFireAreaRange.address, state_.fire_area.size(),
                state_.fire_area.begin());
    state_.decoded = DecodeConfig(state_.copies);
    state_.config = state_.decoded;
    ShowPageValues(state_.config);
}

void DeviceController::RefreshErrorAP() {
    InitNoDevice();
    parts_.window->ShowNoDevicePage();
    SetNoDevicePage(true);
}

void DeviceController::ClearDeviceLists() {
    state_.macro_list.clear();
    state_.device_slot_names.fill({});
}

void DeviceController::SetNoDevicePage(bool no_device_page) {
    parts_.window->SetNoDevicePage(no_device_page);
}

bool DeviceController::RunReadFlow(bool full) {
    const bool was_running = flow_running_;
    flow_running_ = true;
    const bool read = flows_.BtnRead(full);
    flow_running_ = was_running;
    parts_.window->SetDeviceHandlePresent(link_.HasDevice());
    return read;
}

void DeviceController::ShowLoadingWindow(bool shown) {
    if (parts_.loading == nullptr) {
        return;
    }
    if (shown) {
        parts_.loading->CentreOver(*parts_.window, 0);
        parts_.loading->show();
        parts_.loading->raise();
    } else {
        parts_.loading->hide();
    }
}

void DeviceController::ShowLoadingWindow() {
    if (parts_.loading != nullptr && !parts_.loading->isVisible()) {
        ShowLoadingWindow(true);
    }
}

void DeviceController::CollectPageValues(MouseConfig& config) {
    parts_.window->CollectConfig(config);
}

void DeviceController::ShowPageValues(const MouseConfig& config) {
    parts_.window->ShowConfig(config);
}

void DeviceController::RelabelButtons() {
    parts_.window->RelabelButtons();
}

void DeviceController::ShowFirstPage() {
    if (parts_.window->current_page() != Page::kOffice &&
        parts_.window->current_page() != Page::kGaming) {
        parts_.window->ClickTab(Page::kOffice);
    }
}

NameSources DeviceController::Names() {
    return {parts_.window->captions(), slot_names_, guns_, state_.eeprom_mode};
}

void DeviceController::ShowResultPicture(bool shown) {
    if (QWidget* result = parts_.window->Control(QStringLiteral("Img_Result"))) {
        result->setVisible(shown);
    }
}

void DeviceController::CloseMainWindow() {
    parts_.window->close();
}

bool DeviceController::ChooseSaveFile(std::filesystem::path& file) {
    const std::optional<QString> chosen = parts_.files->SaveFile(
        {QStringLiteral("Save"), QStringLiteral("SaveFile (*.bin)"), QString()});
    if (!chosen || chosen->isEmpty()) {
        return false;
    }
    file = chosen->toStdString();
    return true;
}

bool DeviceController::ChooseLoadFile(std::filesystem::path& file) {
    const std::optional<QString> chosen = parts_.files->OpenFile(
        {QStringLiteral("Load"), QStringLiteral("LoadFile (*.bin)"), QString()});
    if (!chosen || chosen->isEmpty()) {
        return false;
    }
    file = chosen->toStdString();
    return true;
}

}  // namespace velq::ui
