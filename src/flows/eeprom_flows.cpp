#include "flows/eeprom_flows.h"

#include <algorithm>
#include <cstdio>
#include <set>

#include "buttons/function_code.h"
#include "image/profile_file.h"
#include "image/verified_write.h"
#include "macros/macro_name.h"

namespace velq {
namespace {

constexpr int kPauseTicks = 11;
constexpr int kPauseTickMs = 10;
constexpr const char* kNoDevice = "Str020";
constexpr const char* kWrongDevice = "Str107";
constexpr const char* kBurnFailed = "Str109";
constexpr const char* kAimKeyName = "Str222";

std::string Hex4(unsigned value) {
    char text[8];
    std::snprintf(text, sizeof text, "%04X", value & 0xFFFF);
    return text;
}

// The slot locator (address of the slot's length byte) of slot s (0-based).
uint16_t SlotLocator(size_t s) {
    return static_cast<uint16_t>(kMacroSlotBase[s] + kMacroNameSize + 1);
}

}  // namespace

EepromFlows::EepromFlows(DeviceLink& link, CommandProtocol& protocol, Clock& clock, FlowHost& host,
                         FlowState& state)
    : link_(link), protocol_(protocol), clock_(clock), host_(host), state_(state) {}

void EepromFlows::SetExpectedCodes(DeviceCodes first, DeviceCodes second) {
    expected_ = {first, second};
}

void EepromFlows::ShowMessage(const char* key, UserMessage::Box box, std::string detail) {
    UserMessage message;
    message.box = box;
    if (key != nullptr && *key != '\0') {
        message.keys.push_back(key);
    }
    message.detail = std::move(detail);
    host_.ShowMessage(message);
}

void EepromFlows::FrameBegin() {
    host_.SetDevTimerEnabled(false);
    host_.CoverPages(true);
    host_.ShowLoadingWindow(true);
    host_.ProcessPendingEvents();
}

void EepromFlows::FrameEnd() {
    host_.ShowLoadingWindow(false);
    host_.ProcessPendingEvents();
    host_.SetDevTimerFirstEnabled(false);
    host_.SetDevTimerEnabled(true);
    host_.CoverPages(false);
}

void EepromFlows::ButtonPause() {
    for (int i = 0; i < kPauseTicks; ++i) {
        clock_.SleepMs(kPauseTickMs);
        host_.ProcessPendingEvents();
    }
}

bool EepromFlows::OpenTransaction(StatusAnswer& status) {
    if (!protocol_.SendCommand(Command::Open) || !protocol_.SendCommand(Command::Status)) {
        return false;
    }
    status = ParseStatus(protocol_.Report());
    return status.signature_ok;
}

void EepromFlows::CloseTransaction() {
    // `SystemReloadCmd_OnClick` and `Close`: the mouse takes over what it holds now.
    (void)protocol_.SendCommand(Command::Reload);
    (void)protocol_.SendCommand(Command::Close);
}

void EepromFlows::FillFromDataBuf() {
    FillSectionCopies(state_.data_buf, state_.copies);
}

void EepromFlows::ShowOnPages() {
    DataBufToUI(state_.copies, state_.values, state_.keys);
    host_.ShowPageValues(state_.values, state_.keys);
}

// Copies the macro slots and the fire area of the image into their working buffers and lists
// the slots' names.
static void TakeMacrosAndFireArea(FlowState& state) {
    for (size_t s = 0; s < kMacroSlotCount; ++s) {
        std::copy_n(state.data_buf.begin() + kMacroSlotBase[s], kMacroSlotSize,
                    state.device_macros[s].begin());
    }
    std::copy_n(state.data_buf.begin() + kFireAreaRange.address, state.fire_area.size(),
                state.fire_area.begin());
    state.macro_list.clear();
    for (size_t s = 0; s < kMacroSlotCount; ++s) {
        std::array<uint8_t, kMacroNameSize> name{};
        std::copy_n(state.device_macros[s].begin(), kMacroNameSize, name.begin());
        state.macro_list.push_back(IsFreeMacroName(name) ? std::string()
                                                         : Utf16ToUtf8(MacroNameText(name)));
    }
}

void EepromFlows::BtnRead(bool full) {
    FrameBegin();
    host_.RefreshPcMacroNames();
    state_.data_buf.fill(0xFF);
    (void)protocol_.ReadBlock(0, full ? kDataBufSize : kParameterAreaRange.size, state_.data_buf,
                              LoadingWindow::Shown);
    FillFromDataBuf();
    if (full) {
        TakeMacrosAndFireArea(state_);
        state_.device_slot_names.fill({});
        std::copy(state_.macro_list.begin(), state_.macro_list.end(),
                  state_.device_slot_names.begin());
    }
    ShowOnPages();
    host_.ReadPointerSettings();
    host_.ShowFirstPage();
    host_.SetNoDevicePage(false);
    host_.CoverPages(false);
    CloseTransaction();
    FrameEnd();
}

void EepromFlows::AIMKeyToDataBuf() {
    const NameSources names = host_.Names();
    const std::string aim_name = names.captions.Caption(kAimKeyName);
    if (aim_name.empty()) {
        return;  // a missing caption would match every unnamed button
    }
    const FunctionCode aim{static_cast<uint8_t>(CodeType::AIMKey),
                           static_cast<uint8_t>(host_.AimKeyDpiIndex()), 0};
    for (int p = 0; p < 2; ++p) {
        auto& texts = p == 0 ? state_.keys.Profile1Keys : state_.keys.Profile2Keys;
        const size_t base = p == 0 ? kProfile1Offset : kProfile2Offset;
        for (size_t b = 0; b < kButtonsPerProfile; ++b) {
            if (FunctionName(texts[b], names) != aim_name) {
                continue;
            }
            texts[b] = CodeText(aim);
            StoreCode(aim, std::span<uint8_t, 3>(state_.copies.profile.data() + base + 3 * b, 3));
        }
    }
}

void EepromFlows::WriteFireAreaAndMacros() {
    if (state_.fire_area_read) {
        (void)protocol_.WriteBlock(kFireAreaRange.address, kFireAreaRange.size, state_.fire_area);
    }
    // The slots that a button plays, as four hex digits of their locator.
    std::set<std::string> wanted;
    for (const auto* texts : {&state_.keys.Profile1Keys, &state_.keys.Profile2Keys}) {
        for (const std::string& code : *texts) {
            if (code.size() == 6 && (code.rfind("06", 0) == 0 || code.rfind("0E", 0) == 0)) {
                wanted.insert(code.substr(2, 4));
            }
        }
    }
    // A slot whose name the mouse already holds needs no writing.
    for (size_t s = 0; s < kMacroSlotCount; ++s) {
        if (std::find(state_.macro_list.begin(), state_.macro_list.end(),
                      state_.device_slot_names[s]) != state_.macro_list.end()) {
            wanted.erase(Hex4(SlotLocator(s)));
        }
    }
    const size_t slots = std::min(state_.macro_list.size(), static_cast<size_t>(kMacroSlotCount));
    for (size_t s = 0; s < slots; ++s) {
        const uint16_t locator = SlotLocator(s);
        if (wanted.count(Hex4(locator)) == 0) {
            continue;
        }
        const MacroSlotBytes& slot = state_.device_macros[s];
        (void)protocol_.WriteBlock(static_cast<uint16_t>(locator - 0x21), kMacroNameSize,
                                   std::span(slot).first(kMacroNameSize));
        (void)protocol_.WriteBlock(static_cast<uint16_t>(locator - 1), kMacroContentSize,
                                   std::span(slot).subspan(kMacroNameSize));
    }
}

void EepromFlows::DownloadParameter() {
    host_.HideAllMenus();
    FrameBegin();
    host_.CollectPageValues(state_.values);
    UIToDataBuf(state_.values, state_.copies);
    AIMKeyToDataBuf();
    StoreSectionCopies(state_.copies, state_.data_buf);
    for (size_t s = 0; s < kMacroSlotCount; ++s) {
        std::copy(state_.device_macros[s].begin(), state_.device_macros[s].end(),
                  state_.data_buf.begin() + kMacroSlotBase[s]);
    }
    std::copy(state_.fire_area.begin(), state_.fire_area.end(),
              state_.data_buf.begin() + kFireAreaRange.address);
    host_.WritePointerSettings();

    StatusAnswer status;
    if (OpenTransaction(status)) {
        if (status.write_enabled) {
            protocol_.ResetUnacknowledgedChunks();
            const bool started = protocol_.WriteBlock(0, kParameterAreaRange.size, state_.data_buf);
            if (started) {
                WriteFireAreaAndMacros();
            }
            CloseTransaction();
            // A write the mouse did not take must not pass for a finished Apply.
            if (!started || protocol_.UnacknowledgedChunks() > 0) {
                ShowMessage(kBurnFailed);
            }
        } else {
            CloseTransaction();
        }
    }
    FrameEnd();
}

void EepromFlows::BtnApplyClick() {
    ButtonPause();
    if (!link_.HasDevice()) {
        ShowMessage(kNoDevice);
        return;
    }
    DownloadParameter();
}

void EepromFlows::BtnConfirmClick() {
    ButtonPause();
    if (!link_.HasDevice()) {
        ShowMessage(kNoDevice);
        return;
    }
    DownloadParameter();
    ButtonPause();
    host_.CloseMainWindow();
}

void EepromFlows::BtnResetClick(int image) {
    ButtonPause();
    if (!link_.HasDevice()) {
        ShowMessage(kNoDevice);
        return;
    }
    TLDefaultParameter(image);
}

void EepromFlows::BtnDefaultClick() {
    BtnLoadDefaultClick(0);
}

void EepromFlows::BtnLoadDefaultClick(int image) {
    host_.ShowResultPicture(false);
    ButtonPause();
    if (!link_.HasDevice()) {
        return;  // silently, the result picture stays hidden
    }
    TLDefaultParameter(image);
    host_.ShowResultPicture(true);
}

void EepromFlows::TLDefaultParameter(int image) {
    host_.HideAllMenus();
    FrameBegin();
    const int n = image >= 0 && image < kEepromDefaultImages ? image : 0;
    state_.data_buf = state_.defaults.eeprom[static_cast<size_t>(n)];
    for (auto* texts : {&state_.keys.Profile1Keys, &state_.keys.Profile2Keys}) {
        texts->fill({});
    }
    state_.device_slot_names.fill({});
    state_.macro_list.clear();
    MemoToDataBufOnClick();
    FrameEnd();
    state_.fire_area_read = true;
}

void EepromFlows::MemoToDataBufOnClick() {
    FillFromDataBuf();
    TakeMacrosAndFireArea(state_);
    FrameBegin();
    StatusAnswer status;
    if (OpenTransaction(status)) {
        if (status.write_enabled && status.chip_number != 0) {
            const VerifiedWriteResult result = WriteImageVerified(protocol_, state_.data_buf);
            if (result.BurnFailed()) {
                ShowMessage(kBurnFailed);
            }
        }
        CloseTransaction();
    }
    ShowOnPages();
    FrameEnd();
}

bool EepromFlows::ReadFireArea() {
    FrameBegin();
    bool read = false;
    StatusAnswer status;
    if (OpenTransaction(status)) {
        if (status.write_enabled && status.chip_number != 0) {
            uint8_t codes[2] = {0xFF, 0xFF};
            (void)protocol_.ReadBlock(kDeviceCodesRange.address, kDeviceCodesRange.size, codes,
                                      LoadingWindow::Hidden);
            const DeviceCodes found{codes[0], codes[1]};
            if (found == expected_[0] || found == expected_[1]) {
                read = protocol_.ReadBlock(kFireAreaRange.address, kFireAreaRange.size,
                                           state_.fire_area, LoadingWindow::Shown);
                CloseTransaction();
            } else {
                CloseTransaction();
                ShowMessage(kWrongDevice, UserMessage::Box::SystemBox);
                host_.SetDevTimerEnabled(true);
            }
        } else {
            CloseTransaction();
            link_.DropDevice();
            ShowMessage(kNoDevice, UserMessage::Box::SystemBox);
            host_.SetDevTimerEnabled(true);
        }
    }
    FrameEnd();
    return read;
}

void EepromFlows::BtnSaveClick() {
    host_.HideAllMenus();
    if (!link_.HasDevice()) {
        ShowMessage(kNoDevice);
        return;
    }
    std::filesystem::path chosen;
    if (!host_.ChooseSaveFile(chosen)) {
        return;
    }
    if (cycle_ != nullptr) {
        cycle_->ReadDevInfo(true);  // the whole memory into the image
    }
    const ProfileFileResult saved = SaveProfileFile(chosen, ProfileMode::Eeprom, state_.data_buf);
    if (!saved) {
        ShowMessage(nullptr, UserMessage::Box::MessageWindow, saved.error);
    }
}

void EepromFlows::BtnLoadClick() {
    host_.HideAllMenus();
    if (!link_.HasDevice()) {
        ShowMessage(kNoDevice);
        return;
    }
    std::filesystem::path file;
    if (!host_.ChooseLoadFile(file)) {
        return;
    }
    const ProfileFileResult loaded = LoadEepromProfile(file, state_.data_buf);
    if (!loaded) {
        // A file of the wrong size never reaches the mouse: half of it would mix with what
        // the image held.
        ShowMessage(loaded.caption_key.c_str(), UserMessage::Box::MessageWindow, loaded.error);
        return;
    }
    state_.fire_area_read = true;
    state_.device_slot_names.fill({});
    state_.macro_list.clear();
    MemoToDataBufOnClick();
}

}  // namespace velq
