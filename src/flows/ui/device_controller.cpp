#include "flows/ui/device_controller.h"

#include <QCloseEvent>
#include <QSocketNotifier>
#include <QTimer>

#include <string_view>
#include <thread>

#include "buttons/function_name.h"
#include "buttons/ui/function_menus.h"
#include "config/ui/engineering_page.h"
#include "fire/ui/fire_page.h"
#include "macros/ui/macro_page.h"
#include "shell/ui/file_dialogs.h"
#include "shell/ui/loading_window.h"
#include "shell/ui/main_window.h"
#include "shell/ui/message_presenter.h"

namespace velq::ui {
namespace {

constexpr int kDevTimerFirstMs = 20;
constexpr int kDevTimerMs = 3000;

// The flows the frame buttons run. The buttons' copies on the pages share a stem and end in
// their copy's digit ("Btn_Apply_2"); the factory page's own buttons have one name.
enum class Flow {
    kApply,
    kConfirm,
    kReset,
    kRestoreDefaults,
    kRead,
    kSaveProfile,
    kLoadProfile,
    kImportBaseMacro,
    kReadFireArea,
    kWriteFireSection,
    kFireDefaults,
    kImportFireArea,
    kButtonTest,
};

struct FrameButton {
    std::string_view name;
    bool stem;  // the name is the stem of numbered copies
    Flow flow;
    // The built-in image of a reset, the default set of a fire default; 1 for the fire area
    // read of the factory page.
    int image;
};

constexpr FrameButton kFrameButtons[] = {
    {"Btn_Apply_", true, Flow::kApply, 0},
    {"Btn_Confirm_", true, Flow::kConfirm, 0},
    {"Btn_Confirm1_", true, Flow::kReset, 0},
    {"Btn_Confirm2_", true, Flow::kReset, 1},
    {"Btn_Confirm3_", true, Flow::kReset, 2},
    {"Btn_Default", false, Flow::kRestoreDefaults, 0},
    {"btn_loadDefaultCPI", false, Flow::kRestoreDefaults, 3},
    {"btn_loadDefaultLED", false, Flow::kRestoreDefaults, 4},
    {"Btn_Read_", true, Flow::kRead, 0},
    {"Btn_Save_", true, Flow::kSaveProfile, 0},
    {"Btn_Load_", true, Flow::kLoadProfile, 0},
    {"Btn_ImportBaseMacro", false, Flow::kImportBaseMacro, 0},
    // The fire page: its first opening reads the fire area, its confirm writes the fire
    // regions. The factory page: the fire default sets and the fire area file.
    {"Key_FireMacro", false, Flow::kReadFireArea, 0},
    {"Pg_Parameter", false, Flow::kReadFireArea, 1},  // the factory page's first opening
    {"Btn_FireConfirm", false, Flow::kWriteFireSection, 0},
    {"btn_deleteFireMarco", false, Flow::kFireDefaults, 0},
    {"btn_importFireMarco1", false, Flow::kFireDefaults, 1},
    {"btn_importFireMarco2", false, Flow::kFireDefaults, 2},
    {"Btn_ImportGunMacro", false, Flow::kImportFireArea, 0},
    {"btn_TestKeys", false, Flow::kButtonTest, 0},
};

const FrameButton* FrameButtonNamed(const QString& name) {
    const std::string text = name.toStdString();
    for (const FrameButton& button : kFrameButtons) {
        const bool match = button.stem ? text.size() == button.name.size() + 1 &&
                                             text.compare(0, button.name.size(), button.name) == 0
                                       : text == button.name;
        if (match) {
            return &button;
        }
    }
    return nullptr;
}

}  // namespace

std::string DeviceController::SlotNames::SlotMacroName(int slot) const {
    return shown_.macros.ListName(slot);
}

DeviceController::DeviceController(DeviceControllerParts parts, QObject* parent)
    : QObject(parent),
      parts_(std::move(parts)),
      clock_(parts_.clock != nullptr ? *parts_.clock : SystemClock()),
      link_(*parts_.backend),
      protocol_(link_, clock_),
      cycle_(link_, protocol_, clock_, *this, state_),
      flows_(link_, protocol_, clock_, *this, state_),
      fire_flows_(link_, protocol_, *this, state_, flows_) {
    protocol_.SetTransferUi(this);
    flows_.SetDeviceCycle(&cycle_);
    cycle_.SetReadFlow(
        [this](bool full, FlowOutcome& outcome) { return flows_.Read(full, outcome); });

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
    // A macro picked for a button goes into the slot copy the buttons are named by.
    if (auto* menus = parts_.window->PageOf<FunctionMenus>()) {
        menus->SetDeviceMacros(&shown_.macros);
    }
    // The device timer rests while a macro is recorded.
    if (auto* macros = parts_.window->PageOf<MacroPage>()) {
        connect(macros, &MacroPage::recordingChanged, this, &DeviceController::SetRecording);
        // A macro changed in the library reaches the slots that hold it, and the buttons
        // that play them, for the next Apply to write.
        connect(macros, &MacroPage::macroStored, this, &DeviceController::FollowMacro);
    }
    parts_.window->installEventFilter(this);
    connect(parts_.window, &MainWindow::languageChanged, this, [this] {
        if (cover_note_ && !parts_.window->cover_note().isEmpty()) {
            parts_.window->SetCoverNote(TextOf(*cover_note_));
        }
    });
    if (parts_.loading != nullptr) {
        connect(parts_.loading, &LoadingWindow::cancelRequested, this,
                [this] { cancel_.store(true); });
    }

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
    // Closing marks the handle invalid first, so nothing talks to the mouse any more once the
    // running job (if any) has ended.
    closing_.store(true);
    thread_.Finish();
    parts_.window->removeEventFilter(this);
    // The window may outlive the controller: it names no more buttons through it.
    parts_.window->SetFunctionNamer({});
    if (auto* menus = parts_.window->PageOf<FunctionMenus>()) {
        menus->SetDeviceMacros(nullptr);
    }
    link_.DropDevice();
}

void DeviceController::FollowMacro(const QByteArray& name, const QByteArray& record) {
    // Only macros kept in the mouse have slots; the driver's records are of another size.
    if (name.size() != static_cast<qsizetype>(kMacroNameSize) ||
        record.size() != static_cast<qsizetype>(kMacroSlotSize)) {
        return;
    }
    MacroName field{};
    std::copy_n(reinterpret_cast<const uint8_t*>(name.constData()), kMacroNameSize, field.begin());
    const auto bytes = std::span<const uint8_t, kMacroSlotSize>(
        reinterpret_cast<const uint8_t*>(record.constData()), kMacroSlotSize);
    const SlotMask followed = FollowLibraryMacro(shown_.macros, field, bytes);
    if (followed == 0) {
        return;
    }
    // A changed release option changes how the buttons play the slot; a new name, their labels.
    parts_.window->ChangeConfig([this, followed](MouseConfig& config) {
        MatchSlotCodes(config.office, shown_.macros, followed);
        MatchSlotCodes(config.gaming, shown_.macros, followed);
    });
}

bool DeviceController::Start(QString& error) {
    // The device thread has not run a job yet: the window thread sets up the device side.
    const DefaultImagesResult loaded = LoadDefaultImages(state_.defaults);
    if (!loaded) {
        error = QString::fromStdString(loaded.error);
        return false;
    }
    if (const FileResult sets = fire_flows_.LoadDefaultSets(); !sets) {
        error = QString::fromStdString(sets.error);
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
    eeprom_mode_ = org.eeprom_mode;
    link_.DropDevice();
    TakeBuiltInDefaults(state_);
    FlowOutcome outcome;
    outcome.no_device_state = true;
    outcome.shown = Shown(state_);
    ActOn(outcome);
    parts_.window->CoverPages(true);
    dev_timer_first_->start();
    return true;
}

bool DeviceController::DevTimerActive() const {
    return dev_timer_->isActive();
}
bool DeviceController::DevTimerFirstActive() const {
    return dev_timer_first_->isActive();
}

// --- window actions asked on the device thread ---

void DeviceController::PostToWindow(std::function<void()> action) {
    bool wake = false;
    {
        std::lock_guard lock(actions_mutex_);
        wake = actions_.empty();
        actions_.push_back(std::move(action));
    }
    if (wake) {
        // The actions themselves travel under the mutex; the queued call only wakes the window
        // thread. It is made by name, so that nothing of ours (no functor object) is shared
        // between the threads by Qt's own reference counting.
        QMetaObject::invokeMethod(this, "TakeWindowActions", Qt::QueuedConnection);
    }
}

void DeviceController::TakeWindowActions() {
    if (taking_actions_) {
        return;  // a message's own event loop: the actions go on after it, in order
    }
    taking_actions_ = true;
    for (;;) {
        std::function<void()> action;
        {
            std::lock_guard lock(actions_mutex_);
            if (actions_.empty()) {
                break;
            }
            action = std::move(actions_.front());
            actions_.pop_front();
        }
        action();
    }
    taking_actions_ = false;
}

void DeviceController::SetDevTimerFirstEnabled(bool enabled) {
    PostToWindow([this, enabled] {
        if (enabled && !closing_.load()) {
            dev_timer_first_->start();
        } else {
            dev_timer_first_->stop();
        }
    });
}

void DeviceController::SetDevTimerEnabled(bool enabled) {
    PostToWindow([this, enabled] {
        if (!enabled || closing_.load()) {
            dev_timer_->stop();
            timer_held_ = false;
            return;
        }
        if (recording_) {
            timer_held_ = true;  // started when the recording ends
            return;
        }
        if (!dev_timer_->isActive()) {
            dev_timer_->start();
        }
        if (pass_pending_ && !busy_) {
            // A device came or went while the timer was held: look now.
            pass_pending_ = false;
            QTimer::singleShot(0, this, &DeviceController::RunPass);
        }
    });
}

void DeviceController::CoverPages(bool covered) {
    PostToWindow([this, covered] {
        if (covered) {
            parts_.window->HideAllMenu();  // menus lie over the pages
        }
        parts_.window->CoverPages(covered);
    });
}

void DeviceController::ShowLoadingWindow(bool shown) {
    loading_asked_ = shown;
    PostToWindow([this, shown] {
        LoadingWindow* loading = parts_.loading;
        if (loading == nullptr) {
            return;
        }
        if (shown) {
            loading->SetCancelCaption(
                QString::fromStdString(parts_.window->captions().Caption("Str422")),
                parts_.window->font().families());
            loading->CentreOver(*parts_.window, 0);
            loading->show();
            loading->raise();
        } else {
            loading->hide();
        }
    });
}

void DeviceController::ShowLoadingWindow() {
    if (!loading_asked_) {
        ShowLoadingWindow(true);
    }
}

bool DeviceController::StopRequested(TransferDirection direction) {
    return cancel_.load() || (closing_.load() && direction == TransferDirection::kRead);
}

void DeviceController::ShowMessage(const UserMessage& message) {
    if (std::this_thread::get_id() == window_thread_) {
        SayNow(message);
    } else {
        job_messages_.push_back(message);
    }
}

QString DeviceController::TextOf(const UserMessage& message) const {
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
    return text;
}

void DeviceController::SayNow(const UserMessage& message) {
    const QString text = TextOf(message);
    if (message.on_cover) {
        // The covered pages keep saying it after the message window is closed.
        cover_note_ = message;
        parts_.window->SetCoverNote(text);
    }
    parts_.messages->Show(text);
}

// --- jobs ---

void DeviceController::RunJob(std::function<FlowOutcome()> job) {
    busy_ = true;
    cancel_.store(false);
    thread_.Post([this, job = std::move(job)] {
        const FlowOutcome outcome = job();
        std::vector<UserMessage> messages = std::move(job_messages_);
        job_messages_.clear();
        loading_asked_ = false;
        PostToWindow(
            [this, outcome, messages = std::move(messages)] { JobEnded(outcome, messages); });
    });
}

void DeviceController::JobEnded(const FlowOutcome& outcome,
                                const std::vector<UserMessage>& messages) {
    ActOn(outcome);
    // One after another, as the flow said them; the next job waits until they are read.
    for (const UserMessage& message : messages) {
        SayNow(message);
    }
    busy_ = false;
    emit deviceStateChanged();
    if (close_pending_ || outcome.close_window) {
        close_pending_ = false;
        if (parts_.loading != nullptr) {
            parts_.loading->hide();
        }
        parts_.window->close();
        return;
    }
    if (pass_pending_ && dev_timer_->isActive()) {
        pass_pending_ = false;
        QTimer::singleShot(0, this, &DeviceController::RunPass);
    }
}

void DeviceController::ActOn(const FlowOutcome& outcome) {
    MainWindow& window = *parts_.window;
    if (outcome.no_device_state) {
        window.HideAllMenu();
        window.SetNoDevicePage(false);
        window.SetCoverNote({});  // no read of a mouse is awaited
    }
    if (outcome.shown) {
        // The slot names first: the pages name the buttons by them.
        shown_ = *outcome.shown;
        window.ShowConfig(shown_.config);
        window.MouseRead();
        ShowFire(shown_.fire);
    }
    if (outcome.fire) {
        ShowFire(*outcome.fire);
    }
    if (outcome.fire_buttons) {
        SetFireButtons(*outcome.fire_buttons);
    }
    if (outcome.no_device_state) {
        window.ShowNoDevicePage();
        window.SetNoDevicePage(true);
    }
    if (outcome.config) {
        // A write completed: the pages show what the mouse now holds, which is also the base
        // of the next Apply.
        window.ShowConfig(*outcome.config);
    }
    if (outcome.macros) {
        // The slots Apply wrote are the mouse's now; the base macro import changed slots 1..4.
        shown_.macros = *outcome.macros;
        window.RelabelButtons();
    }
    if (outcome.device_codes) {
        // The factory page's code fields show what the mouse holds; the rest stays as shown.
        MouseConfig config = window.shown_config();
        config.vendor_code = outcome.device_codes->vendor;
        config.product_code = outcome.device_codes->product;
        window.ShowConfig(config);
    }
    if (outcome.show_first_page) {
        ShowFirstPage();
        window.SetNoDevicePage(false);
    }
    if (outcome.result_picture) {
        if (QWidget* result = window.Control(QStringLiteral("Img_Result"))) {
            result->setVisible(true);
        }
    }
    device_open_ = outcome.device_open;
    read_complete_ = outcome.read_complete;
    window.SetDeviceHandlePresent(device_open_);
}

void DeviceController::DeviceChanged() {
    if (closing_.load()) {
        return;
    }
    if (busy_ || !dev_timer_->isActive()) {
        // The first check is about to run anyway; otherwise look once the timer is back.
        pass_pending_ = !dev_timer_first_->isActive();
        return;
    }
    QTimer::singleShot(0, this, &DeviceController::RunPass);
}

void DeviceController::OnDevTimerFirst() {
    // The first check runs once; whatever it finds, the steady timer takes over.
    dev_timer_first_->stop();
    RunPass();
    if (!dev_timer_->isActive() && !closing_.load()) {
        dev_timer_->start();
    }
}

void DeviceController::SetRecording(bool recording) {
    recording_ = recording;
    if (recording) {
        timer_held_ = dev_timer_->isActive();
        dev_timer_->stop();
        return;
    }
    if (timer_held_ && !closing_.load()) {
        dev_timer_->start();
    }
    timer_held_ = false;
}

void DeviceController::OnDevTimer() {
    RunPass();
}

void DeviceController::RunPass() {
    if (busy_ || closing_.load()) {
        return;
    }
    RunJob([this] { return cycle_.Pass(); });
}

void DeviceController::OnFrameButton(const QString& name) {
    if (busy_ || closing_.load()) {
        return;  // one flow at a time
    }
    const FrameButton* button = FrameButtonNamed(name);
    if (button == nullptr) {
        return;
    }
    // Every flow starts with the menus closed.
    parts_.window->HideAllMenu();
    const int image = button->image;
    switch (button->flow) {
        case Flow::kApply:
        case Flow::kConfirm: {
            // What the pages show, over what they were given: settings no page shows keep
            // their values.
            MouseConfig pages = parts_.window->shown_config();
            parts_.window->CollectConfig(pages);
            // The fire page's edits go with them (taken only where the fire area was read).
            const std::optional<ShownFire> fire = FireEdits();
            if (button->flow == Flow::kApply) {
                parts_.window->Applying();
                RunJob([this, pages, fire, macros = shown_.macros] {
                    return flows_.Apply(pages, macros, fire);
                });
            } else {
                RunJob([this, pages, fire, macros = shown_.macros] {
                    return flows_.Confirm(pages, macros, fire);
                });
            }
            return;
        }
        case Flow::kReadFireArea:
            RunJob([this, image] { return fire_flows_.ReadFireArea(image == 1); });
            return;
        case Flow::kWriteFireSection: {
            MouseConfig pages = parts_.window->shown_config();
            parts_.window->CollectConfig(pages);
            const ShownFire fire = FireEdits().value_or(shown_.fire);
            RunJob([this, pages, fire] { return fire_flows_.WriteFireSection(pages, fire); });
            return;
        }
        case Flow::kFireDefaults:
            RunJob([this, image] { return fire_flows_.LoadFireDefaults(image); });
            return;
        case Flow::kImportFireArea: {
            const std::optional<QString> chosen = parts_.files->OpenFile(
                {QStringLiteral("Load"), QStringLiteral("LoadFile (*.bin)"), QString()});
            if (!chosen || chosen->isEmpty()) {
                return;
            }
            const std::filesystem::path file = chosen->toStdString();
            RunJob([this, file] { return fire_flows_.ImportFireArea(file); });
            return;
        }
        case Flow::kButtonTest:
            StartButtonTest();
            return;
        case Flow::kReset:
            RunJob([this, image] { return flows_.Reset(image); });
            return;
        case Flow::kRestoreDefaults:
            if (QWidget* result = parts_.window->Control(QStringLiteral("Img_Result"))) {
                result->setVisible(false);
            }
            RunJob([this, image] { return flows_.RestoreDefaults(image); });
            return;
        case Flow::kRead:
            RunJob([this] { return cycle_.Read(); });
            return;
        case Flow::kSaveProfile:
        case Flow::kLoadProfile: {
            const bool save = button->flow == Flow::kSaveProfile;
            const std::optional<std::filesystem::path> file = ChooseProfileFile(
                *this, save ? ProfileFileUse::kSave : ProfileFileUse::kLoad, device_open_);
            if (!file) {
                return;
            }
            if (save) {
                RunJob([this, file = *file] { return flows_.SaveProfile(file); });
            } else {
                RunJob([this, file = *file] { return flows_.LoadProfile(file); });
            }
            return;
        }
        case Flow::kImportBaseMacro: {
            // The file is chosen as a profile to load is; its four slots go into the mouse
            // and into the window's copy, whose other slots stay as they are.
            const std::optional<std::filesystem::path> file =
                ChooseProfileFile(*this, ProfileFileUse::kLoad, device_open_);
            if (file) {
                RunJob([this, file = *file, macros = shown_.macros] {
                    return flows_.ImportBaseMacro(file, macros);
                });
            }
            return;
        }
    }
}

void DeviceController::StartButtonTest() {
    if (parts_.window->PageOf<EngineeringPage>() == nullptr) {
        return;
    }
    // The test's polls are the only traffic to the mouse while it runs.
    dev_timer_->stop();
    parts_.window->PageOf<EngineeringPage>()->ButtonTestStarted();
    RunJob([this] {
        FlowOutcome outcome;
        if (!link_.HasDevice()) {
            ShowMessage(UserMessage::Window({"Str020"}));
        } else if (ButtonTest(protocol_, clock_, *this).Run() == ButtonTestEnd::kMouseGone) {
            // Unplugged during the test: the device pass tells it as it always does.
            outcome = cycle_.Pass();
        }
        PostToWindow([this] {
            if (auto* factory = parts_.window->PageOf<EngineeringPage>()) {
                factory->ButtonTestEnded();
            }
        });
        SetDevTimerEnabled(true);
        NoteDeviceSide(outcome, link_, state_);
        return outcome;
    });
}

void DeviceController::ShowTestCountdown(std::optional<int> seconds) {
    PostToWindow([this, seconds] {
        if (auto* factory = parts_.window->PageOf<EngineeringPage>()) {
            factory->ShowTestCountdown(seconds);
        }
    });
}

void DeviceController::ShowTestedKey(int key, bool shown) {
    PostToWindow([this, key, shown] {
        if (auto* factory = parts_.window->PageOf<EngineeringPage>()) {
            factory->ShowTestedKey(key, shown);
        }
    });
}

bool DeviceController::TestEndRequested() {
    return closing_.load();
}

bool DeviceController::eventFilter(QObject* watched, QEvent* event) {
    if (watched == parts_.window && event->type() == QEvent::Close) {
        // From now on reads stop at their next chunk and no new job begins; a write runs to
        // its end, and the window closes once the job has ended.
        closing_.store(true);
        dev_timer_first_->stop();
        dev_timer_->stop();
        if (busy_) {
            close_pending_ = true;
            event->ignore();
            return true;
        }
    }
    return QObject::eventFilter(watched, event);
}

// --- the pages ---

void DeviceController::ShowFirstPage() {
    if (parts_.window->current_page() != Page::kOffice &&
        parts_.window->current_page() != Page::kGaming) {
        parts_.window->ClickTab(Page::kOffice);
    }
}

std::optional<ShownFire> DeviceController::FireEdits() const {
    if (const auto* page = parts_.window->PageOf<FirePage>()) {
        return page->Fire();
    }
    return std::nullopt;
}

void DeviceController::ShowFire(const ShownFire& fire) {
    if (auto* page = parts_.window->PageOf<FirePage>()) {
        page->ShowFire(fire);
    }
}

void DeviceController::SetFireButtons(const FireButtonStates& states) {
    // On the factory page, once built (it is built when opened, and its buttons start enabled).
    if (!parts_.window->Part(kFactoryPart).built()) {
        return;
    }
    const std::pair<const char*, bool> kButtons[] = {
        {"btn_deleteFireMarco", states.delete_enabled},
        {"btn_importFireMarco1", states.import_enabled},
        {"btn_importFireMarco2", states.import_enabled}};
    for (const auto& [name, enabled] : kButtons) {
        if (QWidget* button = parts_.window->Control(QString::fromLatin1(name))) {
            button->setEnabled(enabled);
        }
    }
}

NameSources DeviceController::Names() {
    // Gun keys are named by the factory page's gun key list where the window has one.
    auto* factory = parts_.window->PageOf<EngineeringPage>();
    const GunNameLookup& guns =
        factory != nullptr ? static_cast<const GunNameLookup&>(factory->gun_keys()) : guns_;
    return {parts_.window->captions(), slot_names_, guns, eeprom_mode_};
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
